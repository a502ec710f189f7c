// The rows of a SQLite query as a recordset for the database imports.
//
// Forward navigation over a prepared statement: MoveFirst runs the query again from the start,
// MoveNext steps to the next row. An empty result is BOF and EOF at once; MoveFirst on it does
// nothing. Fields are found by column name, the exact name first and then ignoring case.
// Values: INTEGER as Long (as its decimal text when it does not fit 32 bits), REAL as Double,
// TEXT as String, NULL as Null; a blob is refused with Error 13.
#pragma once

#include "platform/ColumnNames.h"
#include "platform/RecordsetObject.h"

#include <memory>
#include <vector>

struct sqlite3_stmt;

namespace plotara {

class SqliteDatabase;

class SqliteRecordset final : public RecordsetObject {
public:
    ~SqliteRecordset() override;
    SqliteRecordset(const SqliteRecordset&) = delete;
    SqliteRecordset& operator=(const SqliteRecordset&) = delete;

    // Raises the database error when the query fails on the way (a lock, an I/O error); the
    // recordset is then at EOF.
    void MoveFirst() override;
    // Error 3021 at EOF; the database error as for MoveFirst.
    void MoveNext() override;
    bool eof() const override { return state_ != State::OnRow && state_ != State::BeforeFirst; }
    bool bof() const override { return state_ == State::Empty || state_ == State::BeforeFirst; }
    // Error 3021 without a current row, Error 3265 for an unknown column, Error 13 for a blob.
    Variant field(const String& name) override;
    // The column's position in the result, or -1. Cannot fail.
    int columnIndex(const String& name) const override { return names_.indexOf(name); }
    // The text of the value field would give, converted straight from the statement. Errors as
    // field().
    void fieldText(const String& name, int column, String& out) override;

    // Column names in result order.
    const std::vector<String>& columnNames() const noexcept { return names_.all(); }
    // The statement, for code that needs the C API directly. Never null.
    sqlite3_stmt* statement() const noexcept { return statement_; }

private:
    friend class SqliteDatabase;
    SqliteRecordset(std::shared_ptr<SqliteDatabase> database, sqlite3_stmt* statement, String sql);

    enum class State { BeforeFirst, OnRow, AfterLast, Empty };
    // Steps once; firstStep tells an empty result from the end of a non-empty one.
    void step(bool firstStep);
    // The position of the column to read on the current row: column when it is one, otherwise
    // the named one. Error 3265 for an unknown column, Error 3021 without a current row.
    int readableColumn(const String& name, int column) const;

    std::shared_ptr<SqliteDatabase> database_; // keeps the connection open while rows are read
    sqlite3_stmt* statement_;
    String sql_;
    ColumnNames names_;
    State state_ = State::BeforeFirst;
};

} // namespace plotara
