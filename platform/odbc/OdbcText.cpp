#include "platform/odbc/OdbcText.h"

#include "platform/detail/RecordsetErrors.h"

namespace plotara::odbc {

std::vector<SQLWCHAR> toWide(StringView text) {
    std::vector<SQLWCHAR> out;
    out.reserve(text.size() + 1);
    for (wchar_t c : text) {
        auto code = static_cast<char32_t>(c);
        if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) code = 0xFFFD;
        if (code >= 0x10000) {
            code -= 0x10000;
            out.push_back(static_cast<SQLWCHAR>(0xD800 + (code >> 10)));
            out.push_back(static_cast<SQLWCHAR>(0xDC00 + (code & 0x3FF)));
        } else {
            out.push_back(static_cast<SQLWCHAR>(code));
        }
    }
    out.push_back(0);
    return out;
}

String fromWide(const SQLWCHAR* text, std::size_t count) {
    String out;
    out.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const char32_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < count && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            const char32_t low = text[++i];
            out += static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            out += L'\uFFFD';
        } else {
            out += static_cast<wchar_t>(unit);
        }
    }
    return out;
}

String diagnostics(SQLSMALLINT handleType, SQLHANDLE handle) {
    String out;
    for (SQLSMALLINT record = 1;; ++record) {
        SQLWCHAR state[6] = {};
        SQLINTEGER nativeError = 0;
        SQLWCHAR message[1024] = {};
        SQLSMALLINT length = 0;
        const SQLRETURN rc = SQLGetDiagRecW(handleType, handle, record, state, &nativeError,
                                            message, SQLSMALLINT{1024}, &length);
        if (!succeeded(rc)) break;
        if (!out.empty()) out += L"; ";
        const auto count = std::min<std::size_t>(static_cast<std::size_t>(length), 1023);
        out += fromWide(state, 5) + L": " + fromWide(message, count);
    }
    return out.empty() ? String(L"The ODBC call failed without diagnostics") : out;
}

void fail(SQLSMALLINT handleType, SQLHANDLE handle, const String& sql) {
    raise(recordset_errors::database(L"ODBC", diagnostics(handleType, handle), sql));
}

} // namespace plotara::odbc
