#include "core/vga/visibility_graph.h"

#include "core/analysis/parallel_units.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <string>

namespace vantrel::vga {

namespace {

constexpr int kPointsPerUnit = 64;

struct Band {
    double from, to;
};

// What one point sees, row by row of the grid, from its isovist outline.
class RowScanner {
public:
    RowScanner(const PointGrid& grid, const WallSet& walls)
        : m_grid(grid), m_walls(walls), m_crossings(static_cast<std::size_t>(grid.rows())),
          m_bands(static_cast<std::size_t>(grid.rows())),
          m_rowTouched(static_cast<std::size_t>(grid.rows()), 0), m_margin(grid.spacing() * 1e-6) {}

    // The runs of the points `point` sees, ascending and merged.
    const std::vector<PointRun>& scan(int point, std::span<const DoublePoint> outline,
                                      std::span<const Crack> cracks) {
        m_point = point;
        m_from = m_grid.location(point);
        m_runs.clear();
        for (std::size_t index = 0; index < outline.size(); ++index)
            addEdge(outline[index], outline[(index + 1) % outline.size()], true);
        for (const Crack& crack : cracks)
            addEdge(crack.nearEnd, crack.farEnd, false);
        std::sort(m_touched.begin(), m_touched.end());
        for (const int row : m_touched) {
            scanRow(row);
            m_crossings[static_cast<std::size_t>(row)].clear();
            m_bands[static_cast<std::size_t>(row)].clear();
            m_rowTouched[static_cast<std::size_t>(row)] = 0;
        }
        m_touched.clear();
        std::sort(m_runs.begin(), m_runs.end(),
                  [](const PointRun& a, const PointRun& b) { return a.first < b.first; });
        std::size_t kept = 0;
        for (const PointRun& run : m_runs) {
            if (kept > 0 && run.first <= m_runs[kept - 1].last + 1)
                m_runs[kept - 1].last = std::max(m_runs[kept - 1].last, run.last);
            else
                m_runs[kept++] = run;
        }
        m_runs.resize(kept);
        return m_runs;
    }

private:
    // An edge crossing a row's line flips inside and outside there (counted by the half-open
    // rule, so that a corner on the line counts once); every edge also marks the places of the
    // row near enough to it for rounding to matter.
    void addEdge(DoublePoint a, DoublePoint b, bool flips) {
        const double spacing = m_grid.spacing();
        const double low = std::min(a.y, b.y) + m_from.y, high = std::max(a.y, b.y) + m_from.y;
        const double firstRow = static_cast<double>(m_grid.firstRow());
        const int top = static_cast<int>(std::min<double>(
            std::floor((high + m_margin) / spacing) - firstRow, m_grid.rows() - 1));
        for (int row =
                 static_cast<int>(std::max(0.0, std::ceil((low - m_margin) / spacing) - firstRow));
             row <= top; ++row) {
            const double y = m_grid.rowY(row) - m_from.y;
            const auto index = static_cast<std::size_t>(row);
            if (!m_rowTouched[index]) {
                m_rowTouched[index] = 1;
                m_touched.push_back(row);
            }
            if (flips && (a.y <= y) != (b.y <= y))
                m_crossings[index].push_back(a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y));
            double from = std::min(a.x, b.x), to = std::max(a.x, b.x);
            if (std::fabs(b.y - a.y) > 2 * m_margin) {
                const double t0 = std::clamp((y - m_margin - a.y) / (b.y - a.y), 0.0, 1.0);
                const double t1 = std::clamp((y + m_margin - a.y) / (b.y - a.y), 0.0, 1.0);
                const double x0 = a.x + t0 * (b.x - a.x), x1 = a.x + t1 * (b.x - a.x);
                from = std::min(x0, x1);
                to = std::max(x0, x1);
            }
            m_bands[index].push_back({from - m_margin, to + m_margin});
        }
    }

    void addRun(std::int32_t first, std::int32_t last) {
        if (first < 0 || last < first)
            return;
        if (m_point >= first && m_point <= last) {
            if (first < m_point)
                m_runs.push_back({first, m_point - 1});
            if (m_point < last)
                m_runs.push_back({m_point + 1, last});
            return;
        }
        m_runs.push_back({first, last});
    }

    // The columns whose points lie within from .. to, relative to the viewpoint.
    std::pair<int, int> columnsWithin(double from, double to) const {
        const double spacing = m_grid.spacing();
        const double firstColumn = static_cast<double>(m_grid.firstColumn());
        const double first = std::max(0.0, std::ceil((from + m_from.x) / spacing) - firstColumn);
        const double last = std::min<double>(m_grid.columns() - 1,
                                             std::floor((to + m_from.x) / spacing) - firstColumn);
        return {static_cast<int>(first), static_cast<int>(std::max(last, first - 1))};
    }

