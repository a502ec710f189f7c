// Text and diagnostics helpers shared by the ODBC connection and recordset.
#pragma once

#include "core/String.h"

#include <sql.h>
#include <sqlext.h>
#include <vector>

namespace plotara::odbc {

// Converts to the driver manager's wide text (UTF-16 SQLWCHAR, null-terminated). Cannot fail.
std::vector<SQLWCHAR> toWide(StringView text);
// Converts count UTF-16 units; unpaired surrogates become U+FFFD. Cannot fail.
String fromWide(const SQLWCHAR* text, std::size_t count);
// The diagnostic records of a handle as "SQLSTATE: message" joined by "; ". Cannot fail.
String diagnostics(SQLSMALLINT handleType, SQLHANDLE handle);
// Raises the database error (source "ODBC") with the diagnostics of the handle.
[[noreturn]] void fail(SQLSMALLINT handleType, SQLHANDLE handle, const String& sql = L"");

inline bool succeeded(SQLRETURN rc) noexcept {
    return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO;
}

} // namespace plotara::odbc
