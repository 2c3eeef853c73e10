#include "gui/display/surface_view.h"

#include "core/host/number_text.h"
#include "gui/app/main_window.h"
#include "gui/app/workspace.h"
#include "gui/host/picture_surface.h"

#include <array>
#include <random>

namespace vantrel {

namespace {

constexpr int kCells = 50;
constexpr double kCellSize = 120;
constexpr double kGridOffset = 100;

// 255 - 255 * r for a uniform r in [0, 1), halves to even.
int randomComponent(std::mt19937& random) {
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    return static_cast<int>(RoundHalfEven(255.0 - 255.0 * uniform(random)));
}

} // namespace

void ShowSurface(Workspace& workspace, PictureSurface& surface) {
    // Cell i (1-based) starts at 120 * i + 100, so the grid covers 220 .. 6220 each way.
    std::array<double, kCells> starts{};
    for (int i = 0; i < kCells; ++i)
        starts[static_cast<std::size_t>(i)] = kCellSize * (i + 1) + kGridOffset;

    surface.clear();
    surface.setFillStyle(FillStyle::Solid);
    surface.setFillColor(QColor(0, 255, 0));
    surface.setDrawWidth(1);
    std::mt19937& random = workspace.main.randomNumbers();
    for (double x : starts) {
        for (double y : starts) {
            const int red = randomComponent(random);
            const int green = randomComponent(random);
            const int blue = randomComponent(random);
            surface.setFillColor(QColor(red, green, blue));
            surface.box(x, y, x + kCellSize, y + kCellSize, surface.foreColor());
        }
    }

    const double first = starts.front();
    const double last = starts.back() + kCellSize;
    surface.line(first, first, last, first, Qt::black);
    surface.line(first, first, first, last, Qt::black);
    surface.line(last, first, last, last, Qt::black);
    surface.line(first, last, last, last, Qt::black);
}

} // namespace vantrel
