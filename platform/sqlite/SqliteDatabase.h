// A SQLite 3 database file as a source of recordsets for the database imports.
#pragma once

#include "core/String.h"
#include "core/Variant.h"

#include <filesystem>
#include <memory>
#include <vector>

struct sqlite3;

namespace plotara {

class SqliteRecordset;

class SqliteDatabase : public std::enable_shared_from_this<SqliteDatabase> {
public:
    enum class Mode {
        ReadOnly,  // the file must exist; nothing can be written anywhere (the default; see
                   // restrictToReading)
        ReadWrite, // the file must exist
        Create,    // read and write, creating the file when it is missing
    };

    // Opens the file. Raises the database error (source "SQLite", the database's own message)
    // when it cannot be opened, for example a missing file in ReadOnly or ReadWrite mode.
    static std::shared_ptr<SqliteDatabase> open(const std::filesystem::path& path,
                                                Mode mode = Mode::ReadOnly);
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    // Runs statements that return no rows (schema, inserts), several separated by ";". Raises
    // the database error of the first statement that fails; the ones before it took effect. On a
    // reading connection (restrictToReading) it raises the database error and runs nothing.
    void execute(const String& sql);

    // Runs a query whose "?" placeholders take params in order and returns its rows, positioned
    // on the first one. Raises the database error for a syntax error, a missing table or a
    // locked file, Error 5 when the number of values does not match the placeholders, and
    // Error 13 for a value that cannot be bound (object, array). Booleans bind as 1 and 0, Empty
    // and Null as SQL NULL.
    std::shared_ptr<SqliteRecordset> query(const String& sql,
                                           const std::vector<Variant>& params = {});

    // From now on the connection only reads: query refuses any statement that is not read-only
    // and execute refuses all (INSERT, CREATE, DROP, VACUUM INTO, PRAGMA with a value, ...), ATTACH
    // is refused (it would create a file), and an authorizer denies every writing action that slips
    // through. ReadOnly connections start this way. Cannot fail.
    void restrictToReading();

    // How long a statement waits for a lock another connection holds before it fails with
    // "database is locked"; 0, the default, fails at once (the imports run on the UI thread).
    // Cannot fail.
    void setBusyTimeout(int milliseconds);

    // The connection, for code that needs the C API directly. Never null.
    sqlite3* handle() const noexcept { return db_; }

private:
    explicit SqliteDatabase(sqlite3* db) : db_(db) {}
    sqlite3* db_;
    bool readOnly_ = false;
    bool denied_ = false; // the authorizer refused an action of the statement being prepared
};

} // namespace plotara
