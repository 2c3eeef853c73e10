#include "cli/arguments.h"

#include "cli/option_words.h"
#include "core/host/quoted_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

namespace vantrel::cli {

namespace {

std::optional<Analyses> AnalysesNamed(std::string_view name) {
    if (name == "primal")
        return Analyses::Primal;
    if (name == "dual")
        return Analyses::Dual;
    if (name == "both")
        return Analyses::Both;
    return std::nullopt;
}

// Reads one option of the analyse command into `options`; returns a fault, empty when none.
std::string ReadOption(std::string_view word, Words& words, AnalyseOptions& options) {
    const std::size_t equals = word.find('=');
    const std::string_view name = word.substr(0, equals);
    const std::optional<std::string_view> inlineValue =
        equals == std::string_view::npos ? std::nullopt : std::optional(word.substr(equals + 1));
    const bool takesValue = name == "--out" || name == "--radius" || name == "--threads" ||
                            name == "--analysis" || name == "--layer" || name == "--tolerance";
    if (!takesValue) {
        if (inlineValue)
            return QuotedValue(name) + " takes no value";
        if (name == "--quiet")
            options.quiet = true;
        else if (name == "--choice")
            options.choice = true;
        else if (name == "--overwrite")
            options.overwrite = true;
        else if (name == "--timings")
            options.timings = true;
        else if (name == "--full-data-matrix")
            options.dataMatrixRowLimit = std::numeric_limits<long long>::max();
        else
            return "unknown option " + QuotedValue(word);
        return {};
    }

    const std::optional<std::string_view> value = words.value(inlineValue);
    if (!value || value->empty())
        return std::string(name) + " needs a value";
    if (name == "--out") {
        options.outputFolder = std::filesystem::path(*value);
    } else if (name == "--radius") {
        std::string fault;
        const auto radii = ParseRadii(*value, fault);
        if (!fault.empty())
            return fault;
        for (const analysis::MeasureRadius radius : radii) {
            if (std::find(options.radii.begin(), options.radii.end(), radius) !=
                options.radii.end())
                return "--radius: " + QuotedValue(*value) + " repeats a radius";
            options.radii.push_back(radius);
        }
    } else if (name == "--threads") {
        return ReadThreads(*value, options.threads);
    } else if (name == "--layer") {
        options.layer = std::string(*value);
    } else if (name == "--tolerance") {
        return ReadTolerance(*value, options.tolerance);
    } else {
        const std::optional<Analyses> analyses = AnalysesNamed(*value);
        if (!analyses)
            return "--analysis needs primal, dual or both, not " + QuotedValue(*value);
        options.analyses = *analyses;
    }
    return {};
}

} // namespace

std::vector<analysis::MeasureRadius> ParseRadii(std::string_view list, std::string& error) {
    std::vector<analysis::MeasureRadius> radii;
    for (std::size_t from = 0; from <= list.size();) {
        const std::size_t comma = std::min(list.find(',', from), list.size());
        const std::string_view item = list.substr(from, comma - from);
        from = comma + 1;
        analysis::MeasureRadius radius;
        if (item != "n" && item != "N") {
            const std::optional<int> steps = WholeNumber(item);
            if (!steps || *steps < 1) {
                error = "--radius: " + QuotedValue(item) +
                        " is not a radius (a whole number of at least 1, or n)";
                return {};
            }
            radius.steps = *steps;
        }
        if (std::find(radii.begin(), radii.end(), radius) != radii.end()) {
            error = "--radius: " + QuotedValue(list) + " repeats a radius";
            return {};
        }
        radii.push_back(radius);
    }
    return radii;
}

ParsedArguments ParseArguments(std::span<const std::string_view> arguments, int defaultThreads) {
    ParsedArguments parsed;
    parsed.options.threads = std::clamp(defaultThreads, 1, kMaxThreads);
    if (std::any_of(arguments.begin(), arguments.end(),
                    [](std::string_view word) { return word == "--help" || word == "-h"; }) ||
        (!arguments.empty() && arguments.front() == "help")) {
        parsed.help = true;
        return parsed;
    }

    Words words(arguments);
    if (words.done()) {
        parsed.error = "no command given";
        return parsed;
    }
    const std::string_view command = words.take();
    if (command != "analyse" && command != "analyze") {
        parsed.error = "unknown command " + QuotedValue(command);
        return parsed;
    }
    bool haveLines = false;
    while (!words.done() && parsed.error.empty()) {
        const std::string_view word = words.take();
        if (word.size() > 1 && word.front() == '-') {
            parsed.error = ReadOption(word, words, parsed.options);
        } else if (haveLines) {
            parsed.error =
                "analyse reads one lines file, but " + QuotedValue(word) + " is a second";
        } else {
            parsed.options.linesFile = std::filesystem::path(word);
            haveLines = true;
        }
    }
    if (parsed.error.empty() && !haveLines)
        parsed.error = "analyse needs a lines file";
    if (parsed.error.empty() && parsed.options.outputFolder.empty())
        parsed.error = "analyse needs --out FOLDER";
    return parsed;
}

} // namespace vantrel::cli
