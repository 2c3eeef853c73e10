#include "cli/arguments.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>
#include <string_view>
#include <vector>

namespace vantrel::cli {
namespace {

using analysis::MeasureRadius;
using ::testing::HasSubstr;

ParsedArguments Parse(std::vector<std::string_view> words, int defaultThreads = 2) {
    return ParseArguments(words, defaultThreads);
}

std::string FaultOf(std::vector<std::string_view> words) {
    const ParsedArguments parsed = Parse(std::move(words));
    EXPECT_FALSE(parsed.help);
    EXPECT_FALSE(parsed.error.empty());
    return parsed.error;
}

TEST(AnalyseCommand, TakesTheLinesFileTheFolderAndEveryOption) {
    const ParsedArguments parsed =
        Parse({"analyse", "town.csv", "--out", "results", "--radius", "3,5,n", "--threads", "3",
               "--analysis", "dual", "--full-data-matrix", "--quiet", "--timings"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_FALSE(parsed.help);
    const AnalyseOptions& options = parsed.options;
    EXPECT_EQ(options.linesFile, "town.csv");
    EXPECT_EQ(options.outputFolder, "results");
    EXPECT_EQ(options.radii, (std::vector<MeasureRadius>{{3}, {5}, {}}));
    EXPECT_EQ(options.threads, 3);
    EXPECT_EQ(options.analyses, Analyses::Dual);
    EXPECT_EQ(options.dataMatrixRowLimit, std::numeric_limits<long long>::max());
    EXPECT_TRUE(options.quiet);
    EXPECT_TRUE(options.timings);
}

TEST(AnalyseCommand, WithoutOptionsRunsBothAnalysesOnEveryCoreWithoutRadii) {
    const ParsedArguments parsed = Parse({"analyse", "town.csv", "--out", "results"}, 8);
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.threads, 8);
    EXPECT_EQ(parsed.options.analyses, Analyses::Both);
    EXPECT_TRUE(parsed.options.radii.empty());
    EXPECT_EQ(parsed.options.dataMatrixRowLimit, kMaxDataMatrixRows);
    EXPECT_FALSE(parsed.options.quiet);
    EXPECT_FALSE(parsed.options.timings);
}

TEST(AnalyseCommand, AcceptsOptionsBeforeTheFileAndInTheirEqualsForm) {
    const ParsedArguments parsed =
        Parse({"analyze", "--out=results", "--radius=n", "--radius", "2", "town.csv"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.linesFile, "town.csv");
    EXPECT_EQ(parsed.options.outputFolder, "results");
    EXPECT_EQ(parsed.options.radii, (std::vector<MeasureRadius>{{}, {2}}));
}

TEST(HelpRequest, IsRecognisedAnywhere) {
    EXPECT_TRUE(Parse({"--help"}).help);
    EXPECT_TRUE(Parse({"-h"}).help);
    EXPECT_TRUE(Parse({"help"}).help);
    EXPECT_TRUE(Parse({"analyse", "town.csv", "--help"}).help);
}

TEST(HelpText, ExplainsEveryOptionAndOutputFile) {
    const std::string help = HelpText(6);
    for (const char* word :
         {"--out", "--radius", "--threads", "--analysis", "--full-data-matrix", "--quiet",
          "--timings", "--help", "axial_lines.txt", "junctions.txt", "data_matrix.txt",
          "axial_integration.txt", "junction_integration.txt", "axial_measures.csv",
          "junction_measures.csv", "mean_depth", "Exit status", "(here 6)"})
        EXPECT_THAT(help, HasSubstr(word));
}

TEST(CommandLineFaults, AreNamed) {
    EXPECT_EQ(FaultOf({}), "no command given");
    EXPECT_EQ(FaultOf({"analyse-all"}), "unknown command \"analyse-all\"");
    EXPECT_EQ(FaultOf({"analyse", "--out", "results"}), "analyse needs a lines file");
    EXPECT_EQ(FaultOf({"analyse", "town.csv"}), "analyse needs --out FOLDER");
    EXPECT_EQ(FaultOf({"analyse", "a.csv", "b.csv", "--out", "r"}),
              "analyse reads one lines file, but \"b.csv\" is a second");
    EXPECT_EQ(FaultOf({"analyse", "town.csv", "--out"}), "--out needs a value");
    EXPECT_EQ(FaultOf({"analyse", "town.csv", "--out="}), "--out needs a value");
    EXPECT_EQ(FaultOf({"analyse", "town.csv", "-q", "--out", "r"}), "unknown option \"-q\"");
    EXPECT_EQ(FaultOf({"analyse", "town.csv", "--quiet=yes", "--out", "r"}),
              "\"--quiet\" takes no value");
    EXPECT_EQ(FaultOf({"analyse", "town.csv", "--out", "r", "--analysis", "all"}),
              "--analysis needs primal, dual or both, not \"all\"");
}

TEST(CommandLineFaults, ThreadsMustBeAWholeNumberFromOne) {
    for (std::string_view threads : {"0", "-2", "two", "1.5", "100000"}) {
        EXPECT_THAT(FaultOf({"analyse", "town.csv", "--out", "r", "--threads", threads}),
                    HasSubstr("--threads needs a whole number from 1 to"))
            << threads;
    }
}

TEST(RadiusList, ReadsWholeNumbersAndN) {
    std::string fault;
    EXPECT_EQ(ParseRadii("3,5,n", fault), (std::vector<MeasureRadius>{{3}, {5}, {}}));
    EXPECT_EQ(ParseRadii("N", fault), (std::vector<MeasureRadius>{{}}));
    EXPECT_EQ(fault, "");
}

TEST(RadiusList, RefusesWhatIsNotARadiusAndRepeats) {
    for (std::string_view list : {"0", "-1", "3,,n", "3,", "x", "2.5", ""}) {
        std::string fault;
        EXPECT_TRUE(ParseRadii(list, fault).empty()) << list;
        EXPECT_THAT(fault, HasSubstr("is not a radius")) << list;
    }
    std::string fault;
    EXPECT_TRUE(ParseRadii("3,n,3", fault).empty());
    EXPECT_EQ(fault, "--radius: \"3,n,3\" repeats a radius");
    EXPECT_EQ(FaultOf({"analyse", "t.csv", "--out", "r", "--radius", "n", "--radius", "2,n"}),
              "--radius: \"2,n\" repeats a radius");
}

} // namespace
} // namespace vantrel::cli
