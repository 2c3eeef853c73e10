#include "cli/analysis_run.h"

#include "core/analysis/depths.h"
#include "core/analysis/integration.h"
#include "core/analysis/map_graph.h"
#include "core/analysis/radius_values.h"
#include "core/app/project_state.h"
#include "core/export/text_exports.h"
#include "core/geometry/incidence.h"
#include "core/geometry/intersections.h"
#include "core/io/axial_line_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>

#include <charconv>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace vantrel::cli {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

const fs::path kMaps = fs::path(VANTREL_TEST_DATA) / "maps";

std::string Quoted(const fs::path& path) {
    std::string quoted(1, '"');
    quoted += path.string();
    quoted += '"';
    return quoted;
}

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in) << "missing " << path;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The records of a CSV text, split at commas (the files compared here quote no commas).
std::vector<std::vector<std::string>> Records(const std::string& text) {
    std::vector<std::vector<std::string>> records;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::vector<std::string> fields;
        std::istringstream fieldsIn(line);
        for (std::string field; std::getline(fieldsIn, field, ',');)
            fields.push_back(field);
        records.push_back(fields);
    }
    return records;
}

std::vector<float> FloatColumn(const std::string& csv, std::size_t column) {
    std::vector<float> values;
    const auto records = Records(csv);
    for (std::size_t row = 1; row < records.size(); ++row) {
        const std::string& field = records[row].at(column);
        float value = 0;
        std::from_chars(field.data(), field.data() + field.size(), value);
        values.push_back(value);
    }
    return values;
}

class AnalysisRun : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = fs::temp_directory_path() / ("vantrel_cli_" + std::to_string(::getpid()) + "_" +
                                                std::to_string(std::random_device{}()));
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    AnalyseOptions Options(const fs::path& lines, const std::string& outName = "out") const {
        AnalyseOptions options;
        options.linesFile = lines;
        options.outputFolder = m_folder / outName;
        options.quiet = true;
        return options;
    }

    // Runs the analyse command; returns its fault, "" when it succeeded.
    std::string Run(const AnalyseOptions& options) {
        std::ostringstream logText;
        StageLog log(logText, {options.quiet, options.timings, false});
        const auto fault = RunAnalysis(options, log);
        m_log = logText.str();
        return fault.value_or("");
    }

    // Every file of a folder and its text.
    static std::map<std::string, std::string> Contents(const fs::path& folder) {
        std::map<std::string, std::string> contents;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder))
            contents[entry.path().filename().string()] = Read(entry.path());
        return contents;
    }

    // The hidden names the tool made beside an output folder and left.
    std::vector<std::string> LeftBeside(const std::string& outName) const {
        std::vector<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(m_folder)) {
            if (entry.path().filename().string().starts_with('.' + outName + '.'))
                names.push_back(entry.path().filename().string());
        }
        return names;
    }

    fs::path Put(const fs::path& name, const std::string& text) const {
        const fs::path path = m_folder / name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    fs::path m_folder;
    std::string m_log;
};

// What the desktop program writes for these lines. This is the desktop's sequence: Compute
// Intersections (the pair search with its junction capacity, then the LineJunctionMatrix), Axial
// Line Analysis and Junction Analysis (full depth matrices, then normalised integration), then
// its five save operations, each writing the project state with the export functions.
struct DesktopRun {
    explicit DesktopRun(const std::vector<AxialLine>& lines) {
        geometry::JunctionSearch search = geometry::FindJunctions(lines, kMaxJunctions);
        capacityExceeded = search.capacityExceeded;
        state.AxialLines = lines;
        state.LineJunctionMatrix =
            geometry::BuildLineJunctionMatrix(state.LineCount(), search.junctions);
        state.Junctions = std::move(search.junctions);

        const analysis::MapGraph graph(state.LineCount(), state.Junctions);
        lineDepths = analysis::ComputeLineDepths(graph, {.fullMatrix = true});
        state.LineIntegration = analysis::NormalisedIntegration(lineDepths.totalDepth).values;
        state.RadiusN = lineDepths.largestDepth;
        junctionDepths = analysis::ComputeJunctionDepths(graph, {.fullMatrix = true});
        state.JunctionIntegration =
            analysis::NormalisedIntegration(junctionDepths.totalDepth).values;
    }

