#include "control/MovieUrl.h"

#include "core/Error.h"
#include "core/Number.h"

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
    const std::string native = toUtf8(p);
    if (native.empty() || native.find('\0') != std::string::npos) return false;
    const int fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info {};
    const bool readable = ::fstat(fd, &info) == 0 && !S_ISDIR(info.st_mode);
    ::close(fd);
    return readable;
}

namespace {

// The rules, one character at a time: a CR is dropped when a LF follows it and a LF when a CR
// precedes it (CR LF pairs cannot overlap, so this is the left-to-right removal of the pairs);
// with everything set, every other CR and every tab go as well. Removing the pairs first and the
// tabs and CRs afterwards gives the same text, as no LF changes its fate.
// Where the processor has 512-bit vectors (checked once at run time), 16 characters are
// classified and left-packed per step with the same rules; the look-ahead character and the
// previous one come from the original text, which the packing never overwrites before it is read.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define PLOTARA_COMPACT_AVX512 1
__attribute__((target("avx512f"))) std::size_t compactBlocks(wchar_t* chars, std::size_t size,
                                                             bool everything, wchar_t& previous,
                                                             std::size_t& out) {
    static_assert(sizeof(wchar_t) == 4, "characters are 32-bit here");
    const __m512i cr = _mm512_set1_epi32(L'\r');
    const __m512i lf = _mm512_set1_epi32(L'\n');
    const __m512i tab = _mm512_set1_epi32(L'\t');
    std::size_t in = 0;
    for (; in + 17 <= size; in += 16) {
        const __m512i block = _mm512_loadu_si512(chars + in);
        const __m512i next = _mm512_loadu_si512(chars + in + 1);
        const __mmask16 isCR = _mm512_cmpeq_epi32_mask(block, cr);
        const __mmask16 isLF = _mm512_cmpeq_epi32_mask(block, lf);
        const __mmask16 prevCR = static_cast<__mmask16>((isCR << 1) | (previous == L'\r' ? 1 : 0));
        __mmask16 drop = isLF & prevCR;
        if (everything)
            drop |= isCR | _mm512_cmpeq_epi32_mask(block, tab);
        else
            drop |= isCR & _mm512_cmpeq_epi32_mask(next, lf);
        previous = chars[in + 15];
        const __mmask16 keep = static_cast<__mmask16>(~drop);
        _mm512_mask_compressstoreu_epi32(chars + out, keep, block);
        out += static_cast<std::size_t>(__builtin_popcount(keep));
    }
    return in;
}
#endif

void compact(String& text, bool everything) {
    wchar_t* chars = text.data();
    const std::size_t size = text.size();
    std::size_t in = 0, out = 0;
    wchar_t previous = 0;
#ifdef PLOTARA_COMPACT_AVX512
    static const bool vectors = __builtin_cpu_supports("avx512f");
    if (vectors) in = compactBlocks(chars, size, everything, previous, out);
#endif
    for (; in < size; ++in) {
        const wchar_t c = chars[in];
        const wchar_t next = in + 1 < size ? chars[in + 1] : 0;
        const bool drop = (c == L'\r' && (everything || next == L'\n')) ||
                          (c == L'\n' && previous == L'\r') || (everything && c == L'\t');
        chars[out] = c;
        out += drop ? 0 : 1;
        previous = c;
    }
    text.resize(out);
}

} // namespace

String StripLineBreaks(String text) {
    compact(text, false);
    return text;
}

void stripLineBreaksTabsAndCarriageReturns(String& text) {
    compact(text, true);
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