    void scanRow(int row) {
        auto& crossings = m_crossings[static_cast<std::size_t>(row)];
        auto& bands = m_bands[static_cast<std::size_t>(row)];
        std::sort(crossings.begin(), crossings.end());
        std::sort(bands.begin(), bands.end(),
                  [](const Band& a, const Band& b) { return a.from < b.from; });
        std::size_t merged = 0;
        for (const Band& band : bands) {
            if (merged > 0 && band.from <= bands[merged - 1].to)
                bands[merged - 1].to = std::max(bands[merged - 1].to, band.to);
            else
                bands[merged++] = band;
        }
        bands.resize(merged);
        // Inside the outline and clear of every band: seen, whatever rounding did.
        std::size_t next = 0;
        for (std::size_t pair = 0; pair + 1 < crossings.size(); pair += 2) {
            double from = crossings[pair];
            const double to = crossings[pair + 1];
            while (next < bands.size() && bands[next].to <= from)
                ++next;
            for (std::size_t band = next; from < to; ++band) {
                const double end = band < bands.size() ? std::min(to, bands[band].from) : to;
                if (end > from) {
                    const auto [first, last] = columnsWithin(from, end);
                    if (first <= last)
                        addRun(m_grid.firstFrom(first, row), m_grid.lastUpTo(last, row));
                }
                if (band >= bands.size())
                    break;
                from = std::max(from, bands[band].to);
            }
        }
        // Near an edge: the segment itself decides.
        for (const Band& band : bands) {
            const auto [first, last] = columnsWithin(band.from, band.to);
            for (int column = first; column <= last; ++column) {
                const std::int32_t other = m_grid.pointAt(column, row);
                if (other >= 0 && other != m_point &&
                    !m_walls.blocks(m_from, m_grid.location(other)))
                    m_runs.push_back({other, other});
            }
        }
    }

    const PointGrid& m_grid;
    const WallSet& m_walls;
    std::vector<std::vector<double>> m_crossings;
    std::vector<std::vector<Band>> m_bands;
    std::vector<std::uint8_t> m_rowTouched;
    std::vector<int> m_touched;
    std::vector<PointRun> m_runs;
    double m_margin;
    int m_point = 0;
    DoublePoint m_from;
};

} // namespace

void VisibilityGraph::append(std::span<const PointRun> runs) {
    std::int32_t seen = 0;
    for (const PointRun& run : runs)
        seen += run.last - run.first + 1;
    m_runs.insert(m_runs.end(), runs.begin(), runs.end());
    m_offsets.push_back(m_runs.size());
    m_connectivity.push_back(seen);
}

Extent FrameOf(const PointGrid& grid, const WallSet& walls) {
    const double spacing = grid.spacing();
    Extent frame{grid.columnX(0), grid.rowY(0), grid.columnX(grid.columns() - 1),
                 grid.rowY(grid.rows() - 1)};
    if (!walls.empty()) {
        const Extent extent = walls.extent();
        frame = {std::min(frame.minX, extent.minX), std::min(frame.minY, extent.minY),
                 std::max(frame.maxX, extent.maxX), std::max(frame.maxY, extent.maxY)};
    }
    return {frame.minX - spacing, frame.minY - spacing, frame.maxX + spacing, frame.maxY + spacing};
}

double EstimateGraphBytes(const PointGrid& grid, const WallSet& walls) {
    constexpr int kSamples = 64;
    const int count = grid.pointCount();
    if (count == 0)
        return 0;
    IsovistMaker maker(walls, FrameOf(grid, walls));
    RowScanner scanner(grid, walls);
    const int samples = std::min(count, kSamples);
    double runs = 0;
    for (int sample = 0; sample < samples; ++sample) {
        const int point = static_cast<int>(static_cast<long long>(sample) * count / samples);
        maker.look(grid.location(point));
        runs += static_cast<double>(scanner.scan(point, maker.outline(), maker.cracks()).size());
    }
    return runs / samples * count * sizeof(PointRun) +
           static_cast<double>(count) * (sizeof(std::size_t) + sizeof(std::int32_t));
}

Sights LookFromEveryPoint(const PointGrid& grid, const WallSet& walls,
                          const SightOptions& options) {
    const int count = grid.pointCount();
    const int units = (count + kPointsPerUnit - 1) / kPointsPerUnit;
    const Extent frame = FrameOf(grid, walls);
    std::vector<std::vector<PointRun>> unitRuns(static_cast<std::size_t>(units));
    std::vector<std::vector<std::size_t>> unitEnds(static_cast<std::size_t>(units));
    Sights sights;
    sights.isovists.resize(static_cast<std::size_t>(count));
    std::atomic<std::size_t> bytes{0};
    analysis::RunUnits(units, options.threads, options.progress, [&] {
        return [&, maker = IsovistMaker(walls, frame),
                scanner = RowScanner(grid, walls)](int unit) mutable {
            auto& runs = unitRuns[static_cast<std::size_t>(unit)];
            auto& ends = unitEnds[static_cast<std::size_t>(unit)];
            const int last = std::min(count, (unit + 1) * kPointsPerUnit);
            for (int point = unit * kPointsPerUnit; point < last; ++point) {
                maker.look(grid.location(point));
                sights.isovists[static_cast<std::size_t>(point)] = maker.measures();
                const auto& seen = scanner.scan(point, maker.outline(), maker.cracks());
                runs.insert(runs.end(), seen.begin(), seen.end());
                ends.push_back(runs.size());
            }
            runs.shrink_to_fit();
            const std::size_t total = bytes += runs.size() * sizeof(PointRun);
            if (total > options.maxBytes)
                throw TooLarge("the visibility graph needs more than " +
                               std::to_string(options.maxBytes / (1 << 20)) + " MB");
        };
    });
    for (int unit = 0; unit < units; ++unit) {
        const auto& runs = unitRuns[static_cast<std::size_t>(unit)];
        std::size_t begin = 0;
        for (const std::size_t end : unitEnds[static_cast<std::size_t>(unit)]) {
            sights.graph.append(std::span(runs).subspan(begin, end - begin));
            begin = end;
        }
        std::vector<PointRun>().swap(unitRuns[static_cast<std::size_t>(unit)]);
    }
    return sights;
}

} // namespace vantrel::vga
