#include "gis/qgis_style.h"

#include "core/display/colour_scale.h"

#include <cstdio>
#include <utility>
#include <vector>

namespace vantrel::gis {

namespace {

// What an item without a value is classified by; no measure styled is negative.
constexpr double kNoValue = -1;

std::string Number(double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// Digits enough to read back the very value, so that an item whose value is a class bound falls
// in that class.
std::string Exact(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
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

std::string Range(int index, double lower, double upper, const std::string& label) {
    return "      <range render=\"true\" symbol=\"" + std::to_string(index) + "\" lower=\"" +
           Exact(lower) + "\" upper=\"" + Exact(upper) + "\" label=\"" + label + "\"/>\n";
}

// A graduated renderer on `attribute` (XML-quoted) with the given ranges and symbols, the items
// ordered by `orderBy` so that the highest value is drawn on top; `method` tells QGIS's dialog
// how the classes were made.
std::string Graduated(const std::string& attribute, const std::string& ranges,
                      const std::string& symbols, const std::string& method,
                      const std::string& orderBy) {
    return "<!DOCTYPE qgis PUBLIC 'http://mrcc.com/qgis.dtd' 'SYSTEM'>\n"
           "<qgis version=\"3.28.0\" styleCategories=\"Symbology\">\n"
           "  <renderer-v2 type=\"graduatedSymbol\" attr=\"" +
           attribute +
           "\" graduatedMethod=\"GraduatedColor\" symbollevels=\"0\" forceraster=\"0\" "
           "enableorderby=\"1\">\n"
           "    <ranges>\n" +
           ranges + "    </ranges>\n    <symbols>\n" + symbols + "    </symbols>\n" + method +
           "    <orderby>\n"
           "      <orderByClause asc=\"1\" nullsFirst=\"1\">" +
           orderBy +
           "</orderByClause>\n"
           "    </orderby>\n"
           "  </renderer-v2>\n"
           "</qgis>\n";
}

} // namespace

std::string QgisStyle(StyledGeometry geometry, std::string_view field,
                      const display::ClassBreaks& breaks, bool someWithoutValue) {
    const std::string quoted = "\"" + std::string(field) + "\"";
    // A graduated renderer draws no item whose value is missing; read as -1, such items get a
    // grey class of their own rather than vanishing from the map.
    const std::string classified =
        someWithoutValue ? "coalesce(" + quoted + ", " + Exact(kNoValue) + ")" : std::string(field);
    std::string attribute = classified;
    for (std::size_t at = 0; (at = attribute.find('"', at)) != std::string::npos;)
        attribute.replace(at, 1, "&quot;");
    const auto classes = static_cast<int>(breaks.uppers.size());
    std::string ranges;
    std::string symbols;
    int symbol = 0;
    const auto addRange = [&](double lower, double upper, const std::string& label,
                              const display::Rgb& colour) {
        ranges += Range(symbol, lower, upper, label);
        symbols += Symbol(geometry, symbol++, colour);
    };
    double lower = breaks.lowest;
    for (int index = 0; index < classes; ++index) {
        const double upper = breaks.uppers[static_cast<std::size_t>(index)];
        // The lowest class blue (step 1), the highest red (step 13), spread evenly between.
        const int step = classes == 1
                             ? display::kColourScaleEntries
                             : 1 + index * (display::kColourScaleEntries - 1) / (classes - 1);
        addRange(lower, upper, Number(lower, 4) + " - " + Number(upper, 4),
                 display::colourForStep(step));
        lower = upper;
    }
    if (someWithoutValue)
        addRange(kNoValue, kNoValue, "no value", {160, 160, 160});
    return Graduated(attribute, ranges, symbols,
                     "    <classificationMethod id=\"Quantile\">\n"
                     "      <symmetricMode enabled=\"0\" symmetrypoint=\"0\" astride=\"0\"/>\n"
                     "      <labelFormat format=\"%1 - %2\" labelprecision=\"4\" "
                     "trimtrailingzeroes=\"0\"/>\n"
                     "    </classificationMethod>\n",
                     someWithoutValue ? classified : quoted);
}

std::string QgisSymbol(StyledGeometry geometry, int index, const display::Rgb& colour) {
    return Symbol(geometry, index, colour);
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
    const auto label = [](double lower, double upper) {
        return Number(lower, 4) + " - " + Number(upper, 4);
    };
    if (!(highest > lowest)) {
        ranges = Range(0, lowest, highest, label(lowest, highest));
        symbols = cell(0, display::colourForStep(display::kColourScaleEntries));
    } else {
        const double span = highest - lowest;
        for (int step = 1; step <= display::kColourScaleEntries; ++step) {
            const double lower = step == 1 ? lowest : lowest + span * (step - 1.5) / 12.0;
            const double upper = step == display::kColourScaleEntries
                                     ? highest
                                     : lowest + span * (step - 0.5) / 12.0;
            ranges += Range(step - 1, lower, upper, label(lower, upper));
            symbols += cell(step - 1, display::colourForStep(step));
        }
    }
    const std::string quoted = "\"" + std::string(field) + "\"";
    return Graduated(std::string(field), ranges, symbols, "", quoted);
}

} // namespace vantrel::gis
