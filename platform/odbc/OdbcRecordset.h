// The rows of an ODBC query as a recordset for the database imports.
//
// Forward navigation over a prepared statement: MoveFirst executes the statement again,
// MoveNext fetches the next row. Each fetched row is read whole, so fields can be read in any
// order and more than once. An empty result is BOF and EOF at once; MoveFirst on it does nothing.
// Fields are found by column name, the exact name first and then ignoring case. Values: integer
// columns as Long (as decimal text beyond 32 bits), floating and decimal columns as Double, NULL
// as Null, everything else (text, dates) as String; binary columns are refused with Error 13.
#pragma once

#include "platform/ColumnNames.h"
#include "platform/RecordsetObject.h"

#include <memory>
#include <optional>
#include <vector>

namespace plotara {

class OdbcConnection;

class OdbcRecordset final : public RecordsetObject {
public:
    ~OdbcRecordset() override;
    OdbcRecordset(const OdbcRecordset&) = delete;
    OdbcRecordset& operator=(const OdbcRecordset&) = delete;

    // Raises the database error when executing or fetching fails; the recordset is then at EOF.
    void MoveFirst() override;
    // Error 3021 at EOF; the database error as for MoveFirst.
    void MoveNext() override;
    bool eof() const override { return state_ != State::OnRow; }
    bool bof() const override { return state_ == State::Empty; }
    // Error 3021 without a current row, Error 3265 for an unknown column, Error 13 for a
    // binary column.
    Variant field(const String& name) override;
    // The column's position in the result, or -1. Cannot fail.
    int columnIndex(const String& name) const override { return names_.indexOf(name); }
    // The text of the value field would give, found by position when column is one. Errors as
    // field().
    void fieldText(const String& name, int column, String& out) override;

    // Column names in result order.
    const std::vector<String>& columnNames() const noexcept { return names_.all(); }

private:
    friend class OdbcConnection;
    enum class Kind { Integer, Real, Text, Binary };
    enum class State { OnRow, AfterLast, Empty };
    struct Parameter; // a bound parameter value, kept alive for re-execution

    OdbcRecordset(std::shared_ptr<OdbcConnection> connection, void* statement, String sql);
    void bindParameters(const std::vector<Variant>& params);
    void describeColumns();
    void executeAndFetch();
    void fetch(bool first);
    Variant readColumn(int column);
    // The value of the column on the current row: column when it is one, otherwise the named
    // one. Error 3265 for an unknown column, 3021 without a current row, 13 for binary data.
    const Variant& readableValue(const String& name, int column) const;
    [[noreturn]] void fail();

    std::shared_ptr<OdbcConnection> connection_;
    void* statement_;
    String sql_;
    std::vector<std::unique_ptr<Parameter>> parameters_;
    ColumnNames names_;
    std::vector<Kind> kinds_;
    std::vector<Variant> row_;
    State state_ = State::Empty;
};

} // namespace plotara
