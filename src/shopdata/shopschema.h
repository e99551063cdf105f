#pragma once

#include <QStringList>

class ShopBackend;

// The tables of the shop database, described once and rendered as SQL for each engine. The demo
// shop maker creates them; the shop data object reads and writes rows, and adds the record of the
// program's imports to a shop that lacks it.

// Every CREATE TABLE and CREATE INDEX statement of the shop database, in the engine's own SQL.
QStringList shopSchemaStatements(const ShopBackend& backend);

// The statements that give a shop database made before the program kept a record of its imports
// that record's tables and columns.
QStringList runRecordStatements(const ShopBackend& backend);

// The shop's own tables, which the shop's software makes: a database without one of them is not a
// shop database.
QStringList shopTableNames();

// The statements that remove the shop database's tables (and their rows) where they exist.
QStringList dropShopSchemaStatements();
