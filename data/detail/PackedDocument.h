// A generated document kept as UTF-8 while a caller holds a copy of it. A caller that copied the
// document into a text of its own (the control, into the text it hands its movie host, less its
// line breaks, tabs and carriage returns) can offer that text: what the text holds of the document
// byte for byte from the given offset is shared with it rather than kept a second time, and only
// what the copy left out is kept here: each dropped CR, LF, CR LF pair or tab as an entry of about
// a byte, and whatever follows the first other difference as text of its own. Sharing is taken only
// when it costs less than keeping the whole document; without a text offered, the whole document is
// owned.
#pragma once

#include "core/String.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace plotara {

class PackedDocument {
public:
    bool empty() const noexcept { return shared_.empty() && own_.empty(); }
    // The bytes of the document read from the offered text.
    std::size_t sharedBytes() const noexcept { return shared_.size(); }
    // The bytes kept here: the owned text and the list of dropped characters.
    std::size_t ownBytes() const noexcept { return own_.size() + dropped_.size(); }

    // Gives everything back, the offered text included. Cannot fail.
    void release() noexcept {
        source_.reset();
        shared_ = std::string_view();
        std::string().swap(dropped_); // a moved-in empty string would keep the buffer
        std::string().swap(own_);
    }

    // Keeps text, whose characters must all be Unicode scalar values, as UTF-8: shares what
    // source holds of it from offset on (source may be null, shorter or different), owns the
    // rest. Throws std::bad_alloc when memory runs out, keeping what it held before.
    void pack(StringView text, std::shared_ptr<const std::string> source, std::size_t offset) {
        std::string_view offered;
        if (source && offset <= source->size()) offered = std::string_view(*source).substr(offset);
        std::string dropped;
        const Match match = matchCopy(text, offered, dropped);
        std::string own = toUtf8(text.substr(match.chars));
        if (own.size() + dropped.size() >= match.bytes) {
            own = toUtf8(text); // the copy holds too little of it to be worth keeping alive
            release();
            own_ = std::move(own);
            return;
        }
        dropped.shrink_to_fit();
        release();
        own_ = std::move(own);
        dropped_ = std::move(dropped);
        source_ = std::move(source);
        shared_ = offered.substr(0, match.bytes);
    }

    // The document as wide text. Throws std::bad_alloc when memory runs out.
    String unpack() const {
        String text;
        text.reserve(shared_.size() + own_.size());
        std::size_t from = 0, read = 0;
        while (read < dropped_.size()) {
            std::size_t entry = 0;
            for (int shift = 0;; shift += 7) {
                const auto byte = static_cast<unsigned char>(dropped_[read++]);
                entry |= static_cast<std::size_t>(byte & 0x7F) << shift;
                if (byte < 0x80) break;
            }
            const std::size_t at = from + (entry >> 2);
            appendFromUtf8(text, shared_.substr(from, at - from));
            text += kinds[entry & 3];
            from = at;
        }
        appendFromUtf8(text, shared_.substr(from));
        appendFromUtf8(text, own_);
        return text;
    }

private:
    // What a dropped entry puts back: the kind is the entry's two low bits.
    static constexpr const wchar_t* kinds[4] = {L"\r\n", L"\r", L"\n", L"\t"};

    struct Match {
        std::size_t chars, bytes;
    };

    // The dropped characters are a byte stream of entries, each the distance from the previous
    // one in shared bytes shifted left by two with the kind below, in 7-bit groups (a set's line
    // break takes one byte).
    class DropList {
    public:
        explicit DropList(std::string& out) : out_(out) {}
        void add(std::size_t at, char c) {
            if (c == '\n' && pending_ && pendingAt_ == at && pendingKind_ == 1) {
                pendingKind_ = 0; // a CR LF pair
                return;
            }
            flush();
            pending_ = true;
            pendingAt_ = at;
            pendingKind_ = c == '\r' ? 1 : c == '\n' ? 2 : 3;
        }
        void flush() {
            if (!pending_) return;
            std::size_t entry = (pendingAt_ - lastAt_) << 2 | pendingKind_;
            lastAt_ = pendingAt_;
            pending_ = false;
            while (entry >= 0x80) {
                out_ += static_cast<char>(0x80 | (entry & 0x7F));
                entry >>= 7;
            }
            out_ += static_cast<char>(entry);
        }

    private:
        std::string& out_;
        bool pending_ = false;
        std::size_t pendingAt_ = 0, lastAt_ = 0;
        unsigned pendingKind_ = 0;
    };

    // The UTF-8 form of a character (a Unicode scalar value of two bytes or more); returns its
    // length.
    static std::size_t encode(std::uint32_t code, char* out) noexcept {
        std::size_t n = 0;
        if (code < 0x800) {
            out[n++] = static_cast<char>(0xC0 | (code >> 6));
        } else if (code < 0x10000) {
            out[n++] = static_cast<char>(0xE0 | (code >> 12));
            out[n++] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        } else {
            out[n++] = static_cast<char>(0xF0 | (code >> 18));
            out[n++] = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out[n++] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        }
        out[n++] = static_cast<char>(0x80 | (code & 0x3F));
        return n;
    }

    // How many leading characters of text the bytes of offered spell, with the CRs, LFs and tabs
    // it left out listed in dropped, and how many bytes of offered they take; stops at the first
    // other difference, always at a character boundary.
    static Match matchCopy(StringView text, std::string_view offered, std::string& dropped) {
        DropList list(dropped);
        std::size_t i = 0, at = 0;
        const std::size_t size = text.size(), limit = offered.size();
        for (; i < size; ++i) {
            // Eight ASCII characters at a time while they agree, as most of a document does.
            while (size - i >= 8 && limit - at >= 8) {
                std::uint32_t differ = 0;
                for (std::size_t k = 0; k < 8; ++k) {
                    const auto byte = static_cast<unsigned char>(offered[at + k]);
                    differ |= (static_cast<std::uint32_t>(text[i + k]) ^ byte) | (byte & 0x80u);
                }
                if (differ != 0) break;
                i += 8;
                at += 8;
            }
            if (i == size) break;
            const auto code = static_cast<std::uint32_t>(text[i]);
            if (code < 0x80) {
                if (at < limit && offered[at] == static_cast<char>(code)) {
                    ++at;
                    continue;
                }
                if (code != '\r' && code != '\n' && code != '\t') break;
                list.add(at, static_cast<char>(code));
                continue;
            }
            char encoded[4];
            const std::size_t n = encode(code, encoded);
            if (limit - at < n || offered.compare(at, n, std::string_view(encoded, n)) != 0) break;
            at += n;
        }
        list.flush();
        return {i, at};
    }

    std::shared_ptr<const std::string> source_; // keeps shared_ readable
    std::string_view shared_;
    std::string dropped_;
    std::string own_;
};

} // namespace plotara
