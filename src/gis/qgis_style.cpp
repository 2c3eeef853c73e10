#include "gis/qgis_style.h"

#include "core/display/colour_scale.h"

#include <cstdio>
#include <utility>
#include <vector>

namespace vantrel::gis {

namespace {

std::string Number(double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// A symbol layer's properties, as QGIS 3.26 and later keep them (an option map) and as earlier
// versions read them (prop elements).
std::string Properties(const std::vector<std::pair<const char*, std::string>>& properties) {
    std::string options = "          <Option type=\"Map\">\n";
    std::string props;
    for (const auto& [name, value] : properties) {
        options += "            <Option name=\"" + std::string(name) +
                   "\" type=\"QString\" value=\"" + value + "\"/>\n";
        props += "          <prop k=\"" + std::string(name) + "\" v=\"" + value + "\"/>\n";
    }
    return options + "          </Option>\n" + props;
}

std::string Rgba(const display::Rgb& colour) {
    return std::to_string(colour.red) + "," + std::to_string(colour.green) + "," +
           std::to_string(colour.blue) + ",255";
}

// A symbol of the graduated renderer: its type, layer class and properties.
std::string Symbol(int index, const char* type, const char* layerClass,
                   const std::vector<std::pair<const char*, std::string>>& properties) {
    return "      <symbol type=\"" + std::string(type) + "\" name=\"" + std::to_string(index) +
           "\" alpha=\"1\" clip_to_extent=\"1\" force_rhr=\"0\">\n" + "        <layer class=\"" +
           layerClass + "\" enabled=\"1\" locked=\"0\" pass=\"0\">\n" + Properties(properties) +
           "        </layer>\n      </symbol>\n";
}

std::string Symbol(StyledGeometry geometry, int index, const display::Rgb& colour) {
    const std::string rgba = Rgba(colour);
    if (geometry == StyledGeometry::Line)
        return Symbol(index, "line", "SimpleLine",
                      {{"line_color", rgba},
                       {"line_style", "solid"},
                       {"line_width", "0.6"},
                       {"line_width_unit", "MM"},
                       {"capstyle", "round"},
                       {"joinstyle", "round"}});
    return Symbol(index, "marker", "SimpleMarker",
                  {{"name", "circle"},
                   {"color", rgba},
                   {"outline_style", "no"},
                   {"size", "2.4"},
                   {"size_unit", "MM"}});
}

// A graduated renderer on `attribute` with the given ranges and symbols, the highest value drawn
// on top.
std::string Graduated(const std::string& attribute, const std::string& ranges,
                      const std::string& symbols) {
    return "<!DOCTYPE qgis PUBLIC 'http://mrcc.com/qgis.dtd' 'SYSTEM'>\n"
           "<qgis version=\"3.28.0\" styleCategories=\"Symbology\">\n"
           "  <renderer-v2 type=\"graduatedSymbol\" attr=\"" +
           attribute +
           "\" graduatedMethod=\"GraduatedColor\" symbollevels=\"0\" forceraster=\"0\" "
           "enableorderby=\"1\">\n"
           "    <ranges>\n" +
           ranges + "    </ranges>\n    <symbols>\n" + symbols +
           "    </symbols>\n"
           "    <orderby>\n"
           "      <orderByClause asc=\"1\" nullsFirst=\"1\">\"" +
           attribute +
           "\"</orderByClause>\n"
           "    </orderby>\n"
           "  </renderer-v2>\n"
           "</qgis>\n";
}

std::string Range(int index, double lower, double upper, int decimals) {
    return "      <range render=\"true\" symbol=\"" + std::to_string(index) + "\" lower=\"" +
           Number(lower, 6) + "\" upper=\"" + Number(upper, 6) + "\" label=\"" +
           Number(lower, decimals) + " - " + Number(upper, decimals) + "\"/>\n";
}

} // namespace

std::string QgisStyle(StyledGeometry geometry, std::string_view field) {
    std::string ranges;
    std::string symbols;
    // Step 1 (blue) to 13 (red), as the program rounds 12 * value + 1 to a step.
    for (int step = 1; step <= display::kColourScaleEntries; ++step) {
        const double lower = step == 1 ? 0.0 : (step - 1.5) / 12.0;
        const double upper = step == display::kColourScaleEntries ? 1.0 : (step - 0.5) / 12.0;
        ranges += Range(step - 1, lower, upper, 4);
        symbols += Symbol(geometry, step - 1, display::colourForStep(step));
    }
    return Graduated(std::string(field), ranges, symbols);
}

std::string QgisCellStyle(std::string_view field, double lowest, double highest, double cellSize) {
    std::string ranges;
    std::string symbols;
    const auto cell = [&](int index, const display::Rgb& colour) {
        return Symbol(index, "marker", "SimpleMarker",
                      {{"name", "square"},
                       {"color", Rgba(colour)},
                       {"outline_style", "no"},
                       {"size", Number(cellSize, 6)},
                       {"size_unit", "MapUnit"}});
    };
    if (!(highest > lowest)) {
        ranges = Range(0, lowest, highest, 6);
        symbols = cell(0, display::colourForStep(display::kColourScaleEntries));
    } else {
        const double span = highest - lowest;
        for (int step = 1; step <= display::kColourScaleEntries; ++step) {
            const double lower = step == 1 ? lowest : lowest + span * (step - 1.5) / 12.0;
            const double upper = step == display::kColourScaleEntries
                                     ? highest
                                     : lowest + span * (step - 0.5) / 12.0;
            ranges += Range(step - 1, lower, upper, 4);
            symbols += cell(step - 1, display::colourForStep(step));
        }
    }
    return Graduated(std::string(field), ranges, symbols);
}

} // namespace vantrel::gis
