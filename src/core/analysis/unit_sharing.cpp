#include "core/analysis/unit_sharing.h"

#include <bit>

namespace vantrel::analysis {

// Each sum is cut into four 32-bit pieces, each piece summed in 64 bits, which holds the sum of
// as many as 2^31 processes' pieces, and put together again with its carries.
void SumOverProcesses(UnitSharing& sharing, std::span<FixedPointSum> sums) {
    __extension__ typedef unsigned __int128 Bits;
    constexpr int kPieces = 4;
    constexpr int kPieceBits = 32;
    std::vector<std::int64_t> pieces(sums.size() * kPieces);
    for (std::size_t cell = 0; cell < sums.size(); ++cell) {
        const auto value = static_cast<Bits>(sums[cell]);
        for (int piece = 0; piece < kPieces; ++piece)
            pieces[cell * kPieces + piece] =
                static_cast<std::int64_t>((value >> (piece * kPieceBits)) & 0xffffffffU);
    }
    sharing.sum(pieces);
    for (std::size_t cell = 0; cell < sums.size(); ++cell) {
        Bits value = 0;
        for (int piece = 0; piece < kPieces; ++piece)
            value += static_cast<Bits>(pieces[cell * kPieces + piece]) << (piece * kPieceBits);
        sums[cell] = static_cast<FixedPointSum>(value);
    }
}

// Adding a cell's bits to zeros gives its bits back, whatever they mean.
void JoinCells(UnitSharing& sharing, std::span<double> cells) {
    std::vector<std::int64_t> bits(cells.size());
    for (std::size_t cell = 0; cell < cells.size(); ++cell)
        bits[cell] = std::bit_cast<std::int64_t>(cells[cell]);
    sharing.sum(bits);
    for (std::size_t cell = 0; cell < cells.size(); ++cell)
        cells[cell] = std::bit_cast<double>(bits[cell]);
}

void JoinCells(UnitSharing& sharing, std::span<std::int32_t> cells) {
    std::vector<std::int64_t> wide(cells.begin(), cells.end());
    sharing.sum(wide);
    for (std::size_t cell = 0; cell < cells.size(); ++cell)
        cells[cell] = static_cast<std::int32_t>(wide[cell]);
}

} // namespace vantrel::analysis
