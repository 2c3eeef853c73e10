// Counters side by side, one per source bit of a word, kept as binary digit planes.
#pragma once

#include "core/analysis/source_words.h"

#include <algorithm>
#include <cstdint>

namespace vantrel::analysis {

// Adding a word of bits is a fixed handful of bitwise operations without branches: words wait in
// eights, which a tree of carry-save adders sums into the lowest three planes, and what carries out
// of them ripples up as far as it goes. A counter that passes what the planes hold spills into a
// plain count.
template <class Word> class PlaneCounts {
public:
    void add(const Word& bits) {
        m_waiting[m_waitingCount] = bits;
        m_waitingCount += AnyBits(bits);
        if (m_waitingCount == kWaiting)
            addWaiting();
    }

    // take(bit, count) for bits 0..bitCount-1, then every counter is 0 again.
    template <class Take> void drain(int bitCount, Take&& take) {
        for (int i = 0; i < m_waitingCount; ++i)
            carry(m_waiting[i], 0);
        m_waitingCount = 0;
        // The planes' set bits are few: counts are small numbers.
        std::int32_t counts[kWordSources<Word>];
        std::copy(std::begin(m_spilled), std::end(m_spilled), counts);
        for (int plane = 0; plane < kPlanes; ++plane) {
            ForEachSourceBit(m_planes[plane], [&](int bit) { counts[bit] += 1 << plane; });
            m_planes[plane] = Word{};
        }
        for (int bit = 0; bit < bitCount; ++bit)
            take(bit, counts[bit]);
        if (m_hasSpilled) {
            std::fill(std::begin(m_spilled), std::end(m_spilled), 0);
            m_hasSpilled = false;
        }
    }

private:
    static constexpr int kPlanes = 12;
    static constexpr int kWaiting = 8;

    // high:low = a + b + c, bit by bit.
    static void carrySave(Word& high, Word& low, const Word& a, const Word& b, const Word& c) {
        const Word half = a ^ b;
        high = (a & b) | (half & c);
        low = half ^ c;
    }

    void addWaiting() {
        Word ones = m_planes[0], twos = m_planes[1], fours = m_planes[2];
        Word twosA, twosB, foursA, foursB, eights;
        carrySave(twosA, ones, ones, m_waiting[0], m_waiting[1]);
        carrySave(twosB, ones, ones, m_waiting[2], m_waiting[3]);
        carrySave(foursA, twos, twos, twosA, twosB);
        carrySave(twosA, ones, ones, m_waiting[4], m_waiting[5]);
        carrySave(twosB, ones, ones, m_waiting[6], m_waiting[7]);
        carrySave(foursB, twos, twos, twosA, twosB);
        carrySave(eights, fours, fours, foursA, foursB);
        m_planes[0] = ones;
        m_planes[1] = twos;
        m_planes[2] = fours;
        m_waitingCount = 0;
        carry(eights, 3);
    }

    // Adds bits worth 2^plane each.
    void carry(const Word& added, int plane) {
        Word bits = added;
        for (; plane < kPlanes && AnyBits(bits); ++plane) {
            const Word next = m_planes[plane] & bits;
            m_planes[plane] ^= bits;
            bits = next;
        }
        if (plane == kPlanes && AnyBits(bits))
            spill(bits);
    }

    void spill(const Word& bits) {
        ForEachSourceBit(bits, [&](int bit) { m_spilled[bit] += 1 << kPlanes; });
        m_hasSpilled = true;
    }

    Word m_planes[kPlanes] = {};
    Word m_waiting[kWaiting] = {};
    int m_waitingCount = 0;
    std::int32_t m_spilled[kWordSources<Word>] = {};
    bool m_hasSpilled = false;
};

} // namespace vantrel::analysis
