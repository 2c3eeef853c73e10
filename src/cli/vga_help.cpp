#include "cli/vga_command.h"

namespace vantrel::cli {

std::string VgaHelpText(int defaultThreads) {
    return R"(vantrel-cli vga: visibility graph analysis of a plan, without the desktop.

Usage:
  vantrel-cli vga WALLS --spacing S --fill X,Y[;X,Y...] --out FOLDER|LAYERS
                  [--raster FILE.tif] [--radius LIST] [--origin X,Y[;X,Y...]]
                  [--metric] [--angular] [--pixel-size M] [--layer NAME]
                  [--threads N] [--overwrite] [--quiet] [--timings]

WALLS is any vector dataset GDAL opens (GeoPackage, Shapefile, GeoJSON, DXF,
...; lines, polylines and the rings of polygons are walls, each straight piece
a wall; --layer names the layer when there are several), a CSV file of
x1,y1,x2,y2, or a plan picture (.png, .bmp, .gif, .jpg, .tif) with
--pixel-size M, the units of the plan a pixel is. In a picture every pixel
whose brightness (0.299 R + 0.587 G + 0.114 B, over white where it is
transparent) is below 128 is a solid square of wall, and so is everything
beyond the picture's edge. Pixel (column, row), row 0 at the top, is the
square of side M centred on (column * M, (height - 1 - row) * M): x to the
right, y upwards, the bottom-left pixel's centre at 0,0. A spacing of a whole
number of pixels puts every point on a pixel's centre.

The points lie on a square grid of spacing S at whole multiples of S; each
owns the square of side S centred on it, and the grid covers the walls. The
grid is filled from the cell of each fill point (--fill, in the walls'
units): from a filled point a step goes to each of its 8 neighbours unless
the segment between them meets a wall. Two points see each other when the
segment between them neither crosses nor touches a wall (touching a wall's
end blocks too). A fill point outside the walls, on a wall, or in a space too
small for a cell is refused with a message, and so is a grid that needs more
memory than the machine has free, with what it would need.

Output: --out FOLDER writes FOLDER/vga_points.csv; --out FILE.gpkg (.geojson,
.fgb, .shp; those give FILE_vga_points.EXT) writes the point layer vga_points,
in the walls' coordinate reference system, its default style colouring each
cell by visual integration [HH] in the program's 13 colours, red (high) to
blue (low). --raster FILE.tif writes a GeoTIFF of the grid with one band per
column below (named by it), with no data where there is no point or no value.
Every file appears whole or not at all; a FOLDER or FILE holding files or
layers of its own, a raster vantrel-cli did not write, or the walls being
read, is replaced only with --overwrite.

Columns. N(x) is the set of points x sees, k = |N(x)|; depths are the fewest
sight lines between points; NC is the number of points within the radius, x
included; TD the sum of their depths, MD = TD / (NC - 1). An empty field is a
measure that does not exist for the point.
  x, y                 the point (the centre of its cell)
  connectivity         k
  point_first_moment   the sum of the distances to the points of N(x)
  point_second_moment  the sum of their squares
Then at radius n (names as they stand) and at each step radius R of
--radius LIST (suffix _rR, as visual_node_count_r3):
  visual_node_count    NC
  visual_mean_depth    MD; empty when NC = 1
  visual_integration_hh  D(NC) / RA, where RA = 2 (MD - 1) / (NC - 2) and
                       D(n) = 2 (n (log2((n + 2) / 3) - 1) + 1)
                              / ((n - 1) (n - 2));
                       the three integrations are empty unless NC > 2 and
                       MD > 1 (in a convex room every point has MD = 1)
  visual_integration_pvalue  P(NC) / RA, P(n) = 2 (n - log2 n - 1) /
                       ((n - 1) (n - 2))
  visual_integration_tekl  ln((NC - 2) / 2) / ln(TD - NC + 1); also empty
                       unless TD - NC + 1 > 1
  visual_entropy       -sum p_d log2 p_d over the depths d >= 1, p_d the share
                       of the other points at depth d
  visual_relativised_entropy  sum p_d log2(p_d / q_d), q_d = MD^d e^-MD / (d+1)!
Then:
  visual_clustering_coefficient  the sum over y in N(x) of |N(y) and N(x)|,
                       over k (k - 1); with the next two, empty unless k > 1
  visual_control       the sum over y in N(x) of 1 / |N(y)|
  visual_controllability  k / |the union of N(y) over y in N(x)| (x in it)
  isovist_area, isovist_perimeter  of the polygon seen from the point: the
                       seen parts of the walls, joined by the edges where one
                       wall hides another (and by straight edges where no wall
                       closes the view)
  isovist_occlusivity  the length of those joining edges
  isovist_min_radial, isovist_max_radial  the distance to the nearest edge and
                       to the farthest corner of the polygon
  isovist_compactness  4 pi area / perimeter^2
  isovist_drift_magnitude, isovist_drift_angle  the vector from the point to
                       the polygon's centroid: its length, and its direction in
                       degrees counter-clockwise from the x axis (0 to 360)
  through_vision       how many sight lines between two other points (each way
                       counted) pass through the point's cell, a line being
                       followed one cell at a time along its longer axis, as
                       the peer tools follow it
With --metric (a search from every point):
  metric_mean_shortest_path_distance, metric_mean_straight_line_distance,
  metric_mean_shortest_path_angle, metric_node_count  the mean length of the
                       shortest paths to the points reached, the mean straight
                       distance to them, the mean of the turns along those
                       paths (1 = 90 degrees), and how many points are reached,
                       x included in the means' count
With --angular (a search from every point):
  angular_mean_depth, angular_total_depth, angular_node_count  the least sum
                       of turns (1 = 90 degrees, the first sight line free) to
                       the points reached: mean (over them, x included), sum,
                       count
With --origin X,Y (one or more points, each at depth 0):
  visual_step_depth    the fewest sight lines from the nearest origin
  metric_step_depth    the length of the shortest path from an origin
  angular_step_depth   the least sum of turns from an origin

Metric and angular paths go from point to point along sight lines and may turn
at any point of the grid: the shortest paths through the visibility graph.
The peer tools (depthmapX) let a path turn only at a point next to a wall, so
where the best turn lies in open floor their paths are longer or turn more.
Of metric paths of one length, this tool keeps the one that turns least; an
angular path keeps, at each point, the first path found of the least turn, as
the peer tools do. Visual depths, clustering and control follow the peer's
definitions and agree with it.

Options:
  --spacing S          the distance between the grid's points, in the walls'
                       units
  --fill X,Y[;X,Y...]  points in the open space to fill the grid from
  --radius LIST        step radii besides n, as 3,5 (radius n is always
                       written)
  --origin X,Y[;...]   points to measure the step depths from
  --metric, --angular  the mean metric and angular paths from every point;
                       each takes a search from every point, so it is asked
                       for
  --threads N          threads to use (default )" +
           std::to_string(defaultThreads) + R"(, the processors of this
                       machine); the results are the same whatever N is
  --quiet, --timings   as for analyse
)";
}

} // namespace vantrel::cli
