#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The window program's command line, once the toolkit has taken its own options (-platform,
// -style, ...) out of it.
struct WindowOptions {
    enum class Request {
        // Start the window.
        Run,
        // Print how to use the command line, or the version, to standard output, and end.
        Help,
        Version
    };

    Request request = Request::Run;
    // Start in the program's folder, so that the settings file is found there: the desktop's menu
    // entry starts the program so.
    bool inProgramFolder = false;
};

// The options of a command line (without the program name), or nothing when it is wrong.
std::optional<WindowOptions> parseWindowOptions(const QStringList& arguments);

// How the command line is used, for --help and for a wrong one.
QString windowUsage();

// The program's name and version, for --version.
QString windowVersion();

// What the program says, in one line, where there is no screen to draw its window on.
QString noScreenMessage();
