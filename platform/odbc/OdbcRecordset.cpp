#include "platform/odbc/OdbcRecordset.h"

#include "core/Text.h"
#include "platform/detail/RecordsetErrors.h"
#include "platform/odbc/OdbcConnection.h"
#include "platform/odbc/OdbcText.h"

#include <limits>

namespace plotara {

struct OdbcRecordset::Parameter {
    SQLSMALLINT cType = SQL_C_WCHAR;
    SQLSMALLINT sqlType = SQL_WVARCHAR;
    SQLULEN columnSize = 1;
    SQLBIGINT integer = 0;
    double real = 0;
    std::vector<SQLWCHAR> text = {0};
    SQLLEN indicator = SQL_NULL_DATA;

    SQLPOINTER buffer() {
        if (cType == SQL_C_SBIGINT) return &integer;
        if (cType == SQL_C_DOUBLE) return &real;
        return text.data();
    }
};

OdbcRecordset::OdbcRecordset(std::shared_ptr<OdbcConnection> connection, void* statement,
                             String sql)
    : connection_(std::move(connection)), statement_(statement), sql_(std::move(sql)) {}

OdbcRecordset::~OdbcRecordset() {
    SQLFreeHandle(SQL_HANDLE_STMT, statement_);
}

void OdbcRecordset::fail() {
    state_ = State::AfterLast;
    odbc::fail(SQL_HANDLE_STMT, statement_, sql_);
}

void OdbcRecordset::bindParameters(const std::vector<Variant>& params) {
    SQLSMALLINT expected = 0;
    if (!odbc::succeeded(SQLNumParams(statement_, &expected))) fail();
    if (static_cast<std::size_t>(expected) != params.size())
        raise(recordset_errors::parameterCount(expected, params.size()));
    for (std::size_t i = 0; i < params.size(); ++i) {
        auto p = std::make_unique<Parameter>();
        const Variant& value = params[i];
        switch (value.type()) {
        case Variant::Type::Empty:
        case Variant::Type::Null:
        case Variant::Type::Missing:
            break; // a NULL of text type
        case Variant::Type::Boolean:
        case Variant::Type::Integer:
        case Variant::Type::Long:
            p->cType = SQL_C_SBIGINT;
            p->sqlType = SQL_BIGINT;
            p->columnSize = 0;
            p->integer =
                value.type() == Variant::Type::Boolean ? (value.asBool() ? 1 : 0) : value.asLong();
            p->indicator = 0;
            break;
        case Variant::Type::Single:
        case Variant::Type::Double:
            p->cType = SQL_C_DOUBLE;
            p->sqlType = SQL_DOUBLE;
            p->columnSize = 15;
            p->real = value.asDouble();
            p->indicator = 0;
            break;
        case Variant::Type::String:
            p->text = odbc::toWide(value.asString());
            p->columnSize = std::max<SQLULEN>(1, p->text.size() - 1);
            p->indicator = static_cast<SQLLEN>((p->text.size() - 1) * sizeof(SQLWCHAR));
            break;
        case Variant::Type::Object:
        case Variant::Type::Array:
            raise(recordset_errors::unsupportedParameter(i + 1));
        }
        const SQLLEN bufferLength = static_cast<SQLLEN>(p->text.size() * sizeof(SQLWCHAR));
        if (!odbc::succeeded(SQLBindParameter(statement_, static_cast<SQLUSMALLINT>(i + 1),
                                              SQL_PARAM_INPUT, p->cType, p->sqlType, p->columnSize,
                                              0, p->buffer(), bufferLength, &p->indicator)))
            fail();
        parameters_.push_back(std::move(p));
    }
}

void OdbcRecordset::describeColumns() {
    SQLSMALLINT count = 0;
    if (!odbc::succeeded(SQLNumResultCols(statement_, &count))) fail();
    for (SQLSMALLINT i = 1; i <= count; ++i) {
        SQLWCHAR name[256] = {};
        SQLSMALLINT nameLength = 0, type = 0, digits = 0, nullable = 0;
        SQLULEN size = 0;
        if (!odbc::succeeded(SQLDescribeColW(statement_, static_cast<SQLUSMALLINT>(i), name, 256,
                                             &nameLength, &type, &size, &digits, &nullable)))
            fail();
        names_.add(
            odbc::fromWide(name, std::min<std::size_t>(static_cast<std::size_t>(nameLength), 255)));
        switch (type) {
        case SQL_TINYINT:
        case SQL_SMALLINT:
        case SQL_INTEGER:
        case SQL_BIGINT:
        case SQL_BIT:
            kinds_.push_back(Kind::Integer);
            break;
        case SQL_REAL:
        case SQL_FLOAT:
        case SQL_DOUBLE:
        case SQL_NUMERIC:
        case SQL_DECIMAL:
            kinds_.push_back(Kind::Real);
            break;
        case SQL_BINARY:
        case SQL_VARBINARY:
        case SQL_LONGVARBINARY:
            kinds_.push_back(Kind::Binary);
            break;
        default:
            kinds_.push_back(Kind::Text);
        }
    }
    row_.resize(names_.size());
}

void OdbcRecordset::executeAndFetch() {
    const SQLRETURN rc = SQLExecute(statement_);
    if (!odbc::succeeded(rc) && rc != SQL_NO_DATA) fail();
    if (names_.empty()) describeColumns();
    if (names_.empty()) {
        state_ = State::Empty; // a statement without a result set
        return;
    }
    fetch(true);
}

void OdbcRecordset::fetch(bool first) {
    const SQLRETURN rc = SQLFetch(statement_);
    if (rc == SQL_NO_DATA) {
        state_ = first ? State::Empty : State::AfterLast;
        return;
    }
    if (!odbc::succeeded(rc)) fail();
    // Drivers may only hand out the columns of a row once and in order, so the row is read whole.
    for (std::size_t i = 0; i < row_.size(); ++i)
        row_[i] = readColumn(static_cast<int>(i));
    state_ = State::OnRow;
}

Variant OdbcRecordset::readColumn(int column) {
    const auto number = static_cast<SQLUSMALLINT>(column + 1);
    SQLLEN indicator = 0;
    switch (kinds_[column]) {
    case Kind::Integer: {
        SQLBIGINT value = 0;
        if (!odbc::succeeded(SQLGetData(statement_, number, SQL_C_SBIGINT, &value, 0, &indicator)))
            fail();
        if (indicator == SQL_NULL_DATA) return Variant::null();
        if (value >= std::numeric_limits<Long>::min() && value <= std::numeric_limits<Long>::max())
            return Variant(static_cast<Long>(value));
        return Variant(std::to_wstring(value));
    }
    case Kind::Real: {
        double value = 0;
        if (!odbc::succeeded(SQLGetData(statement_, number, SQL_C_DOUBLE, &value, 0, &indicator)))
            fail();
        if (indicator == SQL_NULL_DATA) return Variant::null();
        return Variant(value);
    }
    case Kind::Binary:
        return Variant::missing(); // refused when read, see field()
    case Kind::Text:
        break;
    }
    String text;
    SQLWCHAR buffer[512];
    constexpr SQLLEN capacity = sizeof(buffer);
    for (;;) {
        const SQLRETURN rc =
            SQLGetData(statement_, number, SQL_C_WCHAR, buffer, capacity, &indicator);
        if (rc == SQL_NO_DATA) break;
        if (!odbc::succeeded(rc)) fail();
        if (indicator == SQL_NULL_DATA) return Variant::null();
        // A full buffer holds 511 units and the terminator; the rest follows in the next call.
        if (indicator == SQL_NO_TOTAL || indicator >= capacity) {
            text += odbc::fromWide(buffer, 511);
            continue;
        }
        text += odbc::fromWide(buffer, static_cast<std::size_t>(indicator) / sizeof(SQLWCHAR));
        break;
    }
    return Variant(std::move(text));
}

void OdbcRecordset::MoveFirst() {
    if (state_ == State::Empty) return;
    SQLFreeStmt(statement_, SQL_CLOSE);
    executeAndFetch();
}

void OdbcRecordset::MoveNext() {
    if (state_ != State::OnRow) raise(recordset_errors::noCurrentRow());
    fetch(false);
}

const Variant& OdbcRecordset::readableValue(const String& name, int column) const {
    const int i = column >= 0 && static_cast<std::size_t>(column) < names_.size()
                      ? column
                      : names_.indexOf(name);
    if (i < 0) raise(recordset_errors::noSuchColumn(name));
    if (state_ != State::OnRow) raise(recordset_errors::noCurrentRow());
    if (kinds_[i] == Kind::Binary)
        raise(recordset_errors::unsupportedValue(names_[i], L"binary data"));
    return row_[i];
}

Variant OdbcRecordset::field(const String& name) {
    return readableValue(name, -1);
}

void OdbcRecordset::fieldText(const String& name, int column, String& out) {
    const Variant& value = readableValue(name, column);
    if (value.isNull())
        out.clear();
    else
        out = toText(value);
}

} // namespace plotara
