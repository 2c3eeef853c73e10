#include "core/export/measures_csv.h"

#include <gtest/gtest.h>

#include <sstream>

namespace vantrel::exports {
namespace {

using analysis::ItemMeasures;
using analysis::MeasureRadius;

std::string Written(const ItemMeasures& measures) {
    std::ostringstream out;
    WriteMeasures(out, measures);
    return out.str();
}

TEST(MeasuresFile, HasAHeadingRecordAndOneRecordPerItemNumberedFromOne) {
    ItemMeasures measures;
    measures.connectivity = {2, 1};
    measures.totalDepth = {5, 4'000'000'000LL};
    measures.reached = {3, 2};
    measures.integration = {1, 0.25f};
    measures.radii = {{{3}, 3, {1, 0}}, {{MeasureRadius::kN}, 7, {0.5f, 1.0f / 3.0f}}};
    EXPECT_EQ(Written(measures),
              "\"number\",\"connectivity\",\"total_depth\",\"mean_depth\",\"reached\","
              "\"integration\",\"radius_3\",\"radius_n\"\r\n"
              "1,2,5,1.6666666,3,1,1,0.5\r\n"
              "2,1,4000000000,2000000000,2,0.25,0,0.33333334\r\n");
}

TEST(MeasuresFile, LeavesTheMeanDepthEmptyForAnItemThatReachesNone) {
    ItemMeasures measures;
    measures.connectivity = {0};
    measures.totalDepth = {0};
    measures.reached = {0};
    measures.integration = {0};
    EXPECT_EQ(Written(measures), "\"number\",\"connectivity\",\"total_depth\",\"mean_depth\","
                                 "\"reached\",\"integration\"\r\n"
                                 "1,0,0,,0,0\r\n");
}

TEST(MeasuresFile, WithNoItemsHoldsOnlyItsHeading) {
    EXPECT_EQ(Written({}), "\"number\",\"connectivity\",\"total_depth\",\"mean_depth\","
                           "\"reached\",\"integration\"\r\n");
}

TEST(RadiusHeadings, NameTheStepsOrN) {
    EXPECT_EQ(RadiusHeading({3}), "radius_3");
    EXPECT_EQ(RadiusHeading({12}), "radius_12");
    EXPECT_EQ(RadiusHeading({}), "radius_n");
}

} // namespace
} // namespace vantrel::exports
