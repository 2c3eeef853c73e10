#include "core/export/measures_csv.h"

#include "core/export/records.h"

namespace vantrel::exports {
namespace {

using analysis::Measure;
using analysis::MeasureRadius;
using analysis::SyntaxColumns;

std::string Suffix(MeasureRadius radius) {
    return radius.steps == MeasureRadius::kN ? "" : "_r" + std::to_string(radius.steps);
}

void WriteMeasure(RecordWriter& records, const Measure& measure) {
    if (measure)
        records.wideField(*measure);
    else
        records.emptyField();
}

void WriteSyntaxHeadings(RecordWriter& records, const analysis::ItemMeasures& measures) {
    if (measures.syntax.empty())
        return;
    records.field("control").field("controllability");
    if (!measures.lineLength.empty())
        records.field("line_length");
    for (const SyntaxColumns& columns : measures.syntax) {
        const std::string suffix = Suffix(columns.radius);
        records.field("node_count" + suffix);
        if (!suffix.empty())
            records.field("total_depth" + suffix).field("mean_depth" + suffix);
        for (const char* name :
             {"ra", "rra", "integration_hh", "integration_tekl", "entropy", "harmonic_mean_depth"})
            records.field(name + suffix);
        if (!columns.choice.empty())
            records.field("choice" + suffix).field("choice_norm" + suffix);
    }
}

void WriteSyntaxFields(RecordWriter& records, const analysis::ItemMeasures& measures, int index) {
    if (measures.syntax.empty())
        return;
    records.wideField(measures.control[index]);
    WriteMeasure(records, measures.controllability[index]);
    if (!measures.lineLength.empty())
        records.wideField(measures.lineLength[index]);
    for (const SyntaxColumns& columns : measures.syntax) {
        records.field(columns.nodeCount[index]);
        if (columns.radius.steps != MeasureRadius::kN) {
            records.field(static_cast<long long>(columns.totalDepth[index]));
            WriteMeasure(records, columns.meanDepth[index]);
        }
        for (const std::vector<Measure>* column :
             {&columns.ra, &columns.rra, &columns.integrationHH, &columns.integrationTekl,
              &columns.entropy, &columns.harmonicMeanDepth})
            WriteMeasure(records, (*column)[index]);
        if (!columns.choice.empty()) {
            records.wideField(columns.choice[index]);
            WriteMeasure(records, columns.choiceNorm[index]);
        }
    }
}

} // namespace

std::string RadiusHeading(MeasureRadius radius) {
    return "radius_" + (radius.steps == MeasureRadius::kN ? "n" : std::to_string(radius.steps));
}

void WriteMeasures(std::ostream& out, const analysis::ItemMeasures& measures) {
    RecordWriter records(out);
    records.field("number")
        .field("connectivity")
        .field("total_depth")
        .field("mean_depth")
        .field("reached")
        .field("integration");
    for (const analysis::RadiusColumn& column : measures.radii)
        records.field(RadiusHeading(column.radius));
    WriteSyntaxHeadings(records, measures);
    records.end();

    for (int index = 0; index < measures.itemCount(); ++index) {
        const std::int64_t total = measures.totalDepth[index];
        const std::int32_t reached = measures.reached[index];
        records.field(index + 1)
            .field(measures.connectivity[index])
            .field(static_cast<long long>(total));
        if (reached == 0)
            records.emptyField();
        else
            records.field(static_cast<float>(static_cast<double>(total) / reached));
        records.field(reached).field(measures.integration[index]);
        for (const analysis::RadiusColumn& column : measures.radii)
            records.field(column.values[index]);
        WriteSyntaxFields(records, measures, index);
        records.end();
    }
}

} // namespace vantrel::exports
