#include "control/MovieUrlText.h"

#include "core/Error.h"
#include "core/FilePath.h"
#include "core/Number.h"
#include "platform/MovieUrlParts.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <memory>
#if defined(__x86_64__)
#include <cpuid.h>
#include <immintrin.h>
#endif
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plotara::movieurl {

bool FileExists(const String& path) {
    String p = path;
    if (!p.empty() && p.back() == L'\\') p.pop_back();
    const std::string native = toPath(p).native();
    if (native.empty() || native.find('\0') != std::string::npos) return false;
    const int fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info {};
    const bool readable = ::fstat(fd, &info) == 0 && !S_ISDIR(info.st_mode);
    ::close(fd);
    return readable;
}

namespace {

bool vectorRemoval = true;

// The rules, for the character at i: a CR is dropped when a LF follows it and a LF when a CR
// precedes it (CR LF pairs cannot overlap, so this is the left-to-right removal of the pairs);
// with everything set, every other CR and every tab go as well. Removing the pairs first and the
// tabs and CRs afterwards gives the same text, as no LF changes its fate. Each character's fate
// depends only on its neighbours in the text, so any stretch of the text can be done apart.
bool dropped(const wchar_t* chars, std::size_t size, std::size_t i, bool everything) {
    const wchar_t c = chars[i];
    if (c == L'\r') return everything || (i + 1 < size && chars[i + 1] == L'\n');
    if (c == L'\n') return i > 0 && chars[i - 1] == L'\r';
    return everything && c == L'\t';
}

// The UTF-8 output of the removal: a string written through a position, grown (by half again, so
// that many wide characters cost amortised constant time) when a character might not fit in
// what is left. `room` is what the rest of the text needs if it is all ASCII, plus the 16 bytes
// a vector store may write past its kept characters.
struct Output {
    std::string& text;
    std::size_t at;

    char* reserve(std::size_t room) {
        if (at + room > text.size()) text.resize(std::max(at + room, text.size() * 3 / 2));
        return text.data() + at;
    }
};

// Characters begin to end of the text, one at a time.
void removeStepwise(const wchar_t* chars, std::size_t size, std::size_t begin, std::size_t end,
                    bool everything, Output& out) {
    for (std::size_t i = begin; i < end; ++i) {
        if (dropped(chars, size, i, everything)) continue;
        const wchar_t c = chars[i];
        if (c >= 0 && c < 0x80) {
            out.text[out.at++] = static_cast<char>(c);
            continue;
        }
        // Past the 1 byte per character that room counts, 3 more for this one.
        out.at += encodeUtf8(c, out.reserve(size - i + 16 + 3));
    }
}

// Where the processor has 512-bit vectors (checked once at run time), blocks of 16 characters
// that are all ASCII are classified, left-packed and narrowed to bytes in registers and stored
// whole (the store form of the packing instruction is microcoded and several times slower on
// some processors); a block with another character goes one character at a time. The
// characters next to a block are read from the text again, shifted by one, rather than carried
// from step to step, which keeps a carried bit off the critical path. Returns where the
// blocks ended; the rest is left to the caller.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define PLOTARA_REMOVAL_AVX512 1
// Whether the processor has the 512-bit foundation instructions (CPUID leaf 7) and the system
// saves their registers (XCR0 bits 1, 2, 5, 6 and 7). Asked here, on first use, rather than with
// __builtin_cpu_supports, which links libgcc's start-up routine: it questions the processor
// some twenty times at every start of the program, slowly under a hypervisor.
bool hasAvx512() {
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__get_cpuid(1, &a, &b, &c, &d) || !(c & bit_OSXSAVE)) return false;
    if (!__get_cpuid_count(7, 0, &a, &b, &c, &d) || !(b & bit_AVX512F)) return false;
    unsigned low = 0, high = 0;
    __asm__("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
    return (low & 0xE6) == 0xE6;
}

__attribute__((target("avx512f"))) std::size_t removeBlocks(const wchar_t* chars, std::size_t size,
                                                            bool everything, Output& out) {
    static_assert(sizeof(wchar_t) == 4, "characters are 32-bit here");
    const __m512i cr = _mm512_set1_epi32(L'\r');
    const __m512i lf = _mm512_set1_epi32(L'\n');
    const __m512i tab = _mm512_set1_epi32(L'\t');
    const __m512i ascii = _mm512_set1_epi32(0x7F);
    // Locals, not the members: the stores through the output could alias them.
    char* text = out.text.data();
    std::size_t written = out.at;
    std::size_t in = 0;
    for (; in + 17 <= size; in += 16) {
        const __m512i block = _mm512_loadu_si512(chars + in);
        // Unsigned: a negative wchar_t is not ASCII either.
        if (_mm512_cmpgt_epu32_mask(block, ascii) != 0) {
            out.at = written;
            removeStepwise(chars, size, in, in + 16, everything, out);
            text = out.text.data(); // the string may have grown
            written = out.at;
            continue;
        }
        const unsigned isCR = _mm512_cmpeq_epi32_mask(block, cr);
        const unsigned isLF = _mm512_cmpeq_epi32_mask(block, lf);
        const unsigned prevCR = in > 0 ? static_cast<unsigned>(_mm512_cmpeq_epi32_mask(
                                             _mm512_loadu_si512(chars + in - 1), cr))
                                       : isCR << 1;
        unsigned drop = isLF & prevCR;
        if (everything) {
            drop |= isCR | _mm512_cmpeq_epi32_mask(block, tab);
        } else {
            const unsigned nextLF = (isLF >> 1) | (chars[in + 16] == L'\n' ? 0x8000u : 0u);
            drop |= isCR & nextLF;
        }
        const auto keep = static_cast<__mmask16>(~drop);
        // The zero-masked form of the narrowing: the plain one starts from an undefined register,
        // which g++ reports as maybe uninitialised.
        const __m128i bytes =
            _mm512_maskz_cvtepi32_epi8(0xFFFF, _mm512_maskz_compress_epi32(keep, block));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(text + written), bytes);
        written += static_cast<std::size_t>(__builtin_popcount(keep));
    }
    out.at = written;
    return in;
}
#endif

// Whether text is UTF-8 that fromUtf8 reads without a replacement: no stray continuation
// byte, overlong form, surrogate or code point past U+10FFFF.
bool isValidUtf8(std::string_view text) {
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t need = 0;
        unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
        if (lead >= 0xC2 && lead <= 0xDF) {
            need = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            need = 2;
            if (lead == 0xE0) low = 0xA0;
            if (lead == 0xED) high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            need = 3;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F;
        } else {
            return false;
        }
        if (i + need >= n) return false;
        for (std::size_t k = 1; k <= need; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            const unsigned char lo = k == 1 ? low : 0x80, hi = k == 1 ? high : 0xBF;
            if (next < lo || next > hi) return false;
        }
        i += need + 1;
    }
    return true;
}

