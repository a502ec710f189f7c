// A connection through unixODBC, so that any database with an ODBC driver (PostgreSQL, MySQL,
// SQL Server, SQLite, ...) can feed the database imports.
#pragma once

#include "core/String.h"
#include "core/Variant.h"

#include <memory>
#include <vector>

namespace plotara {

class OdbcRecordset;

class OdbcConnection : public std::enable_shared_from_this<OdbcConnection> {
public:
    enum class Access {
        ReadWrite, // statements of any kind (the default)
        ReadOnly,  // the driver is asked for a read-only connection, and query and execute run
                   // only statements that read (isReadingStatement); a driver that ignores the
                   // access mode still cannot be sent a writing statement, but functions with
                   // side effects need a read-only database account
    };

    // Connects with a connection string: "DSN=name;UID=..;PWD=.." or DSN-less
    // "Driver=<name or path of the driver library>;Database=...". Never prompts. Raises the
    // database error (source "ODBC", the driver manager's and driver's messages) when the
    // connection fails, or when the driver refuses the read-only access mode.
    static std::shared_ptr<OdbcConnection> open(const String& connectionString,
                                                Access access = Access::ReadWrite);
    ~OdbcConnection();
    OdbcConnection(const OdbcConnection&) = delete;
    OdbcConnection& operator=(const OdbcConnection&) = delete;

    // Runs one statement that returns no rows. Raises the database error when it fails, and on
    // a ReadOnly connection for any statement that does not only read.
    void execute(const String& sql);

    // Runs a query whose "?" placeholders take params in order and returns its rows, positioned
    // on the first one. Raises the database error for a syntax error or a missing table, Error 5
    // when the number of values does not match the placeholders, Error 13 for a value that
    // cannot be bound (object, array), and on a ReadOnly connection the database error for a
    // statement that does not only read. Booleans bind as 1 and 0, Empty and Null as SQL NULL.
    std::shared_ptr<OdbcRecordset> query(const String& sql,
                                         const std::vector<Variant>& params = {});

    // The connection handle (SQLHDBC) and environment handle (SQLHENV). Never null.
    void* handle() const noexcept { return dbc_; }
    void* environment() const noexcept { return env_; }

private:
    OdbcConnection() = default;
    void* env_ = nullptr;
    void* dbc_ = nullptr;
    bool readOnly_ = false;

    void requireReading(const String& sql) const;
};

} // namespace plotara
