// Words of source bits, one bit per source of a batch searched together: a 64-bit integer, or
// two or four of them side by side in the processor's vector registers (GCC and Clang vector
// extensions), so that one operation serves 128 or 256 sources.
#pragma once

#include <bit>
#include <cstdint>
#include <type_traits>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace vantrel::analysis {

using SourceBits = std::uint64_t;
inline constexpr int kSourcesPerWave = 64;

typedef std::uint64_t SourceBits2 __attribute__((vector_size(16)));
typedef std::uint64_t SourceBits4 __attribute__((vector_size(32)));

template <class Word> inline constexpr int kWordLanes = sizeof(Word) / sizeof(std::uint64_t);
template <class Word> inline constexpr int kWordSources = kSourcesPerWave* kWordLanes<Word>;

// The 64 bits of one lane.
template <class Word> std::uint64_t LaneOf(const Word& bits, int lane) {
    if constexpr (std::is_same_v<Word, SourceBits>) {
        return bits;
    } else {
        return bits[lane];
    }
}

// Sets the bit of one source.
template <class Word> void SetSourceBit(Word& word, int bit) {
    if constexpr (std::is_same_v<Word, SourceBits>) {
        word |= SourceBits{1} << bit;
    } else {
        word[bit / kSourcesPerWave] |= std::uint64_t{1} << (bit % kSourcesPerWave);
    }
}

inline bool NoBits(SourceBits bits) {
    return bits == 0;
}
inline bool NoBits(const SourceBits2& bits) {
    return (bits[0] | bits[1]) == 0;
}
#if defined(__x86_64__)
// Only ever called from code built for AVX2, where this is one instruction.
[[gnu::target("avx2")]] inline bool NoBits(const SourceBits4& bits) {
    const auto word = reinterpret_cast<const __m256i&>(bits);
    return _mm256_testz_si256(word, word);
}
#else
inline bool NoBits(const SourceBits4& bits) {
    return ((bits[0] | bits[1]) | (bits[2] | bits[3])) == 0;
}
#endif
template <class Word> bool AnyBits(const Word& bits) {
    return !NoBits(bits);
}

// Calls visit(bit) for each set bit, lowest first.
template <class Word, class Visit> void ForEachSourceBit(const Word& bits, Visit&& visit) {
    for (int lane = 0; lane < kWordLanes<Word>; ++lane) {
        for (std::uint64_t rest = LaneOf(bits, lane); rest != 0; rest &= rest - 1)
            visit(lane * kSourcesPerWave + std::countr_zero(rest));
    }
}

} // namespace vantrel::analysis
