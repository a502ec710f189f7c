#include "platform/sqlite/SqliteDatabase.h"

#include "core/FilePath.h"
#include "core/SafeArray.h"
#include "platform/detail/RecordsetErrors.h"
#include "platform/sqlite/SqliteRecordset.h"

#include <sqlite3.h>

namespace plotara {
namespace {

Error sqliteError(sqlite3* db, const String& sql = L"") {
    return recordset_errors::database(L"SQLite", fromUtf8(sqlite3_errmsg(db)), sql);
}

void bind(sqlite3* db, sqlite3_stmt* statement, int position, const Variant& value) {
    int rc = SQLITE_OK;
    switch (value.type()) {
    case Variant::Type::Empty:
    case Variant::Type::Null:
    case Variant::Type::Missing:
        rc = sqlite3_bind_null(statement, position);
        break;
    case Variant::Type::Boolean:
        rc = sqlite3_bind_int(statement, position, value.asBool() ? 1 : 0);
        break;
    case Variant::Type::Integer:
    case Variant::Type::Long:
        rc = sqlite3_bind_int64(statement, position, value.asLong());
        break;
    case Variant::Type::Single:
    case Variant::Type::Double:
        rc = sqlite3_bind_double(statement, position, value.asDouble());
        break;
    case Variant::Type::String: {
        const std::string text = toUtf8(value.asString());
        rc = sqlite3_bind_text64(statement, position, text.data(), text.size(), SQLITE_TRANSIENT,
                                 SQLITE_UTF8);
        break;
    }
    case Variant::Type::Object:
    case Variant::Type::Array:
        raise(recordset_errors::unsupportedParameter(static_cast<std::size_t>(position)));
    }
    if (rc != SQLITE_OK) raise(sqliteError(db));
}

// The authorizer of a reading connection: reads, functions and recursive queries pass, a
// pragma only without a value (PRAGMA x = y and PRAGMA x(y) can change the database or the
// connection); everything else (writes, schema changes, ATTACH, transactions) is denied.
// A denial is noted in *denied, so that the failure can say why (SQLite's own result code for it
// varies).
int authorizeReading(void* denied, int action, const char*, const char* argument, const char*,
                     const char*) {
    switch (action) {
    case SQLITE_SELECT:
    case SQLITE_READ:
    case SQLITE_FUNCTION:
    case SQLITE_RECURSIVE:
        return SQLITE_OK;
    case SQLITE_PRAGMA:
        if (argument == nullptr) return SQLITE_OK;
        break;
    default:
        break;
    }
    *static_cast<bool*>(denied) = true;
    return SQLITE_DENY;
}

Error writeRefused(const String& sql) {
    return recordset_errors::database(L"SQLite",
                                      L"Only statements that read are run on this connection", sql);
}

} // namespace

std::shared_ptr<SqliteDatabase> SqliteDatabase::open(const std::filesystem::path& path, Mode mode) {
    int flags = SQLITE_OPEN_READONLY;
    if (mode == Mode::ReadWrite) flags = SQLITE_OPEN_READWRITE;
    if (mode == Mode::Create) flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        String message = db ? fromUtf8(sqlite3_errmsg(db)) : fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(db);
        raise(recordset_errors::database(L"SQLite", message + L": " + fromPath(path)));
    }
    sqlite3_extended_result_codes(db, 1);
    std::shared_ptr<SqliteDatabase> database(new SqliteDatabase(db));
    if (mode == Mode::ReadOnly) database->restrictToReading();
    return database;
}

void SqliteDatabase::restrictToReading() {
    readOnly_ = true;
    sqlite3_limit(db_, SQLITE_LIMIT_ATTACHED, 0);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_set_authorizer(db_, authorizeReading, &denied_);
}

SqliteDatabase::~SqliteDatabase() {
    sqlite3_close(db_);
}

void SqliteDatabase::execute(const String& sql) {
    if (readOnly_) raise(writeRefused(sql));
    char* message = nullptr;
    if (sqlite3_exec(db_, toUtf8(sql).c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        String text = fromUtf8(message ? message : sqlite3_errmsg(db_));
        sqlite3_free(message);
        raise(recordset_errors::database(L"SQLite", text, sql));
    }
}

std::shared_ptr<SqliteRecordset> SqliteDatabase::query(const String& sql,
                                                       const std::vector<Variant>& params) {
    const std::string utf8 = toUtf8(sql);
    sqlite3_stmt* statement = nullptr;
    denied_ = false;
    if (sqlite3_prepare_v2(db_, utf8.c_str(), static_cast<int>(utf8.size()), &statement, nullptr) !=
        SQLITE_OK) {
        // The authorizer's refusal, in words that say why.
        if (denied_) raise(writeRefused(sql));
        raise(sqliteError(db_, sql));
    }
    if (statement == nullptr) // only blanks or comments
        raise(recordset_errors::database(L"SQLite", L"The query text holds no statement", sql));
    // The recordset owns the statement from here, so every failure below finalizes it.
    std::shared_ptr<SqliteRecordset> rows(new SqliteRecordset(shared_from_this(), statement, sql));
    if (readOnly_ && sqlite3_stmt_readonly(statement) == 0) raise(writeRefused(sql));
    const int expected = sqlite3_bind_parameter_count(statement);
    if (static_cast<std::size_t>(expected) != params.size())
        raise(recordset_errors::parameterCount(expected, params.size()));
    for (std::size_t i = 0; i < params.size(); ++i)
        bind(db_, statement, static_cast<int>(i + 1), params[i]);
    rows->step(true);
    return rows;
}

void SqliteDatabase::setBusyTimeout(int milliseconds) {
    sqlite3_busy_timeout(db_, milliseconds);
}

} // namespace plotara
