#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// True when the window has somewhere to be drawn: a display server named by DISPLAY (X) or
// WAYLAND_DISPLAY, or a platform chosen by QT_QPA_PLATFORM (offscreen, say), which then knows
// where it draws. Without any of them the toolkit could only abort.
bool hasScreen(const QString& qpaPlatform, const QString& display, const QString& waylandDisplay);

// The same for this run: the platform that the command line's -platform option or QT_QPA_PLATFORM
// chooses, and the environment's displays.
bool hasScreen(const QStringList& arguments);

}  // namespace platform
