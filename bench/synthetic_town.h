// A synthetic town of streets on a grid of blocks, drawn twice: cleanly, as the straight segments
// a careful person would draw between junctions and bends, and as raw street data, the way
// OpenStreetMap and careless GIS layers hold it. The raw ways run through junctions, curves come
// as many short pieces, streets bend, some ways are drawn twice, some lie along others, some end
// a centimetre short of a junction or on another street without a shared vertex, a roundabout
// comes as a ring of short pieces, a bridge crosses streets without junctions, and pieces of zero
// length turn up. Preparing the raw ways with the default settings gives the clean segments
// exactly, and preparing the clean segments changes nothing.
#pragma once

#include "core/app/project_state.h"
#include "core/geometry/orientation.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace vantrel::bench {

using geometry::DoublePoint;

struct TownWay {
    std::int64_t id = 0;
    std::vector<DoublePoint> points;
    // OpenStreetMap's tags for it.
    std::string highway;
    bool bridge = false;
    bool roundabout = false;
};

struct TownPlan {
    int blocksAcross = 6;
    int blocksDown = 5;
    // Another run gives another town of the same size.
    unsigned run = 1;
    double pieceLength = 5;
};

struct Town {
    // Straight segments that meet only at their end points.
    std::vector<MapLine> clean;
    // The same streets as raw ways.
    std::vector<TownWay> raw;
    // Ways that are not streets people walk or drive on (a railway, a proposed road), for a
    // highway filter to leave out.
    std::vector<TownWay> others;
};

namespace detail {

inline constexpr double kBlockWidth = 100;
inline constexpr double kBlockHeight = 80;
inline constexpr double kOriginX = 400000;
inline constexpr double kOriginY = 5700000;
inline constexpr double kRoundaboutRadius = 12;
inline constexpr double kBend = 12;
inline constexpr double kJitter = 0.05;
inline constexpr double kGap = 0.01;
inline constexpr int kRingPiecesPerQuarter = 30;

class TownMaker {
public:
    explicit TownMaker(const TownPlan& plan)
        : m_plan(plan), m_nx(plan.blocksAcross), m_ny(plan.blocksDown), m_random(plan.run) {}

    Town make() {
        chooseStreets();
        drawRows();
        drawColumns();
        drawRoundabouts();
        drawSpursAndStrays();
        drawBridge();
        m_town.others.push_back(
            way({{kOriginX, kOriginY - 30}, {kOriginX + m_nx * kBlockWidth, kOriginY - 30}}, "",
                false));
        m_town.others.push_back(way({junction(0, m_ny), junction(m_nx, 0)}, "proposed", false));
        return std::move(m_town);
    }

private:
    enum Arm { East, North, West, South };

    bool chance(double probability) {
        return std::uniform_real_distribution<double>(0, 1)(m_random) < probability;
    }
    double jitter() { return std::uniform_real_distribution<double>(-kJitter, kJitter)(m_random); }

    DoublePoint junction(int i, int j) const {
        return {kOriginX + i * kBlockWidth, kOriginY + j * kBlockHeight};
    }
    bool inside(int i, int j) const { return i >= 0 && j >= 0 && i <= m_nx && j <= m_ny; }
    // The block-side from junction (i, j) towards `arm`, if there is one.
    bool present(int i, int j, Arm arm) const {
        switch (arm) {
        case East:
            return i < m_nx && m_east[index(i, j)];
        case West:
            return i > 0 && m_east[index(i - 1, j)];
        case North:
            return j < m_ny && m_north[index(i, j)];
        case South:
            return j > 0 && m_north[index(i, j - 1)];
        }
        return false;
    }
    int arms(int i, int j) const {
        int count = 0;
        for (const Arm arm : {East, North, West, South})
            count += present(i, j, arm);
        return count;
    }
    int index(int i, int j) const { return j * (m_nx + 1) + i; }

