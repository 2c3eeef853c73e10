#include "cli/segment_arguments.h"

#include "cli/option_words.h"
#include "core/host/quoted_text.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace vantrel::cli {
namespace {

using segment::DepthKind;
using segment::RadiusKind;

constexpr double kMostStubPercent = 50;
constexpr int kFewestBins = 4;
constexpr int kMostBins = 65536;

// What the options said before they are checked against one another.
struct Given {
    std::optional<std::string_view> radii;
    bool stubGiven = false;
    // The last option of --prepare given.
    std::string_view streetOption;
};

std::string ReadChoice(std::string_view option, std::string_view value,
                       std::initializer_list<std::string_view> names, int& chosen) {
    const auto found = std::find(names.begin(), names.end(), value);
    if (found != names.end()) {
        chosen = static_cast<int>(found - names.begin());
        return {};
    }
    std::string list;
    for (const std::string_view name : names)
        list += (list.empty()                 ? ""
                 : name == *(names.end() - 1) ? " or "
                                              : ", ") +
                std::string(name);
    return std::string(option) + " needs " + list + ", not " + QuotedValue(value);
}

std::string ReadOption(std::string_view word, Words& words, SegmentOptions& options, Given& given) {
    const std::size_t equals = word.find('=');
    const std::string_view name = word.substr(0, equals);
    const std::optional<std::string_view> inlineValue =
        equals == std::string_view::npos ? std::nullopt : std::optional(word.substr(equals + 1));
    const std::string_view flags[] = {"--rcl",       "--prepare", "--choice",
                                      "--overwrite", "--quiet",   "--timings"};
    if (std::find(std::begin(flags), std::end(flags), name) != std::end(flags)) {
        if (inlineValue)
            return QuotedValue(name) + " takes no value";
        if (name == "--prepare")
            options.roadCentreLines = true;
        (name == "--rcl"         ? options.roadCentreLines
         : name == "--prepare"   ? options.prepare
         : name == "--choice"    ? options.analysis.choice
         : name == "--overwrite" ? options.overwrite
         : name == "--quiet"     ? options.quiet
                                 : options.timings) = true;
        return {};
    }
    if (IsStreetOption(name)) {
        const std::optional<std::string_view> value = words.value(inlineValue);
        if (!value || value->empty())
            return std::string(name) + " needs a value";
        given.streetOption = name;
        if (auto fault = ReadStreetOption(name, *value, options.streets))
            return *fault;
        return {};
    }
    const std::string_view valued[] = {"--out",      "--layer",      "--tolerance",
                                       "--threads",  "--radius",     "--radius-type",
                                       "--analysis", "--tulip-bins", "--stub-removal"};
    if (std::find(std::begin(valued), std::end(valued), name) == std::end(valued))
        return "unknown option " + QuotedValue(word);
    const std::optional<std::string_view> value = words.value(inlineValue);
    if (!value || value->empty())
        return std::string(name) + " needs a value";

    segment::SegmentAnalysisOptions& analysis = options.analysis;
    if (name == "--out") {
        options.output = std::filesystem::path(*value);
    } else if (name == "--layer") {
        options.layer = std::string(*value);
    } else if (name == "--tolerance") {
        return ReadTolerance(*value, options.tolerance);
    } else if (name == "--threads") {
        return ReadThreads(*value, analysis.threads);
    } else if (name == "--radius") {
        if (given.radii)
            return "--radius is given twice";
        given.radii = *value;
    } else if (name == "--radius-type") {
        int kind = 0;
        if (auto fault = ReadChoice(name, *value, {"metric", "angular", "steps"}, kind);
            !fault.empty())
            return fault;
        analysis.radiusKind = static_cast<RadiusKind>(kind);
    } else if (name == "--analysis") {
        int kind = 0;
        if (auto fault = ReadChoice(name, *value, {"angular", "metric", "topological"}, kind);
            !fault.empty())
            return fault;
        analysis.depth = static_cast<DepthKind>(kind);
    } else if (name == "--tulip-bins") {
        const std::optional<int> bins = WholeNumber(*value);
        if (!bins || (*bins != 0 && (*bins < kFewestBins || *bins > kMostBins)))
            return "--tulip-bins needs 0 or a whole number from " + std::to_string(kFewestBins) +
                   " to " + std::to_string(kMostBins) + ", not " + QuotedValue(*value);
        analysis.tulipBins = *bins;
    } else {
        const std::optional<double> percent = FiniteNumber(*value);
        if (!percent || *percent < 0 || *percent > kMostStubPercent)
            return "--stub-removal needs a percentage from 0 to 50, not " + QuotedValue(*value);
        options.stubPercent = *percent;
        given.stubGiven = true;
    }
    return {};
}

// "400,1200,n": radii for the radius kind chosen; n is radius n.
std::string ReadRadii(std::string_view list, RadiusKind kind, std::vector<double>& radii) {
    radii.clear();
    for (std::size_t from = 0; from <= list.size();) {
        const std::size_t comma = std::min(list.find(',', from), list.size());
        const std::string_view item = list.substr(from, comma - from);
        from = comma + 1;
        double radius = segment::kRadiusN;
        if (item != "n" && item != "N") {
            const std::optional<double> number = FiniteNumber(item);
            const bool steps =
                number && *number >= 1 && *number <= 1e9 && *number == std::floor(*number);
            if (kind == RadiusKind::Steps && !steps)
                return "--radius: " + QuotedValue(item) +
                       " is not a radius in steps (a whole number of at least 1, or n)";
            if (!number || !(*number > 0))
                return "--radius: " + QuotedValue(item) + " is not a radius (a number above 0, " +
                       "or n)";
            radius = *number;
        }
        if (std::find(radii.begin(), radii.end(), radius) != radii.end())
            return "--radius: " + QuotedValue(list) + " repeats a radius";
        radii.push_back(radius);
    }
    return {};
}

// Faults of options that cannot go together.
std::string CheckCombination(const SegmentOptions& options, const Given& given) {
    const segment::SegmentAnalysisOptions& analysis = options.analysis;
    if (!given.streetOption.empty() && !options.prepare)
        return std::string(given.streetOption) + " is an option of --prepare";
    if (options.roadCentreLines && given.stubGiven)
        return "--stub-removal drops end pieces of axial lines, and --rcl (or --prepare) reads "
               "road-centre lines, which are not cut";
    if (options.roadCentreLines && analysis.depth == DepthKind::Topological)
        return "--analysis topological counts changes of axial line, which road-centre lines "
               "(--rcl, --prepare) do not have";
    if (analysis.depth == DepthKind::Topological && analysis.radiusKind == RadiusKind::Angular)
        return "--radius-type angular limits the turns of a route, which a topological analysis "
               "does not rank routes by";
    return {};
}

} // namespace

