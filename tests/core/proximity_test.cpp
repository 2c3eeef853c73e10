#include "core/geometry/proximity.h"

#include <gtest/gtest.h>

namespace vantrel::geometry {
namespace {

Junction At(float x, float y) {
    return {1, 2, x, y};
}

TEST(CloseJunctions, JunctionsJustUnderTheThresholdApartAreBothClose) {
    EXPECT_EQ(FindCloseJunctions({At(1000, 1000), At(1999, 1999)}, 1000),
              (std::vector<bool>{true, true}));
}

TEST(CloseJunctions, ExactlyTheThresholdApartOnOneAxisIsNotClose) {
    EXPECT_EQ(FindCloseJunctions({At(1000, 1000), At(2000, 1500)}, 1000),
              (std::vector<bool>{false, false}));
    EXPECT_EQ(FindCloseJunctions({At(1000, 1000), At(1500, 0)}, 1000),
              (std::vector<bool>{false, false}));
}

TEST(CloseJunctions, TheTestIsPerAxisNotADistance) {
    EXPECT_FALSE(AreJunctionsClose(At(0, 0), At(10, 5000), 1000));
    // 900 on both axes is over 1270 apart, yet close.
    EXPECT_TRUE(AreJunctionsClose(At(0, 0), At(900, 900), 1000));
}

TEST(CloseJunctions, ThreeJunctionsAtOnePointAreAllCloseForAnyPositiveThreshold) {
    const std::vector<Junction> junctions{At(100, 100), At(100, 100), At(100, 100), At(5000, 0)};
    EXPECT_EQ(FindCloseJunctions(junctions, 1e-30f), (std::vector<bool>{true, true, true, false}));
}

TEST(CloseJunctions, AThresholdOfZeroMakesNothingClose) {
    const std::vector<Junction> junctions{At(100, 100), At(100, 100)};
    EXPECT_EQ(FindCloseJunctions(junctions, 0), (std::vector<bool>{false, false}));
    EXPECT_EQ(FindCloseJunctions(junctions, -5), (std::vector<bool>{false, false}));
}

TEST(CloseJunctions, ALoneJunctionIsNeverClose) {
    EXPECT_EQ(FindCloseJunctions({At(1, 1)}, 1000), std::vector<bool>{false});
    EXPECT_TRUE(FindCloseJunctions({}, 1000).empty());
}

TEST(CloseJunctions, DifferencesAreTakenInFloat) {
    // 16777216 - 0.5 is no float: it rounds to 16777216, the threshold itself.
    EXPECT_FALSE(AreJunctionsClose(At(16777216.0f, 0), At(0.5f, 0), 16777216.0f));
}

} // namespace
} // namespace vantrel::geometry
