#pragma once

#include <QStringList>

#include "startup/menuview.h"

// A main menu without a screen: tests set the port, overwrite box and path, and read back every
// status text, colour and pointer change.
class FakeMenuView : public MenuView {
public:
    bool comm1Selected() const override { return comm1; }
    bool overwriteTicked() const override { return overwrite; }
    QString downloadPath() const override { return path; }
    void setDownloadPath(const QString& p) override { path = p; }
    void setStatus(const QString& text) override { statuses << text; }
    void setBackColour(const QColor& colour) override { backColour = colour; }
    void restoreIdleColour() override { backColour = idleColour(); }
    void setBusyPointer(bool busy) override { busyPointer = busy; }
    void setScreenBusyPointer(bool busy) override { screenBusyPointer = busy; }
    void yield() override { ++yields; }

    static QColor idleColour() { return QColor(255, 255, 225); }
    QString status() const { return statuses.isEmpty() ? QString() : statuses.last(); }

    bool comm1 = true;
    bool overwrite = true;
    QString path = QStringLiteral("Not Chosen");
    QStringList statuses;
    QColor backColour = idleColour();
    bool busyPointer = false;
    bool screenBusyPointer = false;
    int yields = 0;
};