    std::string saved(std::string_view file) const {
        std::ostringstream out;
        if (file == kAxialLinesFile)
            exports::WriteAxialLines(out, state.AxialLines);
        else if (file == kJunctionsFile)
            exports::WriteJunctions(out, state.Junctions);
        else if (file == kDataMatrixFile)
            exports::WriteDataMatrix(out, state.LineCount(), state.Junctions);
        else if (file == kAxialIntegrationFile)
            exports::WriteLineIntegration(out, state.LineCount(), state.LineIntegration);
        else
            exports::WriteJunctionIntegration(out, state.JunctionCount(),
                                              state.JunctionIntegration);
        return out.str();
    }

    ProjectState state;
    bool capacityExceeded = false;
    analysis::DepthResult lineDepths;
    analysis::DepthResult junctionDepths;
};

std::vector<AxialLine> LinesIn(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return io::ReadAxialLines(in).lines;
}

TEST_F(AnalysisRun, WritesTheFiveExportsByteForByteAsTheDesktopDoes) {
    const fs::path map = kMaps / "street_180.csv";
    const DesktopRun desktop(LinesIn(map));
    ASSERT_FALSE(desktop.capacityExceeded);
    ASSERT_EQ(desktop.state.LineCount(), 180);
    ASSERT_GT(desktop.state.JunctionCount(), 400);

    AnalyseOptions options = Options(map);
    options.radii = {{3}, {}};
    ASSERT_EQ(Run(options), "");
    for (const std::string_view file : {kAxialLinesFile, kJunctionsFile, kDataMatrixFile,
                                        kAxialIntegrationFile, kJunctionIntegrationFile}) {
        EXPECT_EQ(Read(options.outputFolder / file), desktop.saved(file)) << file;
    }
}

TEST_F(AnalysisRun, TheDataMatrixHoldsTheDesktopsLineJunctionMatrix) {
    const fs::path map = kMaps / "street_180.csv";
    const DesktopRun desktop(LinesIn(map));
    const AnalyseOptions options = Options(map);
    ASSERT_EQ(Run(options), "");
    const auto records = Records(Read(options.outputFolder / kDataMatrixFile));
    const auto& matrix = desktop.state.LineJunctionMatrix;
    ASSERT_EQ(records.size(), 4 + matrix.rows() * matrix.columns());
    for (std::size_t row = 4; row < records.size(); ++row) {
        const int line = std::stoi(records[row].at(0));
        const int junction = std::stoi(records[row].at(1));
        ASSERT_EQ(std::stoi(records[row].at(2)), matrix(line - 1, junction - 1)) << row;
    }
}

TEST_F(AnalysisRun, RadiusColumnsAreTheDesktopsRadius3AndRadiusNMaps) {
    const fs::path map = kMaps / "street_180.csv";
    const DesktopRun desktop(LinesIn(map));
    AnalyseOptions options = Options(map);
    options.radii = {{3}, {}};
    ASSERT_EQ(Run(options), "");
    const std::string axial = Read(options.outputFolder / kAxialMeasuresFile);
    EXPECT_EQ(FloatColumn(axial, 6), analysis::RadiusValues(desktop.lineDepths.radius3Depth, 3));
    EXPECT_EQ(FloatColumn(axial, 7),
              analysis::RadiusValues(desktop.lineDepths.depth, desktop.state.RadiusN));
    EXPECT_EQ(FloatColumn(axial, 5), desktop.state.LineIntegration);
    const std::string dual = Read(options.outputFolder / kJunctionMeasuresFile);
    EXPECT_EQ(FloatColumn(dual, 6), analysis::RadiusValues(desktop.junctionDepths.radius3Depth, 3));
    EXPECT_EQ(FloatColumn(dual, 7), analysis::RadiusValues(desktop.junctionDepths.depth,
                                                           desktop.junctionDepths.largestDepth));
}

