#include "platform/odbc/OdbcConnection.h"

#include "core/Text.h"

#include "platform/detail/ReadingStatement.h"
#include "platform/detail/RecordsetErrors.h"
#include "platform/odbc/OdbcRecordset.h"
#include "platform/odbc/OdbcText.h"

namespace plotara {

namespace {

// A read-only connection string: file-database drivers that create a missing database file
// (the SQLite driver) are told not to; drivers ignore keywords they do not know.
String readOnlyConnectionString(const String& connectionString) {
    if (text::instr(text::toLower(connectionString), L"nocreat=") > 0) return connectionString;
    String result = connectionString;
    if (!result.empty() && result.back() != L';') result += L';';
    return result + L"NoCreat=1";
}

} // namespace

std::shared_ptr<OdbcConnection> OdbcConnection::open(const String& connectionString,
                                                     Access access) {
    std::shared_ptr<OdbcConnection> connection(new OdbcConnection());
    SQLHENV env = SQL_NULL_HENV;
    if (!odbc::succeeded(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env)))
        odbc::fail(SQL_HANDLE_ENV, SQL_NULL_HANDLE);
    connection->env_ = env;
    if (!odbc::succeeded(SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION,
                                       reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0)))
        odbc::fail(SQL_HANDLE_ENV, env);
    SQLHDBC dbc = SQL_NULL_HDBC;
    if (!odbc::succeeded(SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc)))
        odbc::fail(SQL_HANDLE_ENV, env);
    connection->dbc_ = dbc;
    if (access == Access::ReadOnly) {
        connection->readOnly_ = true;
        // Set before connecting so that a driver can open its database read-only (and, for file
        // databases, not create a missing one).
        if (!odbc::succeeded(SQLSetConnectAttrW(
                dbc, SQL_ATTR_ACCESS_MODE, reinterpret_cast<SQLPOINTER>(SQL_MODE_READ_ONLY), 0)))
            odbc::fail(SQL_HANDLE_DBC, dbc);
    }
    std::vector<SQLWCHAR> text = odbc::toWide(
        access == Access::ReadOnly ? readOnlyConnectionString(connectionString) : connectionString);
    SQLWCHAR completed[1024];
    SQLSMALLINT completedLength = 0;
    if (!odbc::succeeded(SQLDriverConnectW(dbc, nullptr, text.data(), SQL_NTS, completed, 1024,
                                           &completedLength, SQL_DRIVER_NOPROMPT))) {
        const String message = odbc::diagnostics(SQL_HANDLE_DBC, dbc);
        SQLFreeHandle(SQL_HANDLE_DBC, dbc);
        connection->dbc_ = nullptr;
        raise(recordset_errors::database(L"ODBC", message));
    }
    return connection;
}

OdbcConnection::~OdbcConnection() {
    if (dbc_ != nullptr) {
        SQLDisconnect(dbc_);
        SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
    }
    if (env_ != nullptr) SQLFreeHandle(SQL_HANDLE_ENV, env_);
}

void OdbcConnection::requireReading(const String& sql) const {
    if (readOnly_ && !isReadingStatement(sql))
        raise(recordset_errors::database(
            L"ODBC", L"Only statements that read (SELECT, WITH, VALUES) are run on this connection",
            sql));
}

void OdbcConnection::execute(const String& sql) {
    requireReading(sql);
    SQLHSTMT statement = SQL_NULL_HSTMT;
    if (!odbc::succeeded(SQLAllocHandle(SQL_HANDLE_STMT, dbc_, &statement)))
        odbc::fail(SQL_HANDLE_DBC, dbc_, sql);
    std::vector<SQLWCHAR> text = odbc::toWide(sql);
    const SQLRETURN rc = SQLExecDirectW(statement, text.data(), SQL_NTS);
    if (!odbc::succeeded(rc) && rc != SQL_NO_DATA) {
        const String message = odbc::diagnostics(SQL_HANDLE_STMT, statement);
        SQLFreeHandle(SQL_HANDLE_STMT, statement);
        raise(recordset_errors::database(L"ODBC", message, sql));
    }
    SQLFreeHandle(SQL_HANDLE_STMT, statement);
}

std::shared_ptr<OdbcRecordset> OdbcConnection::query(const String& sql,
                                                     const std::vector<Variant>& params) {
    requireReading(sql);
    SQLHSTMT statement = SQL_NULL_HSTMT;
    if (!odbc::succeeded(SQLAllocHandle(SQL_HANDLE_STMT, dbc_, &statement)))
        odbc::fail(SQL_HANDLE_DBC, dbc_, sql);
    // The recordset owns the statement from here, so every failure below frees it.
    std::shared_ptr<OdbcRecordset> rows(new OdbcRecordset(shared_from_this(), statement, sql));
    std::vector<SQLWCHAR> text = odbc::toWide(sql);
    if (!odbc::succeeded(SQLPrepareW(statement, text.data(), SQL_NTS))) rows->fail();
    rows->bindParameters(params);
    rows->executeAndFetch();
    return rows;
}

} // namespace plotara
