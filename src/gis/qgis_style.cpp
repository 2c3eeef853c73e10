#include "gis/qgis_style.h"

#include "core/display/colour_scale.h"

#include <algorithm>
#include <cmath>
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

std::string Symbol(StyledGeometry geometry, int index, const display::Rgb& colour) {
    const std::string rgba = std::to_string(colour.red) + "," + std::to_string(colour.green) + "," +
                             std::to_string(colour.blue) + ",255";
    const bool line = geometry == StyledGeometry::Line;
    const std::string properties = line ? Properties({{"line_color", rgba},
                                                      {"line_style", "solid"},
                                                      {"line_width", "0.6"},
                                                      {"line_width_unit", "MM"},
                                                      {"capstyle", "round"},
                                                      {"joinstyle", "round"}})
                                        : Properties({{"name", "circle"},
                                                      {"color", rgba},
                                                      {"outline_style", "no"},
                                                      {"size", "2.4"},
                                                      {"size_unit", "MM"}});
    return "      <symbol type=\"" + std::string(line ? "line" : "marker") + "\" name=\"" +
           std::to_string(index) + "\" alpha=\"1\" clip_to_extent=\"1\" force_rhr=\"0\">\n" +
           "        <layer class=\"" + (line ? "SimpleLine" : "SimpleMarker") +
           "\" enabled=\"1\" locked=\"0\" pass=\"0\">\n" + properties +
           "        </layer>\n      </symbol>\n";
}

} // namespace

std::string QgisStyle(StyledGeometry geometry, std::string_view field) {
    // Step 1 (blue) to 13 (red), as the program rounds 12 * value + 1 to a step.
    std::vector<double> bounds{0.0};
    for (int step = 1; step < display::kColourScaleEntries; ++step)
        bounds.push_back((step - 0.5) / 12.0);
    bounds.push_back(1.0);
    return QgisStyle(geometry, field, bounds);
}

std::vector<double> EqualCountBounds(std::vector<double> values) {
    constexpr int kRanges = display::kColourScaleEntries;
    std::sort(values.begin(), values.end());
    std::vector<double> bounds;
    for (int bound = 0; bound <= kRanges; ++bound) {
        if (values.empty()) {
            bounds.push_back(0);
            continue;
        }
        const std::size_t rank = (values.size() - 1) * static_cast<std::size_t>(bound) / kRanges;
        bounds.push_back(values[rank]);
    }
    // The style keeps six decimals: the outer bounds are widened to them, so that the least and
    // the greatest values are drawn too.
    bounds.front() = std::floor(bounds.front() * 1e6) / 1e6;
    bounds.back() = std::ceil(bounds.back() * 1e6) / 1e6;
    return bounds;
}

std::string QgisStyle(StyledGeometry geometry, std::string_view field,
                      std::span<const double> bounds) {
    const std::string attribute(field);
    std::string ranges;
    std::string symbols;
    for (int step = 1; step <= display::kColourScaleEntries; ++step) {
        const double lower = bounds[static_cast<std::size_t>(step) - 1];
        const double upper = bounds[static_cast<std::size_t>(step)];
        const int index = step - 1;
        ranges += "      <range render=\"true\" symbol=\"" + std::to_string(index) + "\" lower=\"" +
                  Number(lower, 6) + "\" upper=\"" + Number(upper, 6) + "\" label=\"" +
                  Number(lower, 4) + " - " + Number(upper, 4) + "\"/>\n";
        symbols += Symbol(geometry, index, display::colourForStep(step));
    }
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

} // namespace vantrel::gis