// Each record cut after its first `count` fields: the columns up to the radius values.
std::string LeadingFields(const std::string& text, int count) {
    std::string cut;
    for (std::size_t from = 0; from < text.size();) {
        const std::size_t end = text.find("\r\n", from);
        std::size_t field = from;
        for (int n = 0; n < count && field != std::string::npos && field < end; ++n)
            field = text.find(',', field + 1);
        cut += text.substr(from, std::min(field, end) - from) + "\r\n";
        from = end + 2;
    }
    return cut;
}

struct TinyMap {
    std::string name;
    std::string axialRows;
    std::string junctionRows;
};

const std::string kHeading = "\"number\",\"connectivity\",\"total_depth\",\"mean_depth\","
                             "\"reached\",\"integration\",\"radius_n\"\r\n";

// Worked by hand from the maps' drawings; a junction that reaches no other one has no mean
// depth, and the values of one that stands alone normalise to 1, as any set of equal values.
const std::vector<TinyMap> kTinyMaps = {
    {"chain3", "1,1,3,1.5,2,0,0\r\n2,2,2,1,2,1,1\r\n3,1,3,1.5,2,0,0\r\n",
     "1,1,1,1,1,1,1\r\n2,1,1,1,1,1,1\r\n"},
    {"triangle", "1,2,2,1,2,1,1\r\n2,2,2,1,2,1,1\r\n3,2,2,1,2,1,1\r\n",
     "1,2,2,1,2,1,1\r\n2,2,2,1,2,1,1\r\n3,2,2,1,2,1,1\r\n"},
    {"cross2", "1,1,1,1,1,1,1\r\n2,1,1,1,1,1,1\r\n", "1,0,0,,0,1,1\r\n"},
    {"two-pairs", "1,1,1,1,1,1,1\r\n2,1,1,1,1,1,1\r\n3,1,1,1,1,1,1\r\n4,1,1,1,1,1,1\r\n",
     "1,0,0,,0,1,1\r\n2,0,0,,0,1,1\r\n"},
    {"tee", "1,1,1,1,1,1,1\r\n2,1,1,1,1,1,1\r\n", "1,0,0,,0,1,1\r\n"},
};

TEST_F(AnalysisRun, TheGeneratorsTinyMapsGiveTheirWorkedMeasures) {
    for (const TinyMap& tiny : kTinyMaps) {
        AnalyseOptions options = Options(kMaps / (tiny.name + ".csv"), tiny.name);
        options.radii = {{}};
        ASSERT_EQ(Run(options), "") << tiny.name;
        EXPECT_EQ(LeadingFields(Read(options.outputFolder / kAxialMeasuresFile), 7),
                  kHeading + tiny.axialRows)
            << tiny.name;
        EXPECT_EQ(LeadingFields(Read(options.outputFolder / kJunctionMeasuresFile), 7),
                  kHeading + tiny.junctionRows)
            << tiny.name;
    }
}

TEST_F(AnalysisRun, TheTeesJunctionIsWhereTheSecondLineEndsOnTheFirst) {
    const AnalyseOptions options = Options(kMaps / "tee.csv");
    ASSERT_EQ(Run(options), "");
    EXPECT_THAT(Read(options.outputFolder / kJunctionsFile), HasSubstr("\r\n\r\n1,1,2,45,0\r\n"));
}

TEST_F(AnalysisRun, AnIsolatedLineReachesNothingAndIsNoted) {
    const fs::path map = Put("isolated.csv", "x1,y1,x2,y2\n0,30,60,30\n45,0,45,90\n"
                                             "30,75,120,75\n500,500,600,500\n");
    AnalyseOptions options = Options(map);
    options.quiet = false;
    options.radii = {{3}};
    ASSERT_EQ(Run(options), "");
    EXPECT_EQ(LeadingFields(Read(options.outputFolder / kAxialMeasuresFile), 7),
              "\"number\",\"connectivity\",\"total_depth\",\"mean_depth\",\"reached\","
              "\"integration\",\"radius_3\"\r\n"
              "1,1,3,1.5,2,0.6666667,0.6666667\r\n2,2,2,1,2,1,1\r\n"
              "3,1,3,1.5,2,0.6666667,0.6666667\r\n"
              "4,0,0,,0,0,0\r\n");
    EXPECT_THAT(m_log, HasSubstr("1 line reaches no other line: 4\n"));
}

