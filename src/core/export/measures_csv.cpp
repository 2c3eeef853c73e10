#include "core/export/measures_csv.h"

#include "core/export/records.h"

namespace vantrel::exports {

std::string RadiusHeading(analysis::MeasureRadius radius) {
    return "radius_" +
           (radius.steps == analysis::MeasureRadius::kN ? "n" : std::to_string(radius.steps));
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
        records.end();
    }
}

} // namespace vantrel::exports
