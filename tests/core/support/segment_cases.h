// The tiny maps the reference peer analysed, as segment maps, and the peer's CSV tables.
#pragma once

#include "core/geometry/intersections.h"
#include "core/io/axial_line_reader.h"
#include "core/segment/segment_building.h"
#include "core/segment/segment_columns.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace vantrel::reference {

inline std::string SegmentCasePath(const std::string& name) {
    return VANTREL_TEST_DATA "/reference/segment/" + name;
}

// The fields of a CSV record; a field in double quotes may hold commas.
inline std::vector<std::string> SplitRecord(const std::string& row) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (const char c : row) {
        if (c == '"')
            quoted = !quoted;
        else if (c == ',' && !quoted)
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

// A CSV file by column heading, as texts.
using PeerTexts = std::map<std::string, std::vector<std::string>>;

inline PeerTexts ReadPeerTexts(const std::string& name) {
    std::ifstream in(SegmentCasePath(name));
    EXPECT_TRUE(in) << name;
    std::string row;
    std::getline(in, row);
    const std::vector<std::string> headings = SplitRecord(row);
    PeerTexts table;
    while (std::getline(in, row)) {
        if (row.empty())
            continue;
        const std::vector<std::string> fields = SplitRecord(row);
        for (std::size_t column = 0; column < headings.size(); ++column)
            table[headings[column]].push_back(column < fields.size() ? fields[column] : "");
    }
    return table;
}

// The same with every value a number.
using PeerTable = std::map<std::string, std::vector<double>>;

inline PeerTable ReadPeerTable(const std::string& name) {
    PeerTable table;
    for (const auto& [heading, texts] : ReadPeerTexts(name))
        for (const std::string& text : texts)
            table[heading].push_back(std::stod(text));
    return table;
}

inline std::vector<MapLine> ReadCaseLines(const std::string& caseName) {
    std::vector<MapLine> lines;
    const auto fault = io::ReadMapLinesFile(SegmentCasePath(caseName + ".input.csv"), lines);
    EXPECT_FALSE(fault) << *fault;
    return lines;
}

// The segment map the way the peer made it: rcl_ maps straight from their lines, the others
// cut from axial lines with `stubPercent` stub removal.
inline segment::SegmentMap CaseMap(const std::string& caseName, double stubPercent = 0) {
    const std::vector<MapLine> lines = ReadCaseLines(caseName);
    if (caseName.starts_with("rcl_"))
        return segment::SegmentsFromRoadCentreLines(lines, 0).map;
    return segment::SegmentsFromAxialLines(lines, geometry::FindAllJunctions(lines), stubPercent);
}

// Per row of a peer table (matched on the unordered pair of end points), the segment's index.
inline std::vector<int> MatchPeerRows(const segment::SegmentMap& map, const PeerTable& peer) {
    const auto close = [](double a, double b) { return std::abs(a - b) < 1e-6; };
    std::vector<int> matched;
    for (std::size_t row = 0; row < peer.at("Ref").size(); ++row) {
        const double x1 = peer.at("x1")[row], y1 = peer.at("y1")[row];
        const double x2 = peer.at("x2")[row], y2 = peer.at("y2")[row];
        int found = -1;
        for (int index = 0; index < map.segmentCount(); ++index) {
            const MapLine& line = map.segment(index).line;
            const bool same = close(line.x1, x1) && close(line.y1, y1) && close(line.x2, x2) &&
                              close(line.y2, y2);
            const bool reversed = close(line.x1, x2) && close(line.y1, y2) && close(line.x2, x1) &&
                                  close(line.y2, y1);
            if (same || reversed)
                found = index;
        }
        EXPECT_GE(found, 0) << "peer segment " << row << " has no match";
        matched.push_back(found);
    }
    return matched;
}

// The columns of an analysis by heading.
class ColumnLookup {
public:
    ColumnLookup(const segment::SegmentMap& map, std::vector<segment::RadiusResults> results)
        : m_map(map), m_results(std::move(results)) {
        for (exports::MeasureColumn& column :
             segment::SegmentColumns({.map = m_map, .radii = m_results}))
            m_columns.emplace(column.name, std::move(column));
    }
    std::optional<double> value(const std::string& heading, int segment) const {
        const auto column = m_columns.find(heading);
        EXPECT_NE(column, m_columns.end()) << heading;
        if (column == m_columns.end())
            return std::nullopt;
        return column->second.value(segment);
    }

private:
    const segment::SegmentMap& m_map;
    std::vector<segment::RadiusResults> m_results;
    std::map<std::string, exports::MeasureColumn> m_columns;
};

} // namespace vantrel::reference
