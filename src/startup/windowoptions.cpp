#include "startup/windowoptions.h"

std::optional<WindowOptions> parseWindowOptions(const QStringList& arguments) {
    WindowOptions options;
    if (arguments == QStringList{QStringLiteral("--help")}) {
        options.request = WindowOptions::Request::Help;
    } else if (arguments == QStringList{QStringLiteral("--version")}) {
        options.request = WindowOptions::Request::Version;
    } else if (arguments == QStringList{QStringLiteral("--in-program-folder")}) {
        options.inProgramFolder = true;
    } else if (!arguments.isEmpty()) {
        return std::nullopt;
    }
    return options;
}

QString windowUsage() {
    return QStringLiteral(
        "usage: rmstockhand [--in-program-folder]\n"
        "       rmstockhand --help | --version\n"
        "Opens RM Stockhand's main menu. The settings file rmstockhand.config.ini is read and written\n"
        "in the current folder; --in-program-folder starts in the program's folder (the user's data\n"
        "folder ~/.local/share/rmstockhand when installed), so that it is found there.\n"
        "The window takes the toolkit's own options too, such as -platform NAME.\n"
        "When it says \"You have not configured RM Stockhand correctly yet\", the shop database is not\n"
        "registered: quit, then register it with  rmstockhand-batch register-shop-db PATH  (a database\n"
        "file), or  rmstockhand-batch register-shop-db --server HOST --database NAME --user USER,\n"
        "or make a demo shop first with  rmstockhand-demo-db PATH; then start rmstockhand again.\n");
}

QString windowVersion() {
    return QStringLiteral("rmstockhand " RMSTOCKHAND_VERSION);
}

QString noScreenMessage() {
    return QStringLiteral(
        "rmstockhand: there is no screen to show the window on (neither DISPLAY nor WAYLAND_DISPLAY is "
        "set); start it in a desktop session, or as: xvfb-run -a rmstockhand");
}