// The wide-to-wide form: the kept characters of text, moved to the front of it.
void compact(String& text, bool everything) {
    std::size_t written = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!dropped(text.data(), text.size(), i, everything)) text[written++] = text[i];
    }
    text.resize(written);
}

} // namespace

void useVectorLineBreakRemoval(bool on) {
    vectorRemoval = on;
}

String StripLineBreaks(String text) {
    compact(text, false);
    return text;
}

void stripLineBreaksTabsAndCarriageReturns(String& text) {
    compact(text, true);
}

void appendWithoutLineBreaks(std::string& out, StringView text, bool everything) {
    const wchar_t* chars = text.data();
    const std::size_t size = text.size();
    Output output{out, out.size()};
    output.reserve(size + 16);
    std::size_t in = 0;
#ifdef PLOTARA_REMOVAL_AVX512
    static const bool vectors = hasAvx512();
    if (vectors && vectorRemoval) in = removeBlocks(chars, size, everything, output);
#endif
    removeStepwise(chars, size, in, size, everything, output);
    out.resize(output.at);
}

void appendWithoutLineBreaks(std::string& out, std::string_view utf8, bool everything) {
    appendMovieDocument(out, utf8,
                        everything ? MovieDocumentForm::WithoutCrLfAndTabs
                                   : MovieDocumentForm::WithoutCrLf);
}

std::shared_ptr<const std::string> validUtf8(std::shared_ptr<const std::string> text) {
    if (!text) return std::make_shared<const std::string>();
    if (isValidUtf8(*text)) return text;
    return std::make_shared<const std::string>(toUtf8(fromUtf8(*text)));
}

String ChartMessageParamName(Integer messageType) {
    static constexpr const wchar_t* names[] = {
        L"",
        L"PBarLoadingText",
        L"XMLLoadingText",
        L"ParsingDataText",
        L"ChartNoDataText",
        L"RenderingChartText",
        L"LoadDataErrorText",
        L"InvalidXMLText",
    };
    if (messageType < 0 || messageType > 7) raise(errors::subscriptOutOfRange());
    return names[messageType];
}

String numberText(Single value, wchar_t decimalSeparator) {
    return number::formatSingle(value, decimalSeparator);
}

} // namespace plotara::movieurl
