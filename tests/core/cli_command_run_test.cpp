#include "cli/command_run.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

namespace vantrel::cli {
namespace {

// A process of a run of several that does not lead: it prints nothing, and keeps its fault for
// the end of the run.
class FollowingProcess final : public RunProcesses {
public:
    int count() const override { return 3; }
    bool leads() const override { return false; }
    analysis::UnitSharing* sharing() override { return nullptr; }
    std::optional<std::string> agree(std::optional<std::string> fault) override { return fault; }
    std::pair<double, double> spread(double seconds) override { return {seconds, seconds}; }
    void keepFault(std::string_view fault) override { kept = fault; }

    std::string kept;
};

TEST(CommandRun, AProcessThatDoesNotLeadKeepsItsFaultForTheEndOfTheRun) {
    FollowingProcess process;
    CommandLine line;
    line.quiet = true;
    line.processes = &process;
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunCommand(
                  line, [](StageLog&) -> std::optional<std::string> { throw std::bad_alloc(); },
                  "not enough memory for this map"),
              1);
    EXPECT_EQ(process.kept, "not enough memory for this map");
    EXPECT_EQ(RunCommand(line,
                         [](StageLog&) -> std::optional<std::string> {
                             throw std::runtime_error("the lines file changed");
                         }),
              1);
    EXPECT_EQ(process.kept, "the lines file changed");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

} // namespace
} // namespace vantrel::cli
