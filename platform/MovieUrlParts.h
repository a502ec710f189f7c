// A movie URL handed to a movie host in parts: the head, up to and including "dataXML=", and the
// chart document that follows it, shared with the caller rather than copied into one long text.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace plotara {

// Which characters of the shared document the URL leaves out.
enum class MovieDocumentForm {
    Whole,             // the document is the URL's text as it is
    WithoutCrLf,       // CR LF pairs go
    WithoutCrLfAndTabs // CR LF pairs, every other CR and every tab go
};

// Appends document to out in the given form. CR, LF and tab never occur inside a multi-byte
// UTF-8 sequence, so the text is scanned as bytes and copied in stretches between the characters
// that go; eight bytes at a time are passed over while none of them is below 0x0E (the three
// characters are 0x09, 0x0A and 0x0D), as a document has a line break only every few dozen
// bytes. Cannot fail beyond running out of memory.
inline void appendMovieDocument(std::string& out, std::string_view document,
                                MovieDocumentForm form) {
    if (form == MovieDocumentForm::Whole) {
        out.append(document);
        return;
    }
    const bool everything = form == MovieDocumentForm::WithoutCrLfAndTabs;
    const std::size_t start = out.size();
    out.resize(start + document.size());
    char* to = out.data() + start;
    const char* text = document.data();
    const std::size_t size = document.size();
    constexpr std::uint64_t ones = 0x0101010101010101u, highs = 0x8080808080808080u;
    std::size_t from = 0;
    for (std::size_t i = 0; i < size; ++i) {
        for (std::uint64_t word; size - i >= 8; i += 8) {
            std::memcpy(&word, text + i, 8);
            if (((word - 0x0E * ones) & ~word & highs) != 0) break; // a byte below 0x0E
        }
        if (i == size) break;
        const char c = text[i];
        if (c != '\r' && c != '\n' && c != '\t') continue;
        const bool drop = c == '\r'   ? everything || (i + 1 < size && text[i + 1] == '\n')
                          : c == '\n' ? i > 0 && text[i - 1] == '\r'
                                      : everything;
        if (!drop) continue;
        std::memcpy(to, text + from, i - from);
        to += i - from;
        from = i + 1;
    }
    std::memcpy(to, text + from, size - from);
    to += size - from;
    out.resize(static_cast<std::size_t>(to - out.data()));
}

struct MovieUrlParts {
    std::string head; // UTF-8, ends in "dataXML="
    // UTF-8, never changed by anyone while shared; null stands for an empty document.
    std::shared_ptr<const std::string> document;
    MovieDocumentForm form = MovieDocumentForm::Whole;

    // The document as the URL holds it. Cannot fail beyond running out of memory.
    std::string documentText() const {
        std::string out;
        if (document) appendMovieDocument(out, *document, form);
        return out;
    }
    // The whole URL: head, then the document in its form. Cannot fail beyond running out of
    // memory.
    std::string text() const {
        std::string out;
        out.reserve(head.size() + (document ? document->size() : 0));
        out += head;
        if (document) appendMovieDocument(out, *document, form);
        return out;
    }
};

} // namespace plotara
