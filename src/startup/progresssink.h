#pragma once

#include <QColor>
#include <QString>

// Where a command shows how it goes: the status box, the form's colour and pointer, and the event
// delivery that keeps the form repainting while it works. frmMenu is the real one; the batch
// command line counts records on a progress line.
class ProgressSink {
public:
    virtual ~ProgressSink() = default;

    virtual void setStatus(const QString& text) = 0;
    // A command's own colour while it works.
    virtual void setBackColour(const QColor& colour) = 0;
    // Back to the idle colour: the system's tooltip background.
    virtual void restoreIdleColour() = 0;
    // The form's hourglass pointer (true) or its default pointer (false).
    virtual void setBusyPointer(bool busy) = 0;
    // The screen-wide hourglass that the scanner link shows while it waits for the utility.
    virtual void setScreenBusyPointer(bool busy) = 0;
    // Lets the window system deliver pending events (keyboard, mouse, repaint).
    virtual void yield() = 0;
};
