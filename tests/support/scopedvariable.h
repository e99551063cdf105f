#pragma once

#include <QByteArray>
#include <QtGlobal>

// An environment variable set (or unset) for the life of one test, and given back its old value, or
// its absence, afterwards.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const QByteArray& value) : name_(name), old_(qgetenv(name)) {
        set(value);
    }
    // Unsets the variable.
    explicit ScopedVariable(const char* name) : ScopedVariable(name, QByteArray()) {}
    ~ScopedVariable() {
        if (wasSet_) {
            qputenv(name_, old_);
        } else {
            qunsetenv(name_);
        }
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

    // Sets it to `value`; a null value unsets it.
    void set(const QByteArray& value) { value.isNull() ? qunsetenv(name_) : qputenv(name_, value); }

private:
    const char* name_;
    QByteArray old_;
    bool wasSet_ = qEnvironmentVariableIsSet(name_);
};
