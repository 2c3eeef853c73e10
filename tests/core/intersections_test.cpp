#include "core/geometry/intersections.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <random>
#include <utility>
#include <vector>

namespace vantrel::geometry {
namespace {

AxialLine Line(float x1, float y1, float x2, float y2) {
    return {x1, y1, x2, y2};
}

float Below(float value) {
    return std::nextafter(value, -std::numeric_limits<float>::infinity());
}

TEST(CrossLines, TwoLinesCrossingInTheMiddleMeetAtTheirCommonPoint) {
    EXPECT_EQ(CrossLines(Line(0, 2, 4, 2), Line(2, 0, 2, 4)), (Crossing{2, 2}));
    EXPECT_EQ(CrossLines(Line(0, 0, 8, 8), Line(0, 8, 8, 0)), (Crossing{4, 4}));
}

TEST(CrossLines, AnLWhoseEndsMeetGivesAJunctionAtTheSharedEnd) {
    const AxialLine across = Line(0, 0, 100, 0);
    EXPECT_EQ(CrossLines(across, Line(100, 0, 100, 100)), (Crossing{100, 0}));
    EXPECT_EQ(CrossLines(across, Line(100, 100, 100, 0)), (Crossing{100, 0}));
    EXPECT_EQ(CrossLines(across, Line(0, 0, -30, 70)), (Crossing{0, 0}));
    EXPECT_EQ(CrossLines(Line(100, 0, 0, 0), Line(0, 0, -30, 70)), (Crossing{0, 0}));
}

TEST(CrossLines, AnLOfSlopedLinesWithFractionalEndsMeetsExactlyAtTheEnd) {
    const Crossing end{1234.5625f, 987.375f};
    const AxialLine first = Line(17.25f, 3.5f, end.x, end.y);
    const AxialLine second = Line(end.x, end.y, 3001.75f, -44.125f);
    EXPECT_EQ(CrossLines(first, second), end);
    EXPECT_EQ(CrossLines(second, first), end);
}

TEST(CrossLines, ATEndingExactlyOnTheOtherLineCrosses) {
    EXPECT_EQ(CrossLines(Line(0, 0, 600, 0), Line(300, 0, 300, 500)), (Crossing{300, 0}));
    EXPECT_EQ(CrossLines(Line(300, 500, 300, 0), Line(0, 0, 600, 0)), (Crossing{300, 0}));
    // On a sloped line: (1.5, 2.25) lies exactly half-way along (0.5, 0.25)-(2.5, 4.25).
    EXPECT_EQ(CrossLines(Line(1.5f, 2.25f, 0, 5), Line(0.5f, 0.25f, 2.5f, 4.25f)),
              (Crossing{1.5f, 2.25f}));
}

TEST(CrossLines, ATStoppingAHairShortGivesNoJunction) {
    EXPECT_FALSE(CrossLines(Line(0, 0, 600, 0), Line(300, Below(0.0f), 300, -500)));
    EXPECT_FALSE(CrossLines(Line(0, 0, 600, 0), Line(300, 500, 300, std::nextafter(0.0f, 1.0f))));
    EXPECT_FALSE(CrossLines(Line(Below(1.5f), 2.25f, 0, 5), Line(0.5f, 0.25f, 2.5f, 4.25f)));
    EXPECT_FALSE(CrossLines(Line(0, 0, Below(100.0f), 0), Line(100, -50, 100, 50)));
}

TEST(CrossLines, ATNearLargeCoordinatesIsDecidedExactly) {
    // 8388607.5 lies exactly on the line from (8388600, 1000) to (8388615, 1030).
    const AxialLine sloped = Line(8388600.0f, 1000.0f, 8388615.0f, 1030.0f);
    EXPECT_EQ(CrossLines(sloped, Line(8388607.5f, 1015.0f, 0, 2000)),
              (Crossing{8388607.5f, 1015.0f}));
    EXPECT_FALSE(CrossLines(sloped, Line(8388607.5f, std::nextafter(1015.0f, 2000.0f), 0, 2000)));
}

TEST(CrossLines, ParallelAndCollinearLinesNeverCross) {
    EXPECT_FALSE(CrossLines(Line(0, 0, 100, 0), Line(0, 10, 100, 10)));
    EXPECT_FALSE(CrossLines(Line(0, 0, 100, 0), Line(50, 0, 150, 0)));
    EXPECT_FALSE(CrossLines(Line(0, 0, 100, 0), Line(100, 0, 200, 0)));
    EXPECT_FALSE(CrossLines(Line(0, 0, 100, 100), Line(100, 100, 0, 0)));
}

TEST(CrossLines, AZeroLengthLineCrossesNothing) {
    EXPECT_FALSE(CrossLines(Line(50, 0, 50, 0), Line(0, 0, 100, 0)));
    EXPECT_FALSE(CrossLines(Line(0, 0, 100, 0), Line(0, 0, 0, 0)));
    EXPECT_FALSE(CrossLines(Line(7, 7, 7, 7), Line(7, 7, 7, 7)));
}

TEST(CrossLines, LinesThatWouldMeetOnlyWhenExtendedDoNotCross) {
    EXPECT_FALSE(CrossLines(Line(0, 0, 100, 0), Line(150, -50, 150, 50)));
    EXPECT_FALSE(CrossLines(Line(0, 0, 100, 100), Line(0, 100, 40, 60)));
}

TEST(CrossLines, ALineWithANonFiniteEndCrossesNothing) {
    const float infinity = std::numeric_limits<float>::infinity();
    EXPECT_FALSE(CrossLines(Line(0, 0, infinity, 0), Line(5, -5, 5, 5)));
    EXPECT_FALSE(CrossLines(Line(5, -5, 5, std::nanf("")), Line(0, 0, 10, 0)));
}

// The crossing rule evaluated in exact integer arithmetic, straight from its definition.
bool CrossesExactly(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2,
                    std::int64_t x3, std::int64_t y3, std::int64_t x4, std::int64_t y4) {
    const std::int64_t d1x = x2 - x1, d1y = y2 - y1, d2x = x4 - x3, d2y = y4 - y3;
    const std::int64_t ex = x3 - x1, ey = y3 - y1;
    const std::int64_t det = d2x * d1y - d2y * d1x;
    if (det == 0)
        return false;
    const auto within = [det](std::int64_t numerator) {
        return det > 0 ? 0 <= numerator && numerator <= det : det <= numerator && numerator <= 0;
    };
    return within(ey * d2x - ex * d2y) && within(ey * d1x - ex * d1y);
}

TEST(CrossLines, DecisionsMatchExactArithmeticOnWholeAndBinaryFractionCoordinates) {
    std::mt19937 random(20240611);
    for (const int range : {6, 40, 1 << 23}) {
        std::uniform_int_distribution<std::int64_t> coordinate(-range, range);
        for (const float scale : {1.0f, 0.0625f, 1024.0f}) {
            for (int trial = 0; trial < 20000; ++trial) {
                std::int64_t c[8];
                for (auto& value : c)
                    value = coordinate(random);
                const auto f = [scale](std::int64_t value) { return float(value) * scale; };
                const AxialLine first = Line(f(c[0]), f(c[1]), f(c[2]), f(c[3]));
                const AxialLine second = Line(f(c[4]), f(c[5]), f(c[6]), f(c[7]));
                ASSERT_EQ(CrossLines(first, second).has_value(),
                          CrossesExactly(c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7]))
                    << c[0] << "," << c[1] << " " << c[2] << "," << c[3] << " / " << c[4] << ","
                    << c[5] << " " << c[6] << "," << c[7] << " scale " << scale;
            }
        }
    }
}

TEST(CrossLines, DecisionsMatchExactArithmeticForEndsPlacedOnOrBesideTheOtherLine) {
    std::mt19937 random(99);
    const auto whole = [&random](std::int64_t low, std::int64_t high) {
        return std::uniform_int_distribution<std::int64_t>(low, high)(random);
    };
    int crossings = 0;
    for (int trial = 0; trial < 100000; ++trial) {
        // The end (px, py) lies k/m of the way along the first line, then is nudged by a unit.
        const std::int64_t x1 = whole(-(1 << 22), 1 << 22), y1 = whole(-(1 << 22), 1 << 22);
        const std::int64_t a = whole(-(1 << 18), 1 << 18), b = whole(-(1 << 18), 1 << 18);
        const std::int64_t m = whole(1, 8), k = whole(0, m);
        const std::int64_t x2 = x1 + m * a, y2 = y1 + m * b;
        const std::int64_t px = x1 + k * a + whole(-1, 1) * whole(0, 1);
        const std::int64_t py = y1 + k * b + whole(-1, 1) * whole(0, 1);
        const std::int64_t qx = whole(-(1 << 23), 1 << 23), qy = whole(-(1 << 23), 1 << 23);
        const bool endFirst = whole(0, 1) == 1;
        const std::int64_t x3 = endFirst ? px : qx, y3 = endFirst ? py : qy;
        const std::int64_t x4 = endFirst ? qx : px, y4 = endFirst ? qy : py;
        const bool expected = CrossesExactly(x1, y1, x2, y2, x3, y3, x4, y4);
        crossings += expected;
        const AxialLine first = Line(float(x1), float(y1), float(x2), float(y2));
        const AxialLine second = Line(float(x3), float(y3), float(x4), float(y4));
        ASSERT_EQ(CrossLines(first, second).has_value(), expected)
            << x1 << "," << y1 << " " << x2 << "," << y2 << " / " << x3 << "," << y3 << " " << x4
            << "," << y4;
        ASSERT_EQ(CrossLines(second, first).has_value(), expected);
    }
    EXPECT_GT(crossings, 10000);
}

TEST(FindJunctions, NoLinesOrOneLineGiveNoJunctions) {
    EXPECT_TRUE(FindJunctions({}, kMaxJunctions).junctions.empty());
    EXPECT_FALSE(FindJunctions({}, kMaxJunctions).capacityExceeded);
    EXPECT_TRUE(FindJunctions({Line(0, 0, 100, 0)}, kMaxJunctions).junctions.empty());
}

TEST(FindJunctions, ThreeLinesThroughOnePointGiveThreeJunctions) {
    const auto search = FindJunctions(
        {Line(0, 0, 200, 200), Line(0, 200, 200, 0), Line(100, 0, 100, 200)}, kMaxJunctions);
    const std::vector<Junction> expected{{1, 2, 100, 100}, {1, 3, 100, 100}, {2, 3, 100, 100}};
    EXPECT_EQ(search.junctions, expected);
    EXPECT_FALSE(search.capacityExceeded);
}

TEST(FindJunctions, RowsAreOrderedByFirstLineThenSecondWithLineNumbersAsFloats) {
    // Lines 1..3 horizontal, 4..7 vertical; line 7 crosses only line 3.
    const std::vector<AxialLine> lines{
        Line(0, 10, 100, 10), Line(0, 20, 100, 20),  Line(0, 30, 100, 30), Line(50, 0, 50, 25),
        Line(60, 15, 60, 40), Line(999, 0, 999, 40), Line(70, 29, 70, 31)};
    const std::vector<Junction> expected{
        {1, 4, 50, 10}, {2, 4, 50, 20}, {2, 5, 60, 20}, {3, 5, 60, 30}, {3, 7.0f, 70, 30}};
    EXPECT_EQ(FindJunctions(lines, kMaxJunctions).junctions, expected);
}

TEST(FindJunctions, TheCounterHearsEachCrossingAsItIsFound) {
    std::vector<int> heard;
    FindJunctions({Line(0, 0, 200, 200), Line(0, 200, 200, 0), Line(100, 0, 100, 200)},
                  kMaxJunctions, [&heard](int found) { heard.push_back(found); });
    EXPECT_EQ(heard, (std::vector<int>{1, 2, 3}));
}

std::vector<AxialLine> Lattice(int horizontal, int vertical) {
    std::vector<AxialLine> lines;
    for (int row = 0; row < horizontal; ++row)
        lines.push_back(Line(0, 100.0f * row + 50, 100.0f * vertical, 100.0f * row + 50));
    for (int column = 0; column < vertical; ++column)
        lines.push_back(Line(100.0f * column + 50, 0, 100.0f * column + 50, 100.0f * horizontal));
    return lines;
}

TEST(FindJunctions, FourHundredNinetyNineCrossingsAreKept) {
    const auto search = FindJunctions(Lattice(1, 499), kMaxJunctions);
    EXPECT_FALSE(search.capacityExceeded);
    EXPECT_EQ(search.junctions.size(), 499u);
}

TEST(FindJunctions, TheFiveHundredthCrossingStopsTheSearchAndKeepsNoJunctions) {
    int lastHeard = 0;
    const auto search = FindJunctions(Lattice(26, 20), kMaxJunctions,
                                      [&lastHeard](int found) { lastHeard = found; });
    EXPECT_TRUE(search.capacityExceeded);
    EXPECT_TRUE(search.junctions.empty());
    EXPECT_EQ(lastHeard, 500);
}

constexpr int kUnlimited = std::numeric_limits<int>::max();

class RecordingProgress final : public Progress {
public:
    void start(int totalSteps) override { total = totalSteps; }
    void advance(int done) override {
        lastDone = done;
        ++advances;
    }
    void finish() override { finished = true; }
    int total = -1, lastDone = 0, advances = 0;
    bool finished = false;
};

TEST(FindAllJunctions, ReportsProgressOverTheLinesAndFinishes) {
    RecordingProgress progress;
    const auto junctions = FindAllJunctions(Widened(Lattice(150, 150)), progress);
    EXPECT_EQ(junctions.size(), 150u * 150u);
    EXPECT_EQ(progress.total, 300);
    EXPECT_EQ(progress.lastDone, 300);
    EXPECT_LE(progress.advances, 101);
    EXPECT_TRUE(progress.finished);
}

TEST(FindAllJunctions, MapsWithoutCrossableLinesGiveNoJunctions) {
    EXPECT_TRUE(FindAllJunctions({}).empty());
    EXPECT_TRUE(FindAllJunctions(Widened({Line(5, 5, 5, 5), Line(5, 5, 5, 5)})).empty());
}

// Random maps of several kinds, each rich in the touching cases the crossing rule must get
// exactly right.
class RandomMaps {
public:
    explicit RandomMaps(unsigned stream) : m_random(stream) {}

