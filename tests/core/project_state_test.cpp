#include "core/app/project_state.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

TEST(ProjectState, StartsEmpty) {
    ProjectState state;
    EXPECT_EQ(state.LineCount(), 0);
    EXPECT_EQ(state.JunctionCount(), 0);
    EXPECT_FALSE(state.DrawingEnabled);
    EXPECT_FALSE(state.IntersectionsComputed);
    EXPECT_EQ(state.RadiusN, 0);
    EXPECT_EQ(state.GraphSpan, 0);
    EXPECT_EQ(state.ZoomFactorX, 1.0f);
}

TEST(AddAxialLine, StoresLinesUpToTheCapacityAndRefusesTheNext) {
    ProjectState state;
    for (int number = 1; number <= kMaxLines; ++number) {
        const auto result = AddAxialLine(state, {float(number), 0, 0, 0});
        EXPECT_EQ(result,
                  number == 101 ? AddLineResult::StoredWithWarning : AddLineResult::Stored);
    }
    EXPECT_EQ(state.LineCount(), 500);
    EXPECT_EQ(state.AxialLines[499].x1, 500.0f);
    EXPECT_EQ(AddAxialLine(state, {1, 2, 3, 4}), AddLineResult::Refused);
    EXPECT_EQ(state.LineCount(), 500);
    EXPECT_EQ(state.AxialLines.back().x1, 500.0f);
}

TEST(ClearProjectTables, EmptiesEverythingButKeepsTheMeasuredLayout) {
    ProjectState state;
    AddAxialLine(state, {1, 2, 3, 4});
    state.Junctions.push_back({1, 2, 3, 4});
    state.LineIntegration = {1.0f};
    state.IntersectionsComputed = true;
    state.DrawingEnabled = true;
    state.RadiusN = 4;
    state.MapWidth = 9000;
    state.InsetScaleX = 0.5f;
    state.ZoomFactorX = 1.21f;

    ClearProjectTables(state);

    EXPECT_EQ(state.LineCount(), 0);
    EXPECT_EQ(state.JunctionCount(), 0);
    EXPECT_TRUE(state.LineIntegration.empty());
    EXPECT_FALSE(state.IntersectionsComputed);
    EXPECT_FALSE(state.DrawingEnabled);
    EXPECT_EQ(state.RadiusN, 0);
    EXPECT_EQ(state.ZoomFactorX, 1.0f);
    EXPECT_EQ(state.MapWidth, 9000);
    EXPECT_EQ(state.InsetScaleX, 0.5f);
}

} // namespace
} // namespace vantrel