    void chooseStreets() {
        const int count = (m_nx + 1) * (m_ny + 1);
        m_east.assign(count, false);
        m_north.assign(count, false);
        m_bentEast.assign(count, 0);
        m_bentNorth.assign(count, 0);
        m_roundabout.assign(count, false);
        m_omitted.assign(count, false);
        m_gapTaken.assign(count, false);
        for (int j = 0; j <= m_ny; ++j)
            for (int i = 0; i <= m_nx; ++i) {
                m_east[index(i, j)] = i < m_nx && chance(0.93);
                m_north[index(i, j)] = j < m_ny && chance(0.93);
            }
        // The roundabouts, with all four arms.
        for (int j = 1; j < m_ny; ++j)
            for (int i = 1; i < m_nx; ++i)
                if ((i == m_nx / 2 && j == m_ny / 2) || chance(0.02)) {
                    m_roundabout[index(i, j)] = true;
                    m_east[index(i, j)] = m_east[index(i - 1, j)] = true;
                    m_north[index(i, j)] = m_north[index(i, j - 1)] = true;
                }
        // The bridge's ends are junctions.
        m_bridgeRow = m_ny;
        while (std::gcd(m_nx, m_bridgeRow) != 1)
            --m_bridgeRow;
        m_east[index(0, 0)] = true;
        m_north[index(m_nx, m_bridgeRow == m_ny ? m_ny - 1 : m_bridgeRow)] = true;
        // A junction of two streets running straight on is no junction: it gets a third arm,
        // which may give the junction at its other end a second.
        for (bool changed = true; changed;) {
            changed = false;
            for (int j = 0; j <= m_ny; ++j)
                for (int i = 0; i <= m_nx; ++i) {
                    if (arms(i, j) != 2)
                        continue;
                    if (present(i, j, East) && present(i, j, West)) {
                        m_north[index(i, j < m_ny ? j : j - 1)] = true;
                        changed = true;
                    } else if (present(i, j, North) && present(i, j, South)) {
                        m_east[index(i < m_nx ? i : i - 1, j)] = true;
                        changed = true;
                    }
                }
        }
        for (int j = 0; j <= m_ny; ++j)
            for (int i = 0; i <= m_nx; ++i) {
                m_bentEast[index(i, j)] = chance(0.15) ? (chance(0.5) ? 1 : -1) : 0;
                m_bentNorth[index(i, j)] = chance(0.15) ? (chance(0.5) ? 1 : -1) : 0;
            }
    }

    // Where the block-side from junction (i, j) towards `arm` starts: the junction, or the
    // roundabout's entry on that side.
    DoublePoint armStart(int i, int j, Arm arm) const {
        const DoublePoint at = junction(i, j);
        if (!m_roundabout[index(i, j)])
            return at;
        switch (arm) {
        case East:
            return {at.x + kRoundaboutRadius, at.y};
        case West:
            return {at.x - kRoundaboutRadius, at.y};
        case North:
            return {at.x, at.y + kRoundaboutRadius};
        case South:
            return {at.x, at.y - kRoundaboutRadius};
        }
        return at;
    }

    // The clean polyline of a block-side: its two ends and a bend between them, if bent.
    std::vector<DoublePoint> side(DoublePoint from, DoublePoint to, int bend, bool east) const {
        if (bend == 0)
            return {from, to};
        DoublePoint middle{(from.x + to.x) / 2, (from.y + to.y) / 2};
        (east ? middle.y : middle.x) += bend * kBend;
        return {from, middle, to};
    }

    void addClean(const std::vector<DoublePoint>& polyline) {
        for (std::size_t at = 0; at + 1 < polyline.size(); ++at)
            m_town.clean.push_back(
                {polyline[at].x, polyline[at].y, polyline[at + 1].x, polyline[at + 1].y});
    }

