#include "core/export/measures_csv.h"

#include "core/export/measure_columns.h"
#include "core/export/records.h"

namespace vantrel::exports {

std::string RadiusHeading(analysis::MeasureRadius radius) {
    return "radius_" +
           (radius.steps == analysis::MeasureRadius::kN ? "n" : std::to_string(radius.steps));
}

void WriteMeasures(std::ostream& out, const analysis::ItemMeasures& measures) {
    WriteColumns(out, MeasureColumns(measures), measures.itemCount());
}

void WriteColumns(std::ostream& out, const std::vector<MeasureColumn>& columns, int rows) {
    RecordWriter records(out);
    for (const MeasureColumn& column : columns)
        records.field(column.name);
    records.end();

    for (int index = 0; index < rows; ++index) {
        for (const MeasureColumn& column : columns) {
            const std::optional<double> value = column.value(index);
            if (!value)
                records.emptyField();
            else if (column.kind == MeasureColumn::Kind::Integer)
                records.field(static_cast<long long>(*value));
            else if (column.kind == MeasureColumn::Kind::Float)
                records.field(static_cast<float>(*value));
            else
                records.wideField(*value);
        }
        records.end();
    }
}

} // namespace vantrel::exports
