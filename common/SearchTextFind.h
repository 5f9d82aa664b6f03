#pragma once

#include <cstddef>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Substring search over the padded folded texts: the loop reads whole 16-byte blocks, so the
// haystack must be followed by at least kPadding readable bytes.
namespace SearchTextFind {

inline constexpr std::size_t kPadding = 16;

// Where needle first occurs in haystack, or size when it does not. Compares the needle's first
// and last bytes at 16 candidate positions at once and checks the middle only where both agree,
// which on natural text is rare. Scanning many records' texts joined in one run pays the set-up
// once instead of per record.
inline std::size_t find(const char *haystack, std::size_t size, const char *needle,
                        std::size_t length)
{
    if (length == 0)
        return 0;
    if (length > size)
        return size;
    if (length == 1) {
        const void *hit = std::memchr(haystack, needle[0], size);
        return hit ? std::size_t(static_cast<const char *>(hit) - haystack) : size;
    }
    const std::size_t lastStart = size - length;
#if defined(__SSE2__)
    const __m128i first = _mm_set1_epi8(needle[0]);
    const __m128i last = _mm_set1_epi8(needle[length - 1]);
    for (std::size_t i = 0; i <= lastStart; i += 16) {
        const __m128i blockFirst = _mm_loadu_si128(reinterpret_cast<const __m128i *>(haystack + i));
        const __m128i blockLast =
            _mm_loadu_si128(reinterpret_cast<const __m128i *>(haystack + i + length - 1));
        unsigned mask = unsigned(_mm_movemask_epi8(
            _mm_and_si128(_mm_cmpeq_epi8(blockFirst, first), _mm_cmpeq_epi8(blockLast, last))));
        const std::size_t candidates = lastStart - i + 1;
        if (candidates < 16)
            mask &= (1u << candidates) - 1;
        while (mask != 0) {
            const unsigned bit = unsigned(__builtin_ctz(mask));
            if (std::memcmp(haystack + i + bit + 1, needle + 1, length - 2) == 0)
                return i + bit;
            mask &= mask - 1;
        }
    }
    return size;
#else
    for (std::size_t i = 0; i <= lastStart; ++i) {
        const void *hit = std::memchr(haystack + i, needle[0], lastStart - i + 1);
        if (!hit)
            return size;
        i = std::size_t(static_cast<const char *>(hit) - haystack);
        if (std::memcmp(haystack + i + 1, needle + 1, length - 1) == 0)
            return i;
    }
    return size;
#endif
}

// Whether needle occurs in haystack.
inline bool contains(const char *haystack, std::size_t size, const char *needle, std::size_t length)
{
    return length == 0 || (length <= size && find(haystack, size, needle, length) != size);
}

} // namespace SearchTextFind