    // The raw points of a clean polyline, its first point left out: every straight leg in pieces
    // of about the piece length, the points between moved off the leg a little when `wobble`.
    void appendPieces(const std::vector<DoublePoint>& polyline, bool wobble,
                      std::vector<DoublePoint>& points) {
        for (std::size_t at = 0; at + 1 < polyline.size(); ++at) {
            const DoublePoint a = polyline[at], b = polyline[at + 1];
            const double length = std::hypot(b.x - a.x, b.y - a.y);
            const int pieces =
                std::max(1, static_cast<int>(std::lround(length / m_plan.pieceLength)));
            for (int piece = 1; piece < pieces; ++piece) {
                const double t = static_cast<double>(piece) / pieces;
                DoublePoint point{a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
                if (wobble) {
                    const double offset = jitter();
                    point.x += offset * -(b.y - a.y) / length;
                    point.y += offset * (b.x - a.x) / length;
                }
                points.push_back(point);
            }
            points.push_back(b);
        }
    }

    TownWay way(std::vector<DoublePoint> points, std::string highway, bool bridge) {
        return {++m_lastId, std::move(points), std::move(highway), bridge, false};
    }

    // Each row of streets as long ways through its junctions, broken where a side is missing
    // and at roundabouts; now and then a junction of a T left out, so that the street ending
    // there lies on the row without a shared vertex, and a stretch drawn again by a second way.
    void drawRows() {
        for (int j = 0; j <= m_ny; ++j) {
            std::vector<DoublePoint> points;
            const auto finish = [&] {
                if (points.size() >= 2)
                    m_town.raw.push_back(
                        way(points, j % 3 == 0 ? "primary" : "residential", false));
                points.clear();
            };
            for (int i = 0; i < m_nx; ++i) {
                if (!m_east[index(i, j)]) {
                    finish();
                    continue;
                }
                const DoublePoint from = armStart(i, j, East);
                const DoublePoint to = armStart(i + 1, j, West);
                const int bend = m_bentEast[index(i, j)];
                const std::vector<DoublePoint> polyline = side(from, to, bend, true);
                addClean(polyline);
                if (points.empty())
                    points.push_back(from);
                else if (omitJunction(i, j))
                    points.pop_back();
                appendPieces(polyline, bend != 0, points);
                if (bend == 0 && chance(0.05))
                    m_town.raw.push_back(
                        way({{from.x + 25, from.y}, {from.x + 50, from.y}, {from.x + 75, from.y}},
                            "residential", false));
                if (m_roundabout[index(i + 1, j)])
                    finish();
            }
            finish();
        }
    }

    // A T junction on a straight stretch of a row, whose street from the side may end on the row
    // without the row having the junction as a vertex.
    bool omitJunction(int i, int j) {
        const int at = index(i, j);
        const bool tee = present(i, j, West) && present(i, j, East) &&
                         present(i, j, North) != present(i, j, South);
        if (!tee || m_roundabout[at] || m_bentEast[at] != 0 || m_bentEast[index(i - 1, j)] != 0 ||
            !chance(0.3))
            return false;
        m_omitted[at] = true;
        return true;
    }

    // Each column side as a way of its own, some drawn twice, some ending a centimetre short of
    // a junction that a row still holds.
    void drawColumns() {
        for (int j = 0; j < m_ny; ++j)
            for (int i = 0; i <= m_nx; ++i) {
                if (!m_north[index(i, j)])
                    continue;
                const DoublePoint from = armStart(i, j, North);
                const DoublePoint to = armStart(i, j + 1, South);
                const std::vector<DoublePoint> polyline =
                    side(from, to, m_bentNorth[index(i, j)], false);
                addClean(polyline);
                std::vector<DoublePoint> points{from};
                appendPieces(polyline, true, points);
                if (mayPullBack(i, j + 1))
                    points.back().y -= kGap;
                else if (mayPullBack(i, j))
                    points.front().y += kGap;
                m_town.raw.push_back(way(points, "residential", false));
                if (chance(0.05))
                    m_town.raw.push_back(way(points, "residential", false));
            }
    }

    // Whether the column side ending at junction (i, j) may stop short of it: the junction stays
    // where two other streets meet, one of them a row, and no other end is pulled back from it.
    bool mayPullBack(int i, int j) {
        const int at = index(i, j);
        if (m_roundabout[at] || m_omitted[at] || m_gapTaken[at] || arms(i, j) < 3 ||
            !(present(i, j, East) || present(i, j, West)) || !chance(0.1))
            return false;
        m_gapTaken[at] = true;
        return true;
    }

    // Each roundabout as one closed way of many short pieces, which the clean town draws as the
    // four segments between its entries.
    void drawRoundabouts() {
        for (int j = 1; j < m_ny; ++j)
            for (int i = 1; i < m_nx; ++i) {
                if (!m_roundabout[index(i, j)])
                    continue;
                const DoublePoint entries[] = {armStart(i, j, East), armStart(i, j, North),
                                               armStart(i, j, West), armStart(i, j, South)};
                const DoublePoint centre = junction(i, j);
                std::vector<DoublePoint> ring{entries[0]};
                for (int quarter = 0; quarter < 4; ++quarter) {
                    for (int piece = 1; piece < kRingPiecesPerQuarter; ++piece) {
                        const double angle =
                            (quarter + static_cast<double>(piece) / kRingPiecesPerQuarter) *
                            std::acos(0.0);
                        ring.push_back({centre.x + kRoundaboutRadius * std::cos(angle),
                                        centre.y + kRoundaboutRadius * std::sin(angle)});
                    }
                    ring.push_back(entries[(quarter + 1) % 4]);
                    addClean({entries[quarter], entries[(quarter + 1) % 4]});
                }
                TownWay roundabout = way(ring, "tertiary", false);
                roundabout.roundabout = true;
                m_town.raw.push_back(std::move(roundabout));
            }
    }

    // Dead-end spurs into the blocks, and ways of zero length at junctions.
    void drawSpursAndStrays() {
        for (int j = 0; j < m_ny; ++j)
            for (int i = 0; i < m_nx; ++i) {
                const int at = index(i, j);
                if (arms(i, j) == 0 || m_roundabout[at] || m_omitted[at])
                    continue;
                const DoublePoint from = junction(i, j);
                if (chance(0.1)) {
                    const DoublePoint end{from.x + 20, from.y + 16};
                    if (farFromBridge(from, end)) {
                        addClean({from, end});
                        std::vector<DoublePoint> points{from};
                        appendPieces({from, end}, true, points);
                        m_town.raw.push_back(way(points, "service", false));
                    }
                }
                if (chance(0.02))
                    m_town.raw.push_back(way({from, from}, "footway", false));
            }
    }

    bool farFromBridge(DoublePoint from, DoublePoint to) const {
        const DoublePoint a = junction(0, 0), b = junction(m_nx, m_bridgeRow);
        const double length = std::hypot(b.x - a.x, b.y - a.y);
        const auto apart = [&](DoublePoint p) {
            return std::fabs((b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x)) / length;
        };
        const bool sameSide = ((b.x - a.x) * (from.y - a.y) - (b.y - a.y) * (from.x - a.x) > 0) ==
                              ((b.x - a.x) * (to.y - a.y) - (b.y - a.y) * (to.x - a.x) > 0);
        return sameSide && apart(from) > 5 && apart(to) > 5;
    }

    // A straight way across the town from corner to far side, over the streets it crosses.
    void drawBridge() {
        const DoublePoint from = junction(0, 0), to = junction(m_nx, m_bridgeRow);
        addClean({from, to});
        std::vector<DoublePoint> points{from};
        appendPieces({from, to}, true, points);
        m_town.raw.push_back(way(points, "primary", true));
    }

    TownPlan m_plan;
    int m_nx, m_ny;
    std::mt19937 m_random;
    Town m_town;
    std::int64_t m_lastId = 0;
    int m_bridgeRow = 1;
    std::vector<bool> m_east, m_north, m_roundabout, m_omitted, m_gapTaken;
    std::vector<int> m_bentEast, m_bentNorth;
};

} // namespace detail

inline Town MakeTown(const TownPlan& plan = {}) {
    return detail::TownMaker(plan).make();
}

// The raw ways as the batch tool reads a layer of them: a straight piece for each pair of
// consecutive points, a repeated point of a longer way left out, each piece with its way's id.
inline void RawPieces(const Town& town, std::vector<MapLine>& pieces,
                      std::vector<std::int64_t>& ids) {
    for (const TownWay& way : town.raw) {
        for (std::size_t at = 0; at + 1 < way.points.size(); ++at) {
            const DoublePoint a = way.points[at], b = way.points[at + 1];
            if (way.points.size() > 2 && a.x == b.x && a.y == b.y)
                continue;
            pieces.push_back({a.x, a.y, b.x, b.y});
        }
        ids.resize(pieces.size(), way.id);
    }
}

// The raw ways as a CSV file of WKT line strings, which GDAL reads as a GIS layer (in metres,
// without a coordinate reference system), each with its way's id.
inline std::string TownWaysCsv(const Town& town) {
    std::string csv = "id,WKT\n";
    char number[64];
    for (const TownWay& way : town.raw) {
        csv += std::to_string(way.id) + ",\"LINESTRING (";
        for (std::size_t at = 0; at < way.points.size(); ++at) {
            std::snprintf(number, sizeof number, "%.17g %.17g", way.points[at].x, way.points[at].y);
            csv += (at == 0 ? "" : ", ") + std::string(number);
        }
        csv += ")\"\n";
    }
    return csv;
}

// The clean town as the program's x1,y1,x2,y2 CSV file of lines.
inline std::string CleanTownCsv(const Town& town) {
    std::string csv = "x1,y1,x2,y2\n";
    char row[128];
    for (const MapLine& line : town.clean) {
        std::snprintf(row, sizeof row, "%.17g,%.17g,%.17g,%.17g\n", line.x1, line.y1, line.x2,
                      line.y2);
        csv += row;
    }
    return csv;
}

// The town as an OpenStreetMap XML file, its metres laid out around longitude `lon` and
// latitude `lat` (a local approximation, good to a few centimetres over a town). Points that
// ways share are one node.
inline std::string TownOsmXml(const Town& town, double lon, double lat) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<osm version=\"0.6\" "
                      "generator=\"vantrel synthetic town\">\n";
    constexpr double kMetresPerDegree = 111319.49;
    const double lonScale = kMetresPerDegree * std::cos(lat * std::acos(-1.0) / 180);
    std::vector<std::pair<std::pair<double, double>, std::int64_t>> nodes;
    std::vector<std::vector<std::int64_t>> refs;
    const auto all = [&](auto&& visit) {
        for (const TownWay& way : town.raw)
            visit(way);
        for (const TownWay& way : town.others)
            visit(way);
    };
    all([&](const TownWay& way) {
        for (const DoublePoint& point : way.points)
            nodes.push_back({{point.x, point.y}, 0});
    });
    std::sort(nodes.begin(), nodes.end());
    nodes.erase(std::unique(nodes.begin(), nodes.end()), nodes.end());
    char text[160];
    for (std::size_t at = 0; at < nodes.size(); ++at) {
        nodes[at].second = static_cast<std::int64_t>(at + 1);
        const double x = nodes[at].first.first - detail::kOriginX;
        const double y = nodes[at].first.second - detail::kOriginY;
        std::snprintf(text, sizeof text, "  <node id=\"%zu\" lat=\"%.7f\" lon=\"%.7f\"/>\n", at + 1,
                      lat + y / kMetresPerDegree, lon + x / lonScale);
        xml += text;
    }
    const auto nodeOf = [&](DoublePoint point) {
        return std::lower_bound(nodes.begin(), nodes.end(),
                                std::pair{std::pair{point.x, point.y}, std::int64_t{0}})
            ->second;
    };
    all([&](const TownWay& way) {
        xml += "  <way id=\"" + std::to_string(way.id) + "\">";
        for (const DoublePoint& point : way.points)
            xml += "<nd ref=\"" + std::to_string(nodeOf(point)) + "\"/>";
        if (!way.highway.empty())
            xml += "<tag k=\"highway\" v=\"" + way.highway + "\"/>";
        else
            xml += "<tag k=\"railway\" v=\"rail\"/>";
        if (way.bridge)
            xml += "<tag k=\"bridge\" v=\"yes\"/><tag k=\"layer\" v=\"1\"/>";
        if (way.roundabout)
            xml += "<tag k=\"junction\" v=\"roundabout\"/>";
        xml += "</way>\n";
    });
    return xml + "</osm>\n";
}

} // namespace vantrel::bench