TEST_F(AnalysisRun, ResultsDoNotDependOnTheThreadCount) {
    std::vector<std::string> first;
    for (const int threads : {1, 2, 3}) {
        AnalyseOptions options = Options(kMaps / "street_1000.csv", std::to_string(threads));
        options.threads = threads;
        options.radii = {{3}, {7}, {}};
        ASSERT_EQ(Run(options), "");
        std::vector<std::string> files;
        for (const std::string_view file : kOutputFiles) {
            // Its millions of rows come from the junction list alone.
            if (file != kDataMatrixFile)
                files.push_back(Read(options.outputFolder / file));
        }
        if (first.empty())
            first = files;
        else
            EXPECT_TRUE(files == first) << threads << " threads";
    }
}

TEST_F(AnalysisRun, ADataMatrixAboveTheLimitIsSkippedWithANote) {
    AnalyseOptions options = Options(kMaps / "chain3.csv");
    options.quiet = false;
    options.dataMatrixRowLimit = 5;
    ASSERT_EQ(Run(options), "");
    EXPECT_FALSE(fs::exists(options.outputFolder / kDataMatrixFile));
    EXPECT_TRUE(fs::exists(options.outputFolder / kJunctionsFile));
    EXPECT_THAT(m_log, HasSubstr("data_matrix.txt is not written: 3 lines by 2 junctions make 6 "
                                 "rows, more than 5"));

    options.dataMatrixRowLimit = 6;
    ASSERT_EQ(Run(options), "");
    EXPECT_TRUE(fs::exists(options.outputFolder / kDataMatrixFile));
}

TEST_F(AnalysisRun, OneAnalysisWritesOnlyItsOwnFiles) {
    AnalyseOptions primal = Options(kMaps / "chain3.csv", "primal");
    primal.analyses = Analyses::Primal;
    ASSERT_EQ(Run(primal), "");
    EXPECT_TRUE(fs::exists(primal.outputFolder / kAxialMeasuresFile));
    EXPECT_FALSE(fs::exists(primal.outputFolder / kJunctionMeasuresFile));
    EXPECT_FALSE(fs::exists(primal.outputFolder / kJunctionIntegrationFile));

    AnalyseOptions dual = Options(kMaps / "chain3.csv", "dual");
    dual.analyses = Analyses::Dual;
    ASSERT_EQ(Run(dual), "");
    EXPECT_TRUE(fs::exists(dual.outputFolder / kJunctionMeasuresFile));
    EXPECT_FALSE(fs::exists(dual.outputFolder / kAxialMeasuresFile));
    EXPECT_FALSE(fs::exists(dual.outputFolder / kAxialIntegrationFile));
    EXPECT_TRUE(fs::exists(dual.outputFolder / kAxialLinesFile));
}

TEST_F(AnalysisRun, MalformedLinesNameTheFileAndLineAndWriteNothing) {
    struct Case {
        std::string name, text, fault;
    };
    const std::vector<Case> cases = {
        {"empty.csv", "", ", line 1: the file is empty"},
        {"no_y2.csv", "x1,y1,x2\n0,30,60\n", ", line 1: the header has no column \"y2\""},
        {"word.csv", "x1,y1,x2,y2\n0,30,60,30\n45,north,45,90\n",
         ", line 3: the value \"north\" of column \"y1\" is not a number"},
        {"infinite.csv", "x1,y1,x2,y2\n0,30,60,inf\n",
         ", line 2: the value \"inf\" of column \"y2\" is not a finite number"},
    };
    for (const Case& malformed : cases) {
        const fs::path file = Put(malformed.name, malformed.text);
        const AnalyseOptions options = Options(file, "out_" + malformed.name);
        EXPECT_THAT(Run(options), HasSubstr(Quoted(file) + malformed.fault));
        EXPECT_FALSE(fs::exists(options.outputFolder)) << malformed.name;
    }
}

