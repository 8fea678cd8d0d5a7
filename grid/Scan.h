#pragma once
// Finding line ends in long texts. The canvas and every opened file are scanned for them, so
// these look at eight characters at a time where the processor allows it.

#include <bit>
#include <cstddef>
#include <string_view>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace masumemo::grid::scan {

/// The position of the first a or b at or after pos, or the text's size when there is none.
inline size_t findEither(std::u16string_view text, size_t pos, char16_t a, char16_t b)
{
#ifdef __SSE2__
    const __m128i va = _mm_set1_epi16(static_cast<short>(a));
    const __m128i vb = _mm_set1_epi16(static_cast<short>(b));
    for (; pos + 8 <= text.size(); pos += 8) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + pos));
        const __m128i hit = _mm_or_si128(_mm_cmpeq_epi16(chunk, va), _mm_cmpeq_epi16(chunk, vb));
        const int mask = _mm_movemask_epi8(hit);
        if (mask != 0) {
            return pos + static_cast<size_t>(std::countr_zero(static_cast<unsigned>(mask))) / 2;
        }
    }
#endif
    for (; pos < text.size(); ++pos) {
        if (text[pos] == a || text[pos] == b) {
            return pos;
        }
    }
    return text.size();
}

/// The position of the first CR at or after pos, or the text's size.
inline size_t findCr(std::u16string_view text, size_t pos)
{
    return findEither(text, pos, u'\r', u'\r');
}

/// The position of the first CR or LF at or after pos, or the text's size.
inline size_t findBreak(std::u16string_view text, size_t pos)
{
    return findEither(text, pos, u'\r', u'\n');
}

}  // namespace masumemo::grid::scan
