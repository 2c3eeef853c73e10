#include "core/export/measure_columns.h"

#include "core/export/measures_csv.h"

namespace vantrel::exports {
namespace {

using analysis::Measure;
using analysis::MeasureRadius;
using Kind = MeasureColumn::Kind;

std::string Suffix(MeasureRadius radius) {
    return radius.steps == MeasureRadius::kN ? "" : "_r" + std::to_string(radius.steps);
}

template <class T> MeasureColumn Column(std::string name, Kind kind, const std::vector<T>& values) {
    return ValuesColumn(std::move(name), kind, values);
}

MeasureColumn Column(std::string name, const std::vector<Measure>& values) {
    return MeasuresColumn(std::move(name), values);
}

void AddSyntaxColumns(std::vector<MeasureColumn>& columns, const analysis::ItemMeasures& measures) {
    if (measures.syntax.empty())
        return;
    columns.push_back(Column("control", Kind::Double, measures.control));
    columns.push_back(Column("controllability", measures.controllability));
    if (!measures.lineLength.empty())
        columns.push_back(Column("line_length", Kind::Double, measures.lineLength));
    for (const analysis::SyntaxColumns& syntax : measures.syntax) {
        const std::string suffix = Suffix(syntax.radius);
        columns.push_back(Column("node_count" + suffix, Kind::Integer, syntax.nodeCount));
        if (!suffix.empty()) {
            columns.push_back(Column("total_depth" + suffix, Kind::Integer, syntax.totalDepth));
            columns.push_back(Column("mean_depth" + suffix, syntax.meanDepth));
        }
        columns.push_back(Column("ra" + suffix, syntax.ra));
        columns.push_back(Column("rra" + suffix, syntax.rra));
        columns.push_back(Column("integration_hh" + suffix, syntax.integrationHH));
        columns.push_back(Column("integration_tekl" + suffix, syntax.integrationTekl));
        columns.push_back(Column("entropy" + suffix, syntax.entropy));
        columns.push_back(Column("harmonic_mean_depth" + suffix, syntax.harmonicMeanDepth));
        if (!syntax.choice.empty()) {
            columns.push_back(Column("choice" + suffix, Kind::Double, syntax.choice));
            columns.push_back(Column("choice_norm" + suffix, syntax.choiceNorm));
        }
    }
}

} // namespace

MeasureColumn MeasuresColumn(std::string name, const std::vector<Measure>& values) {
    return {std::move(name), Kind::Double,
            [&values](int index) { return values[static_cast<std::size_t>(index)]; }};
}

std::vector<MeasureColumn> MeasureColumns(const analysis::ItemMeasures& measures) {
    std::vector<MeasureColumn> columns;
    columns.push_back(
        {"number", Kind::Integer, [](int index) -> std::optional<double> { return index + 1; }});
    columns.push_back(Column("connectivity", Kind::Integer, measures.connectivity));
    columns.push_back(Column("total_depth", Kind::Integer, measures.totalDepth));
    columns.push_back({"mean_depth", Kind::Float, [&measures](int index) -> std::optional<double> {
                           const auto item = static_cast<std::size_t>(index);
                           if (measures.reached[item] == 0)
                               return std::nullopt;
                           return static_cast<float>(
                               static_cast<double>(measures.totalDepth[item]) /
                               measures.reached[item]);
                       }});
    columns.push_back(Column("reached", Kind::Integer, measures.reached));
    columns.push_back(Column("integration", Kind::Float, measures.integration));
    for (const analysis::RadiusColumn& radius : measures.radii)
        columns.push_back(Column(RadiusHeading(radius.radius), Kind::Float, radius.values));
    AddSyntaxColumns(columns, measures);
    return columns;
}

} // namespace vantrel::exports
