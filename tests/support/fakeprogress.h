#pragma once

#include <QStringList>

#include "startup/progresssink.h"

// A main menu's progress without a screen: tests read back every status text, colour and pointer
// change.
class FakeProgress : public ProgressSink {
public:
    void setStatus(const QString& text) override { statuses << text; }
    void setBackColour(const QColor& colour) override { backColour = colour; }
    void restoreIdleColour() override { backColour = idleColour(); }
    void setBusyPointer(bool) override {}
    void setScreenBusyPointer(bool busy) override { screenBusyPointer = busy; }
    void yield() override { ++yields; }

    static QColor idleColour() { return QColor(255, 255, 225); }
    QString status() const { return statuses.isEmpty() ? QString() : statuses.last(); }

    QStringList statuses;
    QColor backColour = idleColour();
    bool screenBusyPointer = false;
    int yields = 0;
};