    std::vector<AxialLine> next(int kind) {
        const int count = std::uniform_int_distribution(0, 120)(m_random);
        std::vector<AxialLine> lines;
        while (static_cast<int>(lines.size()) < count)
            lines.push_back(line(kind, lines));
        return lines;
    }

private:
    int whole(int low, int high) { return std::uniform_int_distribution(low, high)(m_random); }
    float real(float low, float high) {
        return std::uniform_real_distribution<float>(low, high)(m_random);
    }

    AxialLine line(int kind, const std::vector<AxialLine>& earlier) {
        switch (kind) {
        case 0: // small whole-number coordinates: many ends on other lines, many collinear
            return Line(whole(0, 12), whole(0, 12), whole(0, 12), whole(0, 12));
        case 1: { // axis-aligned lines on a lattice whose steps match the line lengths
            const float x = 10.0f * whole(0, 8), y = 10.0f * whole(0, 8);
            const float length = 10.0f * whole(0, 3);
            return whole(0, 1) ? Line(x, y, x + length, y) : Line(x, y, x, y + length);
        }
        case 2: { // lines starting where an earlier line ends or starts
            const AxialLine free = Line(real(0, 900), real(0, 900), real(0, 900), real(0, 900));
            if (earlier.empty() || whole(0, 3) == 0)
                return free;
            const AxialLine& other = earlier[whole(0, int(earlier.size()) - 1)];
            return whole(0, 1) ? Line(other.x2, other.y2, free.x2, free.y2)
                               : Line(free.x1, free.y1, other.x1, other.y1);
        }
        case 3: { // a few long lines among many short ones, with the odd click
            const float x = real(0, 9000), y = real(0, 6750);
            if (whole(0, 9) == 0)
                return Line(x, y, real(0, 9000), real(0, 6750));
            if (whole(0, 9) == 0)
                return Line(x, y, x, y);
            return Line(x, y, x + real(-300, 300), y + real(-300, 300));
        }
        case 4: { // sloped lines all of extent 4 on whole numbers, so that cells of the fast
                  // search are 4 wide and many crossings fall on their borders
            const int x = whole(0, 16), y = whole(0, 16);
            const int along = whole(-4, 4), side = whole(0, 1) ? 4 : -4;
            return whole(0, 1) ? Line(x, y, x + side, y + along) : Line(x, y, x + along, y + side);
        }
        case 5: { // two clusters far apart, lines of every length from a unit to both clusters
            const float offset = whole(0, 1) ? 0.0f : 1e6f;
            const float x = offset + whole(0, 64), y = offset + whole(0, 64);
            const float length = std::ldexp(1.0f, whole(0, 21));
            return whole(0, 1) ? Line(x, y, x + length, y + whole(-3, 3))
                               : Line(x, y, x + whole(-3, 3), y + length);
        }
        default: // street-like multiples of 15 with repeats
            return Line(15.0f * whole(0, 40), 15.0f * whole(0, 40), 15.0f * whole(0, 40),
                        15.0f * whole(0, 40));
        }
    }

