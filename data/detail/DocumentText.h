// The text of a document while it is written: a character buffer kept from one document to the
// next, with appends short enough to be inlined. A document is written as tens of thousands of
// pieces of a few characters each, where a library string's append (a call, a capacity check and
// a general-purpose copy per piece) costs more than the characters themselves.
//
// A large buffer is mapped memory of its own rather than the allocator's: glibc raises its
// thresholds for mapping and for giving memory back to the size of the largest mapped block that
// is freed, so once a document of a few megabytes had been released (as it is when the data
// object packs it), up to twice its size of freed memory stayed resident for the rest of the
// process, under the player's parse.
#pragma once

#include "core/String.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <string_view>

#include <sys/mman.h>

namespace plotara {

class DocumentText {
public:
    DocumentText() = default;
    ~DocumentText() { deallocate(data_, capacity_); }
    DocumentText(const DocumentText&) = delete;
    DocumentText& operator=(const DocumentText&) = delete;

    StringView view() const noexcept { return StringView(data_, size_); }
    operator StringView() const noexcept { return view(); }
    std::size_t size() const noexcept { return size_; }
    bool empty() const noexcept { return size_ == 0; }
    bool operator==(StringView other) const noexcept { return view() == other; }

    // Keeps the buffer for the next document.
    void clear() noexcept { size_ = 0; }
    // Gives the buffer back.
    void release() noexcept {
        deallocate(data_, capacity_);
        data_ = nullptr;
        size_ = capacity_ = 0;
    }
    // Makes room for at least capacity characters, expected to be written: a mapped buffer has
    // its pages made present in one step rather than one fault at a time. Throws std::bad_alloc
    // when memory runs out.
    void reserve(std::size_t capacity) {
        if (capacity > capacity_) reallocate(capacity, true);
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
        wchar_t* out = data_ + size_;
        if (n <= 8) {
            for (std::size_t i = 0; i < n; ++i)
                out[i] = piece[i];
        } else {
            std::memcpy(out, piece.data(), n * sizeof(wchar_t));
        }
        size_ += n;
        return *this;
    }
    // Appends a narrow text byte for byte, each byte one character (ASCII text).
    DocumentText& appendBytes(std::string_view piece) {
        const std::size_t n = piece.size();
        if (n > capacity_ - size_) reallocate(grownCapacity(n));
        wchar_t* out = data_ + size_;
        for (std::size_t i = 0; i < n; ++i)
            out[i] = static_cast<unsigned char>(piece[i]);
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
    // Buffers from this many characters on (256 KiB) are mapped.
    static constexpr std::size_t mappedFrom = std::size_t{64} << 10;

    static wchar_t* allocate(std::size_t capacity, bool populate) {
        if (capacity < mappedFrom) return new wchar_t[capacity];
        if (capacity > SIZE_MAX / sizeof(wchar_t)) throw std::bad_alloc();
        void* memory = mmap(nullptr, capacity * sizeof(wchar_t), PROT_READ | PROT_WRITE,
                            MAP_PRIVATE | MAP_ANONYMOUS | (populate ? MAP_POPULATE : 0), -1, 0);
        if (memory == MAP_FAILED) throw std::bad_alloc();
        return static_cast<wchar_t*>(memory);
    }
    static void deallocate(wchar_t* data, std::size_t capacity) noexcept {
        if (data == nullptr) return;
        if (capacity < mappedFrom)
            delete[] data;
        else
            munmap(data, capacity * sizeof(wchar_t));
    }
    void reallocate(std::size_t capacity, bool populate = false) {
        wchar_t* data = allocate(capacity, populate);
        if (size_ != 0) std::memcpy(data, data_, size_ * sizeof(wchar_t));
        deallocate(data_, capacity_);
        data_ = data;
        capacity_ = capacity;
    }

    wchar_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

} // namespace plotara