ParsedSegmentArguments ParseSegmentArguments(std::span<const std::string_view> arguments,
                                             int defaultThreads) {
    ParsedSegmentArguments parsed;
    parsed.options.analysis.threads = std::clamp(defaultThreads, 1, kMaxThreads);
    if (std::any_of(arguments.begin(), arguments.end(),
                    [](std::string_view word) { return word == "--help" || word == "-h"; })) {
        parsed.help = true;
        return parsed;
    }
    Words words(arguments);
    Given given;
    bool haveMap = false;
    while (!words.done() && parsed.error.empty()) {
        const std::string_view word = words.take();
        if (word.size() > 1 && word.front() == '-') {
            parsed.error = ReadOption(word, words, parsed.options, given);
        } else if (haveMap) {
            parsed.error = "segment reads one map, but " + QuotedValue(word) + " is a second";
        } else {
            parsed.options.mapFile = std::filesystem::path(word);
            haveMap = true;
        }
    }
    if (parsed.error.empty() && given.radii)
        parsed.error = ReadRadii(*given.radii, parsed.options.analysis.radiusKind,
                                 parsed.options.analysis.radii);
    if (parsed.error.empty())
        parsed.error = CheckCombination(parsed.options, given);
    if (parsed.error.empty() && !haveMap)
        parsed.error = "segment needs a map file";
    if (parsed.error.empty() && parsed.options.output.empty())
        parsed.error = "segment needs --out FOLDER or --out FILE.gpkg";
    return parsed;
}

} // namespace vantrel::cli
