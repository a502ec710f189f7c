#include "platform/detail/RecordsetErrors.h"

namespace plotara::recordset_errors {

Error noCurrentRow() {
    return Error(3021, L"Either BOF or EOF is True: the operation requires a current row");
}

Error noSuchColumn(const String& name) {
    return Error(3265, L"The query result has no column named '" + name + L"'");
}

Error unsupportedValue(const String& column, const String& what) {
    return Error(13, L"Type mismatch: column '" + column + L"' holds " + what +
                         L", which cannot be charted");
}

Error parameterCount(int expected, std::size_t given) {
    return Error(5, L"Invalid procedure call or argument: the query takes " +
                        std::to_wstring(expected) + L" parameter(s) but " + std::to_wstring(given) +
                        L" value(s) were given");
}

Error unsupportedParameter(std::size_t position) {
    return Error(13, L"Type mismatch: query parameter " + std::to_wstring(position) +
                         L" is an object or an array, which cannot be bound");
}

Error database(const String& source, const String& message, const String& statement) {
    String description = message;
    if (!statement.empty()) description += L" (in: " + statement + L")";
    Error base = errors::component(databaseErrorCode, std::move(description));
    return Error(base.number(), base.description(), source);
}

} // namespace plotara::recordset_errors
