#include "platform/sqlite/SqliteRecordset.h"

#include "core/Number.h"
#include "core/Text.h"
#include "platform/detail/RecordsetErrors.h"
#include "platform/sqlite/SqliteDatabase.h"

#include <limits>
#include <sqlite3.h>
#include <string_view>

namespace plotara {

SqliteRecordset::SqliteRecordset(std::shared_ptr<SqliteDatabase> database, sqlite3_stmt* statement,
                                 String sql)
    : database_(std::move(database)), statement_(statement), sql_(std::move(sql)) {
    const int count = sqlite3_column_count(statement_);
    for (int i = 0; i < count; ++i) {
        const char* name = sqlite3_column_name(statement_, i);
        names_.add(fromUtf8(name ? name : ""));
    }
}

SqliteRecordset::~SqliteRecordset() {
    sqlite3_finalize(statement_);
}

void SqliteRecordset::step(bool firstStep) {
    const int rc = sqlite3_step(statement_);
    if (rc == SQLITE_ROW) {
        state_ = State::OnRow;
    } else if (rc == SQLITE_DONE) {
        state_ = firstStep ? State::Empty : State::AfterLast;
    } else {
        state_ = State::AfterLast;
        const String message = fromUtf8(sqlite3_errmsg(database_->handle()));
        sqlite3_reset(statement_);
        raise(recordset_errors::database(L"SQLite", message, sql_));
    }
}

void SqliteRecordset::MoveFirst() {
    if (state_ == State::Empty) return;
    sqlite3_reset(statement_);
    step(true);
}

void SqliteRecordset::MoveNext() {
    if (state_ != State::OnRow) raise(recordset_errors::noCurrentRow());
    step(false);
}

int SqliteRecordset::readableColumn(const String& name, int column) const {
    const int i = column >= 0 && static_cast<std::size_t>(column) < names_.size()
                      ? column
                      : names_.indexOf(name);
    if (i < 0) raise(recordset_errors::noSuchColumn(name));
    if (state_ != State::OnRow) raise(recordset_errors::noCurrentRow());
    return i;
}

Variant SqliteRecordset::field(const String& name) {
    const int i = readableColumn(name, -1);
    switch (sqlite3_column_type(statement_, i)) {
    case SQLITE_INTEGER: {
        const sqlite3_int64 value = sqlite3_column_int64(statement_, i);
        if (value >= std::numeric_limits<Long>::min() && value <= std::numeric_limits<Long>::max())
            return Variant(static_cast<Long>(value));
        return Variant(std::to_wstring(value)); // keeps every digit of a 64-bit value
    }
    case SQLITE_FLOAT:
        return Variant(sqlite3_column_double(statement_, i));
    case SQLITE_TEXT: {
        const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(statement_, i));
        const int size = sqlite3_column_bytes(statement_, i);
        return Variant(fromUtf8(std::string_view(bytes ? bytes : "", size)));
    }
    case SQLITE_NULL:
        return Variant::null();
    default:
        raise(recordset_errors::unsupportedValue(names_[i], L"binary data (a blob)"));
    }
}

// The same conversions as toText(field(name)), without the Variant: a 64-bit integer gives the
// same decimal text whether field() hands it as a Long or as text.
void SqliteRecordset::fieldText(const String& name, int column, String& out) {
    const int i = readableColumn(name, column);
    switch (sqlite3_column_type(statement_, i)) {
    case SQLITE_INTEGER:
        out.clear();
        text::appendDecimal(out, sqlite3_column_int64(statement_, i));
        return;
    case SQLITE_FLOAT:
        out.clear();
        number::appendDouble(out, sqlite3_column_double(statement_, i));
        return;
    case SQLITE_TEXT: {
        const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(statement_, i));
        const int size = sqlite3_column_bytes(statement_, i);
        out.clear();
        appendFromUtf8(out, std::string_view(bytes ? bytes : "", size));
        return;
    }
    case SQLITE_NULL:
        out.clear();
        return;
    default:
        raise(recordset_errors::unsupportedValue(names_[i], L"binary data (a blob)"));
    }
}

} // namespace plotara
