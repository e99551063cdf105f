#pragma once

// The tables of the shop database, as SQL that creates them in an empty SQLite file. The demo
// maker is the one place that creates them; the shop data object only reads and writes rows.
namespace demoshop {

// Every CREATE TABLE and CREATE INDEX statement of the shop database, separated by ";".
extern const char* const kShopSchemaSql;

}  // namespace demoshop
