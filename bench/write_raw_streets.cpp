// Writes the synthetic town for benchmarks and comparisons with the batch tool: its raw streets
// of about PIECES straight pieces, as an OpenStreetMap XML file (.osm) or a CSV file of WKT line
// strings (.csv) that GDAL reads as a GIS layer; with --clean, the same town drawn cleanly, as a
// CSV file of x1,y1,x2,y2 lines, which preparing the raw streets gives exactly.
// Usage: vantrel_raw_streets PIECES FILE [RUN] [--clean]
#include "synthetic_town.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string_view> words(argv + 1, argv + argc);
    const auto clean = std::find(words.begin(), words.end(), "--clean");
    const bool writeClean = clean != words.end();
    if (writeClean)
        words.erase(clean);
    int pieces = 0;
    unsigned run = 1;
    const auto whole = [](std::string_view text, auto& value) {
        return std::from_chars(text.data(), text.data() + text.size(), value).ec == std::errc{};
    };
    if (words.size() < 2 || words.size() > 3 || !whole(words[0], pieces) || pieces < 36 ||
        (words.size() == 3 && !whole(words[2], run))) {
        std::cerr << "usage: vantrel_raw_streets PIECES FILE.osm|FILE.csv [RUN] [--clean]\n";
        return 2;
    }
    vantrel::bench::TownPlan plan;
    plan.run = run;
    plan.blocksAcross = plan.blocksDown = static_cast<int>(std::lround(std::sqrt(pieces / 36.0)));
    const vantrel::bench::Town town = vantrel::bench::MakeTown(plan);
    const std::string file(words[1]);
    const bool osm = file.size() > 4 && file.substr(file.size() - 4) == ".osm";
    std::ofstream out(file, std::ios::binary);
    if (writeClean)
        out << vantrel::bench::CleanTownCsv(town);
    else
        out << (osm ? vantrel::bench::TownOsmXml(town, -0.1, 51.5)
                    : vantrel::bench::TownWaysCsv(town));
    if (!out) {
        std::cerr << "vantrel_raw_streets: could not write " << file << "\n";
        return 1;
    }
    return 0;
}
