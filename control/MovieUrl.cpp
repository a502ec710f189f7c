#include "control/MovieUrl.h"

#include "core/Error.h"
#include "core/FilePath.h"
#include "core/Number.h"

#include <algorithm>
#include <cwchar>
#if defined(__x86_64__)
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

// The rules, one character at a time: a CR is dropped when a LF follows it and a LF when a CR
// precedes it (CR LF pairs cannot overlap, so this is the left-to-right removal of the pairs);
// with everything set, every other CR and every tab go as well. Removing the pairs first and the
// tabs and CRs afterwards gives the same text, as no LF changes its fate.
// Where the processor has 512-bit vectors (checked once at run time), 16 characters are
// classified and left-packed per step with the same rules.
//
// compactText writes the kept characters of text to out, which must have room for text.size()
// + 16 characters, and returns how many it kept. Out may be the text itself: a block's
// 16-character store never reaches past the block, and each block and its look-ahead are read
// before anything is written over them. compactBlocks does the whole blocks and leaves the rest,
// with the last character it read in previous, to the character loop.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define PLOTARA_COMPACT_AVX512 1
__attribute__((target("avx512f"))) std::size_t compactBlocks(const wchar_t* chars, std::size_t size,
                                                             bool everything, wchar_t* out,
                                                             wchar_t& previousOut,
                                                             std::size_t& writtenOut) {
    static_assert(sizeof(wchar_t) == 4, "characters are 32-bit here");
    const __m512i cr = _mm512_set1_epi32(L'\r');
    const __m512i lf = _mm512_set1_epi32(L'\n');
    const __m512i tab = _mm512_set1_epi32(L'\t');
    // Locals, not the references: the stores through out could alias them, which would keep
    // both in memory and put a store-to-load round trip into every step. Whether the character
    // before a block is a CR is carried over from the block before as a bit (or, out of place,
    // read from the text), and whether the one after a character is a LF comes from the block's
    // own LF bits and the character after it.
    unsigned carriedCR = 0;
    std::size_t written = 0;
    std::size_t in = 0;
    wchar_t lastRead = 0;
    const bool readBack = out != chars;
    for (; in + 17 <= size; in += 16) {
        const __m512i block = _mm512_loadu_si512(chars + in);
        lastRead = chars[in + 15]; // read before the store: in place, it is overwritten
        const unsigned isCR = _mm512_cmpeq_epi32_mask(block, cr);
        const unsigned isLF = _mm512_cmpeq_epi32_mask(block, lf);
        unsigned drop;
        if (everything) {
            // Out of place, the characters before a block are read again, shifted by one, which
            // keeps the carried bit out of the step's critical path.
            const unsigned prevCR = readBack && in > 0
                                        ? static_cast<unsigned>(_mm512_cmpeq_epi32_mask(
                                              _mm512_loadu_si512(chars + in - 1), cr))
                                        : (isCR << 1) | carriedCR;
            drop = (isLF & prevCR) | isCR | _mm512_cmpeq_epi32_mask(block, tab);
        } else {
            drop = isLF & ((isCR << 1) | carriedCR);
            const unsigned nextLF = (isLF >> 1) | (chars[in + 16] == L'\n' ? 0x8000u : 0u);
            drop |= isCR & nextLF;
        }
        carriedCR = isCR >> 15;
        const auto keep = static_cast<__mmask16>(~drop);
        // Packed in a register and stored whole: the store form of the packing instruction is
        // microcoded and several times slower on some processors. The characters past the kept
        // ones land where the next block's characters go, or in the room the caller leaves.
        _mm512_storeu_si512(out + written, _mm512_maskz_compress_epi32(keep, block));
        written += static_cast<std::size_t>(__builtin_popcount(keep));
    }
    previousOut = lastRead;
    writtenOut = written;
    return in;
}
#endif

std::size_t compactText(StringView text, bool everything, wchar_t* out) {
    const wchar_t* chars = text.data();
    const std::size_t size = text.size();
    std::size_t in = 0, written = 0;
    wchar_t previous = 0;
#ifdef PLOTARA_COMPACT_AVX512
    static const bool vectors = __builtin_cpu_supports("avx512f");
    if (vectors && vectorRemoval)
        in = compactBlocks(chars, size, everything, out, previous, written);
#endif
    for (; in < size; ++in) {
        const wchar_t c = chars[in];
        const wchar_t next = in + 1 < size ? chars[in + 1] : 0;
        const bool drop = (c == L'\r' && (everything || next == L'\n')) ||
                          (c == L'\n' && previous == L'\r') || (everything && c == L'\t');
        out[written] = c;
        written += drop ? 0 : 1;
        previous = c;
    }
    return written;
}

void compact(String& text, bool everything) {
    text.resize(compactText(text, everything, text.data()));
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

void assignWithoutLineBreaks(String& out, StringView head, StringView text, bool everything) {
    // The text is compacted straight into out. Growing a string fills the new characters first,
    // so out keeps its length from last time and only what it lacks now is grown; the
    // characters left from before are overwritten.
    const std::size_t room = head.size() + text.size() + 16;
    if (out.size() < room) out.resize(room);
    std::copy(head.begin(), head.end(), out.data());
    const std::size_t kept = compactText(text, everything, out.data() + head.size());
    out.resize(head.size() + kept);
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
