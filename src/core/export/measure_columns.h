// The columns of the measures files, for every writer of them (the CSV files, GIS layers): each
// column's heading, the precision it is written with, and each item's value.
#pragma once

#include "core/analysis/item_measures.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vantrel::exports {

struct MeasureColumn {
    // Whole numbers; values the program keeps as 32-bit floats; 64-bit doubles.
    enum class Kind { Integer, Float, Double };
    std::string name;
    Kind kind;
    // The value of the item at `index`, nothing for a measure that does not exist.
    std::function<std::optional<double>(int index)> value;
};

// A column of plain values, written as `kind` says.
template <class T>
MeasureColumn ValuesColumn(std::string name, MeasureColumn::Kind kind,
                           const std::vector<T>& values) {
    return {std::move(name), kind, [&values](int index) -> std::optional<double> {
                return static_cast<double>(values[static_cast<std::size_t>(index)]);
            }};
}

// A column of 64-bit measures, some of which may not exist.
MeasureColumn MeasuresColumn(std::string name, const std::vector<analysis::Measure>& values);

// "number", "connectivity", "total_depth", "mean_depth", "reached", "integration", one column
// per radius, then the standard measures when they were computed: "control", "controllability",
// "line_length" (lines only), and per radius of ItemMeasures::syntax "node_count", for radii
// other than n "total_depth" and "mean_depth", "ra", "rra", "integration_hh",
// "integration_tekl", "entropy", "harmonic_mean_depth", and with choice "choice" and
// "choice_norm"; radius n headings have no suffix, the others "_r" and the radius. The mean
// depth is the total depth over the items reached, as a 32-bit float, and does not exist for an
// item that reaches none. The columns refer to `measures`, which must outlive them.
std::vector<MeasureColumn> MeasureColumns(const analysis::ItemMeasures& measures);

} // namespace vantrel::exports
