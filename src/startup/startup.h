#pragma once

#include <QSqlDatabase>
#include <QString>
#include <functional>
#include <optional>

#include "platform/programerror.h"
#include "platform/textarray.h"

struct Program;
class Prompts;

// Opens a connection by the program's connection string ("dsn=" + name) under a connection name;
// raises ProgramError when it cannot be opened. The real one is platform::openConnection.
using ConnectionOpener =
    std::function<QSqlDatabase(const QString& connectionString, const QString& connectionName)>;

// Shows the main menu modally until it is unloaded; raises the error that ended it, if any.
using MenuShower = std::function<void()>;

// True when one of the data source list's entries ("name<TAB>description") names the data source.
bool DSNExists(const QString& name, const TextArray& entries);

// The data source of the shop database.
inline QString shopDataSource() {
    return QStringLiteral("MYOBRM");
}

// What the user is told while the shop database is not registered.
inline QString notConfiguredMessage() {
    return QStringLiteral("You have not configured RM Stockhand correctly yet, please Exit and try again");
}

// True when the data source list names the data source.
bool dataSourceRegistered(Program& program, const QString& name);

// Prepares the shop data object: gives it the program's folder and connects it when it is not.
void prepareShopData(Program& program);

// Registers a user data source for a database file; a refusal passes silently.
void AddDSN(const QString& name, const QString& databasePath);

// The program's start-up: registers the data sources (asking for the shop database on the first
// run), opens the connection, prepares the shop data object and shows the menu. Raises
// ProgramError when one of its own steps fails.
void Main(Program& program, const ConnectionOpener& openConnection, const MenuShower& showMenu);

// Runs Main; an error that stops it is shown with its number and description. Returns the exit code.
int runMain(Program& program, const ConnectionOpener& openConnection, const MenuShower& showMenu);

// A failure to open or prepare the shop database, told in a shop's words with what to do; any other
// error as it is.
ProgramError shopConnectionError(const ProgramError& error);

// The message of an error that nothing trapped and that ends the program.
QString runTimeErrorText(const ProgramError& error);

// The program's folder (platform::programFolder); when it cannot be made, the error is shown as one
// that ends the program, and nothing is returned.
std::optional<QString> openProgramFolder(Prompts& prompts);
