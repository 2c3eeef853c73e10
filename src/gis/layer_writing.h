// What every writer of result layers shares: a layer's fields and features from measure columns.
#pragma once

#include "core/app/project_state.h"
#include "core/export/measure_columns.h"
#include "gis/gdal_session.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel::gis {

// A column of the layer besides the measures: its name and each item's value.
struct ExtraField {
    const char* name;
    std::function<std::int64_t(int index)> value;
};

class LayerBuilder {
public:
    LayerBuilder(GDALDataset& dataset, const char* name, OGRwkbGeometryType type,
                 OGRSpatialReference* crs, char** options, const GdalSession& gdal)
        : m_gdal(gdal), m_layer(dataset.CreateLayer(name, crs, type, options)), m_name(name) {}

    std::optional<std::string> addFields(const std::vector<ExtraField>& extras,
                                         const std::vector<exports::MeasureColumn>& columns);

    // The name the format gave a field (a Shapefile cuts names to ten characters).
    std::string fieldName(int index) const {
        return m_layer->GetLayerDefn()->GetFieldDefn(index)->GetNameRef();
    }
    // "integration_hh is integrat_1, ..." for every field the format named otherwise; empty
    // when it kept every name.
    std::string renamedFields(const std::vector<ExtraField>& extras,
                              const std::vector<exports::MeasureColumn>& columns) const;
    int fieldIndexOf(const std::vector<ExtraField>& extras,
                     const std::vector<exports::MeasureColumn>& columns,
                     std::string_view name) const;

    std::optional<std::string> add(OGRGeometry& geometry, int index,
                                   const std::vector<ExtraField>& extras,
                                   const std::vector<exports::MeasureColumn>& columns);

    // Each line as a feature of two points, the index of a line being its place in `lines`.
    std::optional<std::string> addLines(std::span<const MapLine> lines,
                                        const std::vector<ExtraField>& extras,
                                        const std::vector<exports::MeasureColumn>& columns);

    OGRLayer& layer() { return *m_layer; }
    const char* layerName() const { return m_layer->GetName(); }

private:
    std::optional<std::string> addField(const char* name, OGRFieldType type);
    std::string failure(const std::string& what) const;

    const GdalSession& m_gdal;
    OGRLayer* m_layer;
    std::string m_name;
};

} // namespace vantrel::gis
