// The text of a document while it is written: a character buffer kept from one document to the
// next, with appends short enough to be inlined. A document is written as tens of thousands of
// pieces of a few characters each, where a library string's append (a call, a capacity check and
// a general-purpose copy per piece) costs more than the characters themselves.
#pragma once

#include "core/String.h"

#include <cstddef>
#include <cstring>
#include <memory>

namespace plotara {

class DocumentText {
public:
    DocumentText() = default;
    DocumentText(const DocumentText&) = delete;
    DocumentText& operator=(const DocumentText&) = delete;

    StringView view() const noexcept { return StringView(data_.get(), size_); }
    operator StringView() const noexcept { return view(); }
    std::size_t size() const noexcept { return size_; }
    bool empty() const noexcept { return size_ == 0; }
    bool operator==(StringView other) const noexcept { return view() == other; }

    // Keeps the buffer for the next document.
    void clear() noexcept { size_ = 0; }
    // Gives the buffer back.
    void release() noexcept {
        data_.reset();
        size_ = capacity_ = 0;
    }
    // Makes room for at least capacity characters; throws std::bad_alloc when memory runs out.
    void reserve(std::size_t capacity) {
        if (capacity > capacity_) reallocate(capacity);
    }
    // Replaces the whole text.
    void assign(StringView text) {
        clear();
        *this += text;
    }
    // Drops trailing blanks (U+0020).
    void trimRight() noexcept {
        while (size_ > 0 && data_[size_ - 1] == L' ')
            --size_;
    }

    DocumentText& operator+=(StringView piece) {
        const std::size_t n = piece.size();
        if (n > capacity_ - size_) reallocate(grownCapacity(n));
        wchar_t* out = data_.get() + size_;
        if (n <= 8) {
            for (std::size_t i = 0; i < n; ++i)
                out[i] = piece[i];
        } else {
            std::memcpy(out, piece.data(), n * sizeof(wchar_t));
        }
        size_ += n;
        return *this;
    }
    DocumentText& operator+=(wchar_t c) {
        if (size_ == capacity_) reallocate(grownCapacity(1));
        data_[size_++] = c;
        return *this;
    }

private:
    std::size_t grownCapacity(std::size_t extra) const noexcept {
        const std::size_t needed = size_ + extra;
        return needed > 2 * capacity_ ? needed : 2 * capacity_;
    }
    void reallocate(std::size_t capacity) {
        std::unique_ptr<wchar_t[]> data(new wchar_t[capacity]);
        if (size_ != 0) std::memcpy(data.get(), data_.get(), size_ * sizeof(wchar_t));
        data_ = std::move(data);
        capacity_ = capacity;
    }

    std::unique_ptr<wchar_t[]> data_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

} // namespace plotara
