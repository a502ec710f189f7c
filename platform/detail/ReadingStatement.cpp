#include "platform/detail/ReadingStatement.h"

#include <array>
#include <cwctype>

namespace plotara {

namespace {

// Words that write data, change the schema or the connection, or run other code.
constexpr std::array<const wchar_t*, 22> writingWords{
    L"INSERT", L"UPDATE", L"DELETE",  L"MERGE",    L"UPSERT", L"INTO",   L"CREATE", L"DROP",
    L"ALTER",  L"RENAME", L"GRANT",   L"REVOKE",   L"ATTACH", L"DETACH", L"VACUUM", L"PRAGMA",
    L"CALL",   L"EXEC",   L"EXECUTE", L"TRUNCATE", L"COPY",   L"LOCK"};

bool isWordChar(wchar_t c) {
    return std::iswalnum(static_cast<wint_t>(c)) != 0 || c == L'_' || c == L'$';
}

// One pass over the text that sees words and statement ends outside comments and quotes.
class Scanner {
public:
    explicit Scanner(StringView sql) : sql_(sql) {}

    // The next word in upper case, "" at the end; a ";" yields ";"; other symbols are skipped
    // (a "(" yields "(" so that a leading one can be stepped over).
    String next() {
        while (pos_ < sql_.size()) {
            const wchar_t c = sql_[pos_];
            if (c == L'-' && peek(1) == L'-') {
                while (pos_ < sql_.size() && sql_[pos_] != L'\n')
                    ++pos_;
            } else if (c == L'/' && peek(1) == L'*') {
                const auto end = sql_.find(L"*/", pos_ + 2);
                pos_ = end == StringView::npos ? sql_.size() : end + 2;
            } else if (c == L'\'' || c == L'"' || c == L'`') {
                skipQuoted(c);
            } else if (c == L'[') {
                const auto end = sql_.find(L']', pos_ + 1);
                pos_ = end == StringView::npos ? sql_.size() : end + 1;
            } else if (c == L';' || c == L'(') {
                ++pos_;
                return String(1, c);
            } else if (isWordChar(c)) {
                String word;
                while (pos_ < sql_.size() && isWordChar(sql_[pos_]))
                    word += static_cast<wchar_t>(std::towupper(static_cast<wint_t>(sql_[pos_++])));
                return word;
            } else {
                ++pos_;
            }
        }
        return String();
    }

private:
    wchar_t peek(std::size_t ahead) const {
        return pos_ + ahead < sql_.size() ? sql_[pos_ + ahead] : L'\0';
    }
    // Steps over a quoted text or identifier; a doubled quote stays inside it.
    void skipQuoted(wchar_t quote) {
        ++pos_;
        while (pos_ < sql_.size()) {
            if (sql_[pos_] == quote) {
                if (peek(1) != quote) break;
                ++pos_;
            }
            ++pos_;
        }
        ++pos_;
    }

    StringView sql_;
    std::size_t pos_ = 0;
};

} // namespace

bool isReadingStatement(StringView sql) {
    Scanner scanner(sql);
    String word = scanner.next();
    while (word == L"(")
        word = scanner.next();
    if (word != L"SELECT" && word != L"WITH" && word != L"VALUES") return false;
    bool ended = false;
    for (word = scanner.next(); !word.empty(); word = scanner.next()) {
        if (word == L";") {
            ended = true;
            continue;
        }
        if (ended) return false; // a second statement
        for (const wchar_t* writing : writingWords)
            if (word == writing) return false;
    }
    return true;
}

} // namespace plotara
