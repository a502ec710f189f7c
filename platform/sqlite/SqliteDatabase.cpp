#include "platform/sqlite/SqliteDatabase.h"

#include "core/SafeArray.h"
#include "platform/RecordsetErrors.h"
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

} // namespace

std::shared_ptr<SqliteDatabase> SqliteDatabase::open(const String& path, Mode mode) {
    int flags = SQLITE_OPEN_READONLY;
    if (mode == Mode::ReadWrite) flags = SQLITE_OPEN_READWRITE;
    if (mode == Mode::Create) flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(toUtf8(path).c_str(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        String message = db ? fromUtf8(sqlite3_errmsg(db)) : fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(db);
        raise(recordset_errors::database(L"SQLite", message + L": " + path));
    }
    sqlite3_extended_result_codes(db, 1);
    return std::shared_ptr<SqliteDatabase>(new SqliteDatabase(db));
}

SqliteDatabase::~SqliteDatabase() {
    sqlite3_close(db_);
}

void SqliteDatabase::execute(const String& sql) {
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
    if (sqlite3_prepare_v2(db_, utf8.c_str(), static_cast<int>(utf8.size()), &statement, nullptr) !=
        SQLITE_OK)
        raise(sqliteError(db_, sql));
    if (statement == nullptr) // only blanks or comments
        raise(recordset_errors::database(L"SQLite", L"The query text holds no statement", sql));
    // The recordset owns the statement from here, so every failure below finalizes it.
    std::shared_ptr<SqliteRecordset> rows(new SqliteRecordset(shared_from_this(), statement, sql));
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