TEST_F(AnalysisRun, MalformedLinesLeaveAnExistingOutputFolderAsItWas) {
    const AnalyseOptions good = Options(kMaps / "chain3.csv");
    ASSERT_EQ(Run(good), "");
    const std::string before = Read(good.outputFolder / kAxialMeasuresFile);
    const AnalyseOptions bad = Options(Put("bad.csv", "x1,y1,x2,y2\n1,2,3\n"));
    EXPECT_THAT(Run(bad), HasSubstr("line 2"));
    EXPECT_EQ(Read(good.outputFolder / kAxialMeasuresFile), before);
}

TEST_F(AnalysisRun, AMissingLinesFileIsAFaultNamingIt) {
    const AnalyseOptions options = Options(m_folder / "absent.csv");
    EXPECT_THAT(Run(options), HasSubstr("Could not read " + Quoted(m_folder / "absent.csv") +
                                        ": No such file or directory"));
    EXPECT_FALSE(fs::exists(options.outputFolder));
}

TEST_F(AnalysisRun, AnOutputPlaceThatCannotBeWrittenIsFoundBeforeTheAnalysis) {
    const fs::path taken = Put("taken", "not a folder");
    AnalyseOptions options = Options(kMaps / "chain3.csv");
    options.quiet = false;
    options.outputFolder = taken;
    EXPECT_THAT(Run(options), HasSubstr("it is not a folder"));
    EXPECT_EQ(Read(taken), "not a folder");
    options.outputFolder = taken / "out";
    EXPECT_THAT(Run(options), HasSubstr("Could not create the folder " + Quoted(taken)));
    EXPECT_THAT(m_log, Not(HasSubstr("Finding junctions")));
}

