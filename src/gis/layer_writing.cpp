#include "gis/layer_writing.h"

#include "core/host/quoted_text.h"

#include <charconv>

namespace vantrel::gis {

namespace {

// What the measures files show for a 32-bit value (0.3, not 0.30000001192092896).
double AsWritten(float value) {
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value);
    double wide = value;
    std::from_chars(text, written.ptr, wide);
    return wide;
}

} // namespace

using exports::MeasureColumn;

std::optional<std::string> LayerBuilder::addFields(const std::vector<ExtraField>& extras,
                                                   const std::vector<MeasureColumn>& columns) {
    if (!m_layer)
        return failure("the layer could not be made");
    for (const ExtraField& extra : extras)
        if (auto fault = addField(extra.name, OFTInteger64))
            return fault;
    for (const MeasureColumn& column : columns)
        if (auto fault =
                addField(column.name.c_str(),
                         column.kind == MeasureColumn::Kind::Integer ? OFTInteger64 : OFTReal))
            return fault;
    return std::nullopt;
}

std::string LayerBuilder::renamedFields(const std::vector<ExtraField>& extras,
                                        const std::vector<MeasureColumn>& columns) const {
    std::vector<std::string> names;
    for (const ExtraField& extra : extras)
        names.push_back(extra.name);
    for (const MeasureColumn& column : columns)
        names.push_back(column.name);
    std::string list;
    for (std::size_t index = 0; index < names.size(); ++index) {
        const std::string given = fieldName(static_cast<int>(index));
        if (given != names[index])
            list += (list.empty() ? "" : ", ") + names[index] + " is " + given;
    }
    return list;
}

int LayerBuilder::fieldIndexOf(const std::vector<ExtraField>& extras,
                               const std::vector<MeasureColumn>& columns,
                               std::string_view name) const {
    for (std::size_t column = 0; column < columns.size(); ++column)
        if (columns[column].name == name)
            return static_cast<int>(extras.size() + column);
    return -1;
}

std::optional<std::string> LayerBuilder::add(OGRGeometry& geometry, int index,
                                             const std::vector<ExtraField>& extras,
                                             const std::vector<MeasureColumn>& columns) {
    OGRFeature feature(m_layer->GetLayerDefn());
    feature.SetGeometryDirectly(geometry.clone());
    int field = 0;
    for (const ExtraField& extra : extras)
        feature.SetField(field++, static_cast<GIntBig>(extra.value(index)));
    for (const MeasureColumn& column : columns) {
        const std::optional<double> value = column.value(index);
        if (!value)
            feature.SetFieldNull(field);
        else if (column.kind == MeasureColumn::Kind::Integer)
            feature.SetField(field, static_cast<GIntBig>(*value));
        else if (column.kind == MeasureColumn::Kind::Float)
            feature.SetField(field, AsWritten(static_cast<float>(*value)));
        else
            feature.SetField(field, *value);
        ++field;
    }
    if (m_layer->CreateFeature(&feature) != OGRERR_NONE)
        return failure("a feature could not be written");
    return std::nullopt;
}

std::optional<std::string> LayerBuilder::addLines(std::span<const MapLine> lines,
                                                  const std::vector<ExtraField>& extras,
                                                  const std::vector<MeasureColumn>& columns) {
    OGRLineString line;
    line.setNumPoints(2);
    for (std::size_t index = 0; index < lines.size(); ++index) {
        line.setPoint(0, lines[index].x1, lines[index].y1);
        line.setPoint(1, lines[index].x2, lines[index].y2);
        if (auto fault = add(line, static_cast<int>(index), extras, columns))
            return fault;
    }
    return std::nullopt;
}

std::optional<std::string> LayerBuilder::addField(const char* name, OGRFieldType type) {
    OGRFieldDefn definition(name, type);
    if (m_layer->CreateField(&definition) != OGRERR_NONE)
        return failure("the field " + QuotedValue(name) + " could not be made");
    return std::nullopt;
}

std::string LayerBuilder::failure(const std::string& what) const {
    return "layer " + QuotedValue(m_name) + ": " + m_gdal.lastError(what);
}

} // namespace vantrel::gis
