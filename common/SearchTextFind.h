#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Substring search over the padded folded texts: the loop reads whole 16-byte blocks, so the
// haystack must be followed by at least kPadding readable bytes.
namespace SearchTextFind {

inline constexpr std::size_t kPadding = 16;

namespace detail {

// Up to 8 bytes of a word as one integer and the mask of those bytes: the haystack is padded,
// so 8 bytes can be read anywhere a word may start and compared in one step.
inline std::pair<std::uint64_t, std::uint64_t> wordHead(const char *bytes, std::size_t length)
{
    char head[8] = {};
    char ones[8] = {};
    for (std::size_t i = 0; i < length && i < 8; ++i) {
        head[i] = bytes[i];
        ones[i] = char(0xff);
    }
    // Byte order as the haystack's bytes are loaded.
    std::uint64_t word, mask;
    std::memcpy(&word, head, 8);
    std::memcpy(&mask, ones, 8);
    return {word, mask};
}

// needle's bytes 1 to length - 2 at `at` (8 bytes readable after it), middle being wordHead of
// those bytes.
inline bool middleEqual(const char *at, const char *needle, std::size_t length,
                        std::pair<std::uint64_t, std::uint64_t> middle)
{
    std::uint64_t bytes;
    std::memcpy(&bytes, at, 8);
    return ((bytes ^ middle.first) & middle.second) == 0
        && (length <= 10 || std::memcmp(at + 8, needle + 9, length - 10) == 0);
}

// Where needle first occurs in haystack, or size when it does not. Compares the needle's first
// and last bytes at 16 candidate positions at once and checks the middle only where both agree,
// which on natural text is rare. Scanning many records' texts joined in one run pays the set-up
// once instead of per record.
inline std::size_t find(const char *haystack, std::size_t size, const char *needle,
                        std::size_t length, std::pair<std::uint64_t, std::uint64_t> middle)
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
    std::size_t i = 0;
    for (;;) {
        // No call inside this loop: a call would clobber every vector register and the compiler
        // would keep the broadcast bytes and the counter on the stack for every block.
        unsigned mask = 0;
        for (; i <= lastStart; i += 16) {
            const __m128i blockFirst =
                _mm_loadu_si128(reinterpret_cast<const __m128i *>(haystack + i));
            const __m128i blockLast =
                _mm_loadu_si128(reinterpret_cast<const __m128i *>(haystack + i + length - 1));
            mask = unsigned(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(blockFirst, first),
                                                            _mm_cmpeq_epi8(blockLast, last))));
            if (mask != 0)
                break;
        }
        if (i > lastStart)
            return size;
        const std::size_t candidates = lastStart - i + 1;
        if (candidates < 16)
            mask &= (1u << candidates) - 1;
        while (mask != 0) {
            const unsigned bit = unsigned(__builtin_ctz(mask));
            if (middleEqual(haystack + i + bit + 1, needle, length, middle))
                return i + bit;
            mask &= mask - 1;
        }
        i += 16;
    }
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

} // namespace detail

inline std::size_t find(const char *haystack, std::size_t size, const char *needle,
                        std::size_t length)
{
    return detail::find(haystack, size, needle, length,
                        detail::wordHead(needle + (length > 1), length > 2 ? length - 2 : 0));
}

// Whether needle occurs in haystack.
inline bool contains(const char *haystack, std::size_t size, const char *needle, std::size_t length)
{
    return length == 0 || (length <= size && find(haystack, size, needle, length) != size);
}

// A folded word searched for in many texts: what every search of it needs is worked out once.
class Needle
{
public:
    Needle() = default;
    explicit Needle(std::string word);

    const std::string &word() const { return mWord; }
    std::size_t size() const { return mWord.size(); }

    // In a padded haystack, as SearchTextFind::find.
    std::size_t find(const char *haystack, std::size_t size) const
    {
        return detail::find(haystack, size, mWord.data(), mWord.size(), mMiddle);
    }
    bool foundIn(const char *haystack, std::size_t size) const
    {
        return mWord.empty() || (mWord.size() <= size && find(haystack, size) != size);
    }
    // Whether a padded haystack starts with the word.
    bool starts(const char *haystack, std::size_t size) const
    {
        if (mWord.size() > size)
            return false;
        std::uint64_t bytes;
        std::memcpy(&bytes, haystack, 8);
        return ((bytes ^ mHead.first) & mHead.second) == 0
            && (mWord.size() <= 8
                || std::memcmp(haystack + 8, mWord.data() + 8, mWord.size() - 8) == 0);
    }

private:
    std::string mWord;
    std::pair<std::uint64_t, std::uint64_t> mHead{0, 0};
    std::pair<std::uint64_t, std::uint64_t> mMiddle{0, 0};
};

} // namespace SearchTextFind
