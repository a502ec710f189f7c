// The text of a document while it is written: UTF-8 bytes in a buffer kept from one document to
// the next, with appends short enough to be inlined. A document is written as tens of thousands
// of pieces of a few characters each, where a library string's append (a call, a capacity check
// and a general-purpose copy per piece) costs more than the characters themselves.
//
// The writers hand wide pieces; they are narrowed as they are appended, so a document takes a
// byte a character (it is ASCII but for its labels) and can be handed over as UTF-8 without a
// copy (takeUtf8). The wide text is made only when someone reads it (view), and kept until the
// next change. A character UTF-8 cannot carry (a lone surrogate, a code above U+10FFFF) turns
// the whole text wide from then on, so that it reads back exactly as written.
#pragma once

#include "core/String.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace plotara {

class DocumentText {
public:
    // The text as wide characters: valid until the next change. Throws std::bad_alloc when
    // memory runs out.
    StringView view() const {
        if (wide_) return *wide_;
        if (!viewValid_) {
            String text;
            appendFromUtf8(text, std::string_view(bytes_.data(), size_));
            view_.swap(text);
            viewValid_ = true;
        }
        return view_;
    }
    // A wide copy of the text, made without keeping one here. Throws std::bad_alloc when memory
    // runs out.
    String text() const {
        if (wide_) return *wide_;
        if (viewValid_) return view_;
        return fromUtf8(std::string_view(bytes_.data(), size_));
    }
    bool empty() const noexcept { return wide_ ? wide_->empty() : size_ == 0; }
    // Whether the text is exactly the given ASCII text.
    bool equalsAscii(std::string_view ascii) const noexcept {
        if (!wide_) return std::string_view(bytes_.data(), size_) == ascii;
        if (wide_->size() != ascii.size()) return false;
        for (std::size_t i = 0; i < ascii.size(); ++i)
            if ((*wide_)[i] != static_cast<unsigned char>(ascii[i])) return false;
        return true;
    }

    // Keeps the buffer for the next document.
    void clear() noexcept {
        size_ = 0;
        wide_.reset();
        dropView();
    }
    // Gives the buffer back.
    void release() noexcept {
        std::string().swap(bytes_);
        clear();
    }
    // Makes room for at least capacity bytes. Throws std::bad_alloc when memory runs out.
    void reserve(std::size_t capacity) {
        if (capacity > bytes_.size()) grow(capacity);
    }
    // Replaces the whole text. Throws std::bad_alloc when memory runs out.
    void assign(StringView text) {
        clear();
        *this += text;
    }
    // Replaces the whole text with text that is valid UTF-8. Throws std::bad_alloc when memory
    // runs out.
    void assignUtf8(std::string_view text) {
        clear();
        appendBytes(text);
    }
    // Hands the text over as UTF-8 and starts afresh, the buffer gone with it; nothing (and the
    // text kept) when it holds a character UTF-8 cannot carry.
    std::optional<std::string> takeUtf8() noexcept {
        if (wide_) return std::nullopt;
        bytes_.resize(size_); // shorter: neither allocates nor copies
        std::optional<std::string> text(std::move(bytes_));
        release();
        return text;
    }
    // Drops trailing blanks (U+0020).
    void trimRight() noexcept {
        dropView();
        if (wide_) {
            const std::size_t last = wide_->find_last_not_of(L' ');
            wide_->erase(last == String::npos ? 0 : last + 1);
            return;
        }
        while (size_ > 0 && bytes_[size_ - 1] == ' ')
            --size_;
    }

    DocumentText& operator+=(StringView piece) {
        dropView();
        if (wide_) {
            *wide_ += piece;
            return *this;
        }
        const std::size_t n = piece.size();
        if (n > bytes_.size() - size_) grow(grownCapacity(n));
        char* out = bytes_.data() + size_;
        for (std::size_t i = 0; i < n; ++i) {
            const auto code = static_cast<std::uint32_t>(piece[i]);
            if (code >= 0x80) {
                size_ += i;
                appendOthers(piece.substr(i));
                return *this;
            }
            out[i] = static_cast<char>(code);
        }
        size_ += n;
        return *this;
    }
    // Appends text that is valid UTF-8 (ASCII, or the bytes of a text read back).
    DocumentText& appendBytes(std::string_view piece) {
        dropView();
        if (wide_) {
            appendFromUtf8(*wide_, piece);
            return *this;
        }
        const std::size_t n = piece.size();
        if (n == 0) return *this; // an empty view may have no data at all
        if (n > bytes_.size() - size_) grow(grownCapacity(n));
        std::memcpy(bytes_.data() + size_, piece.data(), n);
        size_ += n;
        return *this;
    }
    // Appends another document text, however it holds its characters.
    DocumentText& operator+=(const DocumentText& other) {
        if (other.wide_) return *this += StringView(*other.wide_);
        return appendBytes(std::string_view(other.bytes_.data(), other.size_));
    }
    DocumentText& operator+=(wchar_t c) {
        if (static_cast<std::uint32_t>(c) >= 0x80 || wide_) return *this += StringView(&c, 1);
        dropView();
        if (size_ == bytes_.size()) grow(grownCapacity(1));
        bytes_[size_++] = static_cast<char>(c);
        return *this;
    }

private:
    void dropView() noexcept {
        if (!viewValid_) return;
        viewValid_ = false;
        String().swap(view_);
    }
    std::size_t grownCapacity(std::size_t extra) const noexcept {
        const std::size_t needed = size_ + extra;
        return needed > 2 * bytes_.size() ? needed : 2 * bytes_.size();
    }
    // The buffer's size is its capacity; only the first size_ bytes are text.
    void grow(std::size_t capacity) {
        bytes_.resize(size_);
        bytes_.resize(capacity);
    }
    // Characters from the first one that is not ASCII on: encoded one at a time, or, at a
    // character UTF-8 cannot carry, the whole text turned wide.
    void appendOthers(StringView piece) {
        for (std::size_t i = 0; i < piece.size(); ++i) {
            const auto code = static_cast<std::uint32_t>(piece[i]);
            if ((code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
                String text;
                appendFromUtf8(text, std::string_view(bytes_.data(), size_));
                text += piece.substr(i);
                wide_.emplace(std::move(text));
                size_ = 0;
                return;
            }
            if (bytes_.size() - size_ < 4) grow(grownCapacity(4));
            size_ += encodeUtf8(piece[i], bytes_.data() + size_);
        }
    }

    std::string bytes_; // sized to the capacity
    std::size_t size_ = 0;
    std::optional<String> wide_; // the whole text, once UTF-8 cannot carry it
    mutable String view_;
    mutable bool viewValid_ = false;
};

} // namespace plotara
