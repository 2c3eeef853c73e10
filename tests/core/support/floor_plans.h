// Synthetic building plans for visibility graph tests and benchmarks: wall lines in metres.
#pragma once

#include "core/app/project_state.h"

#include <vector>

namespace vantrel::plans {

struct FloorPlan {
    // Rooms along each side of the corridor.
    int roomsPerSide = 10;
    double roomWidth = 6;
    double roomDepth = 8;
    double corridorWidth = 3;
    double doorWidth = 1;
    // A square column in the corridor before every second room, of this side (0 for none).
    double columnSide = 0.4;
};

// A corridor along x from 0 to roomsPerSide * roomWidth, rooms on both sides, each entered by a
// door in the corridor wall a quarter of the way along it; the corridor is open at both ends to
// the outside of the building, whose outer walls close everything else.
inline std::vector<MapLine> FloorWalls(const FloorPlan& plan) {
    std::vector<MapLine> walls;
    const double length = plan.roomsPerSide * plan.roomWidth;
    const double corridorLow = plan.roomDepth;
    const double corridorHigh = plan.roomDepth + plan.corridorWidth;
    const double top = corridorHigh + plan.roomDepth;
    // Outer walls, with the corridor's ends open.
    walls.push_back({0, 0, length, 0});
    walls.push_back({0, top, length, top});
    walls.push_back({0, 0, 0, corridorLow});
    walls.push_back({0, corridorHigh, 0, top});
    walls.push_back({length, 0, length, corridorLow});
    walls.push_back({length, corridorHigh, length, top});
    for (int room = 0; room < plan.roomsPerSide; ++room) {
        const double left = room * plan.roomWidth;
        const double right = left + plan.roomWidth;
        const double door = left + plan.roomWidth / 4;
        for (const double y : {corridorLow, corridorHigh}) {
            walls.push_back({left, y, door, y});
            walls.push_back({door + plan.doorWidth, y, right, y});
        }
        if (room > 0) {
            walls.push_back({left, 0, left, corridorLow});
            walls.push_back({left, corridorHigh, left, top});
        }
        if (plan.columnSide > 0 && room % 2 == 1) {
            const double x = left, y = corridorLow + plan.corridorWidth / 2,
                         h = plan.columnSide / 2;
            walls.push_back({x - h, y - h, x + h, y - h});
            walls.push_back({x + h, y - h, x + h, y + h});
            walls.push_back({x + h, y + h, x - h, y + h});
            walls.push_back({x - h, y + h, x - h, y - h});
        }
    }
    return walls;
}

} // namespace vantrel::plans
