// Small text pieces shared by the document writers. Internal to the data layer.
#pragma once

#include "core/String.h"
#include "core/Text.h"
#include "data/detail/DocumentText.h"
#include "data/detail/KeyedNode.h"

namespace plotara::writer {

// "name='value' ": the attribute form with a trailing blank. Out is a String or a
// DocumentText.
template <class Out>
inline void appendTrailing(Out& out, StringView name, StringView value) {
    out += name;
    out += StringView(L"='", 2);
    out += value;
    out += StringView(L"' ", 2);
}

// " name='value'": the attribute form with a leading blank.
template <class Out>
inline void appendLeading(Out& out, StringView name, StringView value) {
    out += L' ';
    out += name;
    out += StringView(L"='", 2);
    out += value;
    out += L'\'';
}

// The text without leading and trailing blanks (U+0020), as a view into it.
inline StringView trimmedView(StringView text) {
    const std::size_t first = text.find_first_not_of(L' ');
    if (first == StringView::npos) return {};
    return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

inline void trimRightInPlace(String& text) {
    const std::size_t last = text.find_last_not_of(L' ');
    text.erase(last == String::npos ? 0 : last + 1);
}
inline void trimRightInPlace(DocumentText& text) {
    text.trimRight();
}

// Whether the lower-case form of name is lowerWord (a lower-case ASCII word). ASCII names are
// compared in place; others go through the full case mapping.
inline bool equalsLowerAscii(StringView name, StringView lowerWord) {
    for (wchar_t c : name)
        if (c >= 0x80) return text::toLower(name) == lowerWord;
    if (name.size() != lowerWord.size()) return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        wchar_t c = name[i];
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
        if (c != lowerWord[i]) return false;
    }
    return true;
}
inline bool isColorName(StringView name) {
    return equalsLowerAscii(name, L"color");
}
inline bool isSeriesNameName(StringView name) {
    return equalsLowerAscii(name, L"seriesname");
}

// The text of a point's value entry, "" when the point has none; Error 449 when it is a node.
inline StringView pointValue(const KeyedNode& point, StringView valueKey) {
    const KeyedEntry* entry = point.lookup(valueKey);
    return entry ? entry->text() : StringView();
}

// A store key made of a number and an optional suffix ("12", "3v"), without allocating.
class KeyBuffer {
public:
    explicit KeyBuffer(long long number, wchar_t suffix = 0) {
        wchar_t digits[24];
        std::size_t count = 0;
        unsigned long long magnitude = number < 0 ? 0ULL - static_cast<unsigned long long>(number)
                                                  : static_cast<unsigned long long>(number);
        do {
            digits[count++] = static_cast<wchar_t>(L'0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude != 0);
        length_ = 0;
        if (number < 0) buffer_[length_++] = L'-';
        while (count > 0)
            buffer_[length_++] = digits[--count];
        if (suffix != 0) buffer_[length_++] = suffix;
    }
    StringView view() const { return StringView(buffer_, length_); }

private:
    wchar_t buffer_[24];
    std::size_t length_;
};

} // namespace plotara::writer