// After every run the folder holds that run's files and nothing else, and nothing is left beside
// it; after a failed or killed run it holds what it held before.
TEST_F(AnalysisRun, TheOutputFolderHoldsOneWholeRun) {
    ASSERT_EQ(Run(Options(kMaps / "street_180.csv")), "");
    AnalyseOptions primal = Options(kMaps / "chain3.csv");
    primal.analyses = Analyses::Primal;
    ASSERT_EQ(Run(primal), "");
    EXPECT_EQ(Contents(primal.outputFolder).size(), 5u);
    EXPECT_FALSE(fs::exists(primal.outputFolder / kJunctionMeasuresFile));
    const auto before = Contents(primal.outputFolder);

    // A file-size limit makes the large data matrix fail half-way.
    AnalyseOptions full = Options(kMaps / "street_180.csv");
    full.dataMatrixRowLimit = std::numeric_limits<long long>::max();
    const pid_t child = fork();
    if (child == 0) {
        const rlimit limit{100'000, 100'000};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, SIG_IGN);
        _exit(Run(full).find("File too large") != std::string::npos ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(Contents(primal.outputFolder), before);
    EXPECT_THAT(LeftBeside("out"), IsEmpty());

    // What a killed run left is removed by the next run into the same place.
    const fs::path leftover = m_folder / (".out.vantrel-" + std::to_string(child) + ".partial");
    fs::create_directory(leftover);
    Put(leftover.filename() / kAxialLinesFile, "half");
    ASSERT_EQ(Run(full), "");
    EXPECT_THAT(LeftBeside("out"), IsEmpty());
}

TEST_F(AnalysisRun, AFolderHoldingOtherFilesIsReplacedOnlyWithOverwrite) {
    AnalyseOptions options = Options(kMaps / "chain3.csv");
    fs::create_directory(options.outputFolder);
    Put("out/notes.txt", "mine");
    EXPECT_THAT(Run(options),
                HasSubstr("\"notes.txt\"; choose another folder, or give --overwrite"));
    EXPECT_EQ(Contents(options.outputFolder).size(), 1u);
    options.overwrite = true;
    ASSERT_EQ(Run(options), "");
    EXPECT_FALSE(fs::exists(options.outputFolder / "notes.txt"));
    EXPECT_TRUE(fs::exists(options.outputFolder / kAxialMeasuresFile));
}

TEST_F(AnalysisRun, AFolderHoldingTheLinesItReadsIsReplacedOnlyWithOverwrite) {
    AnalyseOptions options = Options(kMaps / "chain3.csv");
    ASSERT_EQ(Run(options), "");
    options.linesFile = options.outputFolder / kAxialLinesFile;
    EXPECT_THAT(Run(options), HasSubstr("it holds \"axial_lines.txt\", the lines this run reads; "
                                        "choose another folder, or give --overwrite"));
    options.overwrite = true;
    EXPECT_EQ(Run(options), "");
}

// A link in a shared folder, made by another user, that leads to a folder of this user's.
TEST_F(AnalysisRun, AnOutputLinkThatAnotherUserOwnsIsRefusedAndOwnLinksFollowed) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only the superuser can give a link to another user";
    fs::create_directory(m_folder / "private");
    Put("private/keep.txt", "mine");
    fs::create_directory_symlink(m_folder / "private", m_folder / "shared");
    constexpr uid_t kNobody = 65534;
    ASSERT_EQ(::lchown((m_folder / "shared").c_str(), kNobody, kNobody), 0);
    AnalyseOptions options = Options(kMaps / "chain3.csv", "shared");
    for (const bool overwrite : {false, true}) {
        options.overwrite = overwrite;
        EXPECT_THAT(Run(options), HasSubstr("Could not write into " + Quoted(m_folder / "shared") +
                                            ": it is a symbolic link that another user owns"));
        EXPECT_EQ(Read(m_folder / "private" / "keep.txt"), "mine");
        EXPECT_TRUE(fs::is_symlink(m_folder / "shared"));
    }
    ASSERT_EQ(::lchown((m_folder / "shared").c_str(), 0, 0), 0);
    ASSERT_EQ(Run(options), "");
    EXPECT_TRUE(fs::exists(m_folder / "private" / kAxialMeasuresFile));
    EXPECT_FALSE(fs::exists(m_folder / "private" / "keep.txt"));
}

TEST_F(AnalysisRun, CreatesAMissingOutputFolderWithItsParents) {
    const AnalyseOptions options = Options(kMaps / "chain3.csv", "a/b/c");
    ASSERT_EQ(Run(options), "");
    for (const std::string_view file : kOutputFiles)
        EXPECT_TRUE(fs::exists(options.outputFolder / file)) << file;
}

TEST_F(AnalysisRun, TellsItsStagesUnlessQuietAndItsTimingsWhenAsked) {
    AnalyseOptions options = Options(kMaps / "chain3.csv");
    ASSERT_EQ(Run(options), "");
    EXPECT_THAT(m_log, IsEmpty());

    options.quiet = false;
    options.timings = true;
    ASSERT_EQ(Run(options), "");
    for (const char* text :
         {"Reading lines", "Finding junctions: 100%", "Axial depths: 100%", "Junction depths: 100%",
          "Writing files", "timing: Axial depths: ", "timing: whole run: ", " s, cpu ", " MB\n"})
        EXPECT_THAT(m_log, HasSubstr(text));
    EXPECT_THAT(m_log, Not(HasSubstr("dual analysis")));

    // A long dual analysis is announced before any analysis begins.
    options.longDualSeconds = 0;
    ASSERT_EQ(Run(options), "");
    EXPECT_THAT(m_log, HasSubstr("the dual analysis of 2 junctions will take about 0 seconds "
                                 "on 1 thread; --analysis primal leaves it out\n"));
    EXPECT_LT(m_log.find("dual analysis"), m_log.find("Axial depths"));
}

} // namespace
} // namespace vantrel::cli