    std::mt19937 m_random;
};

TEST(FindAllJunctions, OneFarLineDoesNotWidenTheSearchOfTheOthers) {
    const std::vector<AxialLine> lines = {Line(0, 30, 60, 30), Line(30, 0, 30, 60),
                                          Line(4950, 135, 1e29f, 4365), Line(4000, 0, 5000, 500)};
    const auto junctions = FindAllJunctions(Widened(lines));
    ASSERT_EQ(junctions.size(), 1u);
    EXPECT_EQ(junctions[0], (MapJunction{1, 2, 30, 30}));
}

// Tiny lines beside one far line once took about 2·10^11 cells each. The search runs in a child
// whose address space is capped, so that such a growth fails the test instead of the machine;
// the child exits with 0 when it finds the junctions.
[[noreturn]] void FindTinyJunctionsInCappedMemory() {
    const std::vector<MapLine> lines = {{1e9, 0, -1e9, 0},
                                        {1e-9, 0, 0, 1e-9},
                                        {2e-9, -1e-9, 2e-9, 1e-9},
                                        {1e9, 1e9, 1e9 + 1.2e-7, 1e9 + 1.2e-7},
                                        {1e9 + 1.2e-7, 1e9, 1e9, 1e9 + 1.2e-7}};
    rlimit limit{};
    ::getrlimit(RLIMIT_AS, &limit);
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    limit.rlim_cur = static_cast<rlim_t>(pages) * ::sysconf(_SC_PAGESIZE) + (256 << 20);
    ::setrlimit(RLIMIT_AS, &limit);
    std::vector<std::pair<int, int>> pairs;
    for (const MapJunction& junction : FindAllJunctions(lines))
        pairs.emplace_back(junction.firstLine, junction.secondLine);
    const std::vector<std::pair<int, int>> expected = {{1, 2}, {1, 3}, {4, 5}};
    std::exit(pairs == expected ? 0 : 1);
}

TEST(FindAllJunctions, TinyLinesBesideOneFarLineTakeAFewCells) {
    EXPECT_EXIT(FindTinyJunctionsInCappedMemory(), ::testing::ExitedWithCode(0), "");
}

TEST(FindAllJunctions, FindsExactlyTheJunctionsOfTheFullPairSearchInTheSameOrder) {
    RandomMaps maps(7);
    for (int map = 0; map < 560; ++map) {
        const int kind = map % 7;
        const auto lines = maps.next(kind);
        const auto expected = FindJunctions(lines, kUnlimited);
        ASSERT_FALSE(expected.capacityExceeded);
        std::vector<Junction> found;
        for (const MapJunction& junction : FindAllJunctions(Widened(lines)))
            found.push_back({static_cast<float>(junction.firstLine),
                             static_cast<float>(junction.secondLine),
                             static_cast<float>(junction.x), static_cast<float>(junction.y)});
        ASSERT_EQ(found, expected.junctions)
            << "map " << map << " of kind " << kind << " with " << lines.size() << " lines";
    }
}

TEST(MapLines, CrossingsAreDecidedOnTheDoublesAtNationalGridCoordinates) {
    // Floats are half a metre apart at 5,000,000: rounded, the short line would touch.
    constexpr double kFar = 5'000'000;
    const MapLine along{kFar, kFar, kFar + 100, kFar};
    EXPECT_FALSE(CrossLines(along, MapLine{kFar + 50, kFar + 0.1, kFar + 50, kFar + 90}));
    EXPECT_EQ(CrossLines(along, MapLine{kFar + 100, kFar, kFar + 100, kFar + 90}),
              (MapCrossing{kFar + 100, kFar}));
    EXPECT_EQ(FindAllJunctions({along,
                                {kFar + 50, kFar + 0.1, kFar + 50, kFar + 90},
                                {kFar + 100, kFar, kFar + 100, kFar + 90}}),
              (std::vector<MapJunction>{{1, 3, kFar + 100, kFar}}));
}

TEST(MapLines, ATolerancePairsLinesThatStopShortByNoMoreThanIt) {
    const std::vector<MapLine> lines = {{0, 0, 10, 0}, {5, 0.4, 5, 10}, {20, 0, 30, 0}};
    NoProgress quiet;
    EXPECT_TRUE(FindJunctionsWithin(lines, 0.3, quiet).junctions.empty());
    const NearJunctions near = FindJunctionsWithin(lines, 0.5, quiet);
    EXPECT_EQ(near.junctions, (std::vector<MapJunction>{{1, 2, 5, 0.2}}));
    EXPECT_EQ(near.nearOnly, 1);
    // Collinear lines that overlap are related too.
    EXPECT_TRUE(NearLines({0, 0, 10, 0}, {5, 0, 15, 0}, 0.1));
    EXPECT_FALSE(NearLines({0, 0, 10, 0}, {10.2, 0, 15, 0}, 0.1));
}

} // namespace
} // namespace vantrel::geometry
