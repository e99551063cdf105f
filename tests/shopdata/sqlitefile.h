#pragma once

#include <sqlite3.h>

#include <string>

// A shop database file opened with SQLite itself, to see what was written without the code
// under test, or to hold it locked the way another program would.
class SqliteFile {
public:
    explicit SqliteFile(const std::string& path) { sqlite3_open(path.c_str(), &db_); }
    ~SqliteFile() { sqlite3_close(db_); }
    SqliteFile(const SqliteFile&) = delete;
    SqliteFile& operator=(const SqliteFile&) = delete;

    // Runs statements that return nothing; false (and the reason in error()) when SQLite refused.
    bool exec(const std::string& sql) {
        return sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) == 0;
    }
    std::string error() const { return sqlite3_errmsg(db_); }

    // The first column of each row, as text, joined by "|"; empty when there are no rows.
    std::string rows(const std::string& sql) {
        std::string result;
        sqlite3_exec(db_, sql.c_str(), &append, &result, nullptr);
        return result;
    }

private:
    static int append(void* result, int, char** values, char**) {
        std::string& text = *static_cast<std::string*>(result);
        text += (text.empty() ? "" : "|") + std::string(values[0] ? values[0] : "NULL");
        return 0;
    }

    sqlite3* db_ = nullptr;
};
