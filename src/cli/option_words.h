// The words of a command line: options with their values, numbers, and the options every
// command reads alike.
#pragma once

#include <charconv>
#include <cmath>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vantrel::cli {

inline constexpr int kMaxThreads = 1024;

inline std::optional<int> WholeNumber(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

inline std::optional<double> FiniteNumber(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// Walks the words, handing out options with their values in either "--name value" or
// "--name=value" form.
class Words {
public:
    explicit Words(std::span<const std::string_view> words) : m_words(words) {}

    bool done() const { return m_next >= m_words.size(); }
    std::string_view take() { return m_words[m_next++]; }

    // The value of an option whose name has just been taken (`inlineValue` from "=value").
    std::optional<std::string_view> value(std::optional<std::string_view> inlineValue) {
        if (inlineValue)
            return inlineValue;
        if (done())
            return std::nullopt;
        return take();
    }

private:
    std::span<const std::string_view> m_words;
    std::size_t m_next = 0;
};

// --threads: a whole number from 1 to kMaxThreads. Returns the fault, empty when none.
std::string ReadThreads(std::string_view value, int& threads);
// --tolerance: a distance of 0 or more.
std::string ReadTolerance(std::string_view value, double& tolerance);

} // namespace vantrel::cli
