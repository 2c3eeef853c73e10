#include "core/analysis/groups.h"
#include "core/analysis/integration.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vantrel::analysis {
namespace {

using ::testing::ElementsAre;

TEST(GroupCount, CountsGroupsOfTwoOrMoreFromWhatEachItemReaches) {
    EXPECT_EQ(GroupCount(std::vector<std::int32_t>{}), 0);
    EXPECT_EQ(GroupCount(std::vector<std::int32_t>{0, 0}), 0);
    EXPECT_EQ(GroupCount(std::vector<std::int32_t>{1, 1, 1, 1}), 2);
    EXPECT_EQ(GroupCount(std::vector<std::int32_t>{2, 0, 2, 1, 2, 1}), 2);
    EXPECT_EQ(GroupCount(std::vector<std::int32_t>(499, 498)), 1);
}

TEST(NormaliseValues, SpreadsTheValuesFromLowestToHighest) {
    EXPECT_THAT(NormaliseValues({0.25f, 0.5f, 0.375f}), ElementsAre(0.0f, 1.0f, 0.5f));
}

TEST(NormaliseValues, EqualValuesAllBecomeOne) {
    EXPECT_THAT(NormaliseValues({0.2f, 0.2f}), ElementsAre(1.0f, 1.0f));
    EXPECT_THAT(NormaliseValues({0.0f}), ElementsAre(1.0f));
    EXPECT_TRUE(NormaliseValues({}).empty());
}

TEST(NormaliseValues, WorksInSinglePrecision) {
    const float third = 1.0f / 3.0f;
    const float expected = (0.2f - 0.1f) / (third - 0.1f);
    EXPECT_THAT(NormaliseValues({0.1f, 0.2f, third}), ElementsAre(0.0f, expected, 1.0f));
}

TEST(NormalisedIntegration, IsTheReciprocalOfTheTotalDepthNormalised) {
    const auto integration = NormalisedIntegration({3, 2, 3});
    EXPECT_THAT(integration.values, ElementsAre(0.0f, 1.0f, 0.0f));
    EXPECT_TRUE(integration.disconnectedNumbers.empty());
}

TEST(NormalisedIntegration, ItemsReachingNothingAreNamedByNumberAndGetZero) {
    const auto integration = NormalisedIntegration({0, 4, 8, 0});
    EXPECT_THAT(integration.values, ElementsAre(0.0f, 1.0f, 0.5f, 0.0f));
    EXPECT_THAT(integration.disconnectedNumbers, ElementsAre(1, 4));
}

TEST(NormalisedIntegration, AllItemsDisconnectedAreAllOne) {
    const auto integration = NormalisedIntegration({0, 0});
    EXPECT_THAT(integration.values, ElementsAre(1.0f, 1.0f));
    EXPECT_THAT(integration.disconnectedNumbers, ElementsAre(1, 2));
}

TEST(NormalisedIntegration, TotalsBeyondSixteenBitsKeepTheirValue) {
    const auto integration = NormalisedIntegration({40000, 80000});
    EXPECT_THAT(integration.values, ElementsAre(1.0f, 0.0f));
}

} // namespace
} // namespace vantrel::analysis
