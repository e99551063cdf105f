#include "startup/startup.h"

#include "platform/connection.h"
#include "platform/odbcregistry.h"
#include "platform/programerror.h"
#include "platform/programfolder.h"
#include "platform/prompts.h"
#include "startup/blanks.h"
#include "startup/connectionfailure.h"
#include "startup/program.h"

namespace {

const QString kRmDataSource = QStringLiteral("RM");
const QString kRmDatabase = QStringLiteral("C:\\winapps\\RM.mdb");
// The connection slot that holds the program's connection for the run.
const QString kConnectionName = QStringLiteral("cnDatabase");
const QString kCancelledChoice = QStringLiteral("recent.mdb");

QString versionText() {
    return QStringLiteral("v" RMSTOCKHAND_VERSION);
}

// The name part of a data source list entry: the text before the first tab, without blanks
// around it. An entry without a tab is all name (an empty list splits into one empty entry).
QString entryName(const QString& entry) {
    const qsizetype tab = entry.indexOf(QLatin1Char('\t'));
    return trimBlanks(tab < 0 ? entry : entry.left(tab));
}

// First run: the user picks the shop database; true when one was chosen and registered.
bool chooseShopDatabase(Program& program) {
    program.prompts.notice(
        QStringLiteral("This is the first time you have tried to use RM Stockhand, therefore you must select "
                       "your RetailManager "
                       "database. Please select your MYOB RetailManager recent.mdb"));
    const QString chosen = program.prompts.openFileName(kCancelledChoice, QStringLiteral("*.mdb"),
                                                        QStringLiteral("Open recent.mdb from..."));
    if (chosen == kCancelledChoice) {
        return false;
    }
    AddDSN(shopDataSource(), chosen);
    return true;
}

// The program's connection slot: each open replaces (and so closes) the connection it held; the
// last one stays open until start-up ends, and with it the program.
class ConnectionSlot {
public:
    ~ConnectionSlot() { release(); }

    void open(const ConnectionOpener& openConnection, const QString& dataSource) {
        release();
        connection_ = openConnection(QStringLiteral("dsn=") + dataSource, kConnectionName);
    }

private:
    void release() {
        connection_ = QSqlDatabase();
        platform::closeConnection(kConnectionName);
    }

    QSqlDatabase connection_;
};

}  // namespace

bool dataSourceRegistered(Program& program, const QString& name) {
    return DSNExists(name, program.tools.Split(program.tools.ListDataSources(), QLatin1Char('|')));
}

bool DSNExists(const QString& name, const TextArray& entries) {
    for (int i = 1; i <= entries.upperBound(); ++i) {
        if (entryName(entries.at(i)) == name) {
            return true;
        }
    }
    return false;
}

// A refused registration passes silently: the menu finds the data source missing, and start-up
// stops when it cannot open the shop database. The shop's database is never made where it is
// missing; "RM", the program's own, is made empty, so that start-up can open it.
void AddDSN(const QString& name, const QString& databasePath) {
    platform::registerDataSource(name, platform::fileDataSource(databasePath, name == kRmDataSource));
}

void prepareShopData(Program& program) {
    program.shop.SetAppPath(program.appPath);
    if (!program.shop.IsConnected()) {
        program.shop.Connect();
    }
}

void Main(Program& program, const ConnectionOpener& openConnection, const MenuShower& showMenu) {
    program.modMain.sVersion = versionText();
    program.progress->restoreIdleColour();

    const bool shopReady = dataSourceRegistered(program, shopDataSource()) || chooseShopDatabase(program);
    ConnectionSlot cnDatabase;
    if (shopReady) {
        try {
            cnDatabase.open(openConnection, shopDataSource());
        } catch (const ProgramError& error) {
            throw shopConnectionError(error);
        }
    }
    if (!dataSourceRegistered(program, kRmDataSource)) {
        AddDSN(kRmDataSource, platform::localDatabasePath(kRmDatabase, program.appPath));
    }
    cnDatabase.open(openConnection, kRmDataSource);
    program.tools.Checkpoint(1, QString());
    if (shopReady) {
        try {
            prepareShopData(program);
        } catch (const ProgramError& error) {
            throw shopConnectionError(error);
        }
    }
    program.tools.Checkpoint(2, QString());
    showMenu();
}

int runMain(Program& program, const ConnectionOpener& openConnection, const MenuShower& showMenu) {
    try {
        Main(program, openConnection, showMenu);
    } catch (const ProgramError& error) {
        program.prompts.criticalNotice(runTimeErrorText(error));
        return 1;
    }
    return 0;
}

ProgramError shopConnectionError(const ProgramError& error) {
    if (error.number() != errnum::DatabaseError) {
        return error;
    }
    return ProgramError(
        error.number(),
        connectionFailureText(QStringLiteral("the shop database \"%1\"").arg(shopDataSource()),
                              error.description()),
        error.lasting());
}

QString runTimeErrorText(const ProgramError& error) {
    return QStringLiteral("Run-time error '%1':\n\n%2")
        .arg(QString::number(error.number()), error.description());
}

std::optional<QString> openProgramFolder(Prompts& prompts) {
    try {
        return platform::programFolder();
    } catch (const ProgramError& error) {
        prompts.criticalNotice(runTimeErrorText(error));
        return std::nullopt;
    }
}
