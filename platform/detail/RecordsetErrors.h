// The errors that the recordset implementations raise, with numbers a host can test for.
#pragma once

#include "core/Error.h"

namespace plotara::recordset_errors {

// Error number of a failure reported by the database or its driver (a component error).
inline constexpr Long databaseErrorCode = 3000;

// 3021: the recordset is before its first or after its last row (or empty).
Error noCurrentRow();
// 3265: the query result has no column of that name.
Error noSuchColumn(const String& name);
// 13: the column holds a value a chart cannot use (a blob); the text names column and type.
Error unsupportedValue(const String& column, const String& what);
// 5: the number of parameter values does not match the placeholders of the query.
Error parameterCount(int expected, std::size_t given);
// 13: a parameter value of a type that cannot be bound (object, array).
Error unsupportedParameter(std::size_t position);
// objectErrorBase + databaseErrorCode: the database's own message, with source "SQLite" or
// "ODBC" and, where there is one, the statement that failed.
Error database(const String& source, const String& message, const String& statement = L"");

} // namespace plotara::recordset_errors
