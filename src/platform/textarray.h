#pragma once

#include <QStringList>

#include "platform/programerror.h"

// An array of texts numbered from 1 to upperBound(), as Split hands back the pieces of a line.
// Reading an element past the upper bound raises "Subscript out of range".
class TextArray {
public:
    TextArray() = default;
    explicit TextArray(QStringList pieces) : pieces_(std::move(pieces)) {}

    int upperBound() const { return static_cast<int>(pieces_.size()); }

    const QString& at(int index) const {
        check(index);
        return pieces_[index - 1];
    }
    QString& at(int index) {
        check(index);
        return pieces_[index - 1];
    }

private:
    void check(int index) const {
        if (index < 1 || index > upperBound()) {
            throw ProgramError(errnum::SubscriptOutOfRange, QStringLiteral("Subscript out of range"));
        }
    }

    QStringList pieces_;
};
