#include "cli/segment_arguments.h"
#include "cli/street_preparation.h"

namespace vantrel::cli {

std::string SegmentHelpText(int defaultThreads) {
    return R"(vantrel-cli segment: segment analysis of axial and road-centre-line maps.

Usage:
  vantrel-cli segment MAP --out FOLDER|LAYER [--rcl | --prepare [PREPARE OPTIONS]]
                      [--stub-removal P]
                      [--analysis angular|metric|topological] [--tulip-bins B]
                      [--radius LIST] [--radius-type metric|angular|steps]
                      [--choice] [--layer NAME] [--tolerance D] [--threads N]
                      [--overwrite] [--quiet] [--timings]
  vantrel-cli segment --help

segment reads the lines of MAP (the files vantrel-cli analyse reads) and makes
them a segment map:
- an axial map (the default) is cut where its lines meet, by the rule of
  vantrel-cli analyse (lines that cross or touch meet; with --tolerance D also
  lines that come within D). Pieces of one line join end to end going straight
  on; at a junction every piece of one line meets every piece of the others.
  An end piece (from a line's end to its first junction) shorter than P % of
  its line is dropped with --stub-removal P (0 to 50); by default only end
  pieces of no length (below a millionth of the line) are.
- with --rcl the lines are road-centre lines: every straight piece is a
  segment, and segments meet where their end points are the same (or, with
  --tolerance D, at most D apart), every segment there meeting every other.
  Lines that cross without a shared end point do not meet (bridges, tunnels).
  Pieces of no length, and pieces with the same end points as an earlier one,
  are left out with a note.
A note tells how many segments were made, how many meet no other and how many
separate groups the others form.

From every segment, the search follows routes from segment to segment. A
route may leave a segment only through the end it is heading to, and turning
from one segment onto the next costs the angle between them: straight on 0, a
right angle 1, a full reversal 2. Routes are ranked by their depth, and routes
of equal depth by their length, measured from the middle of the first
segment to the middle of the last. The depth of a route is:
- angular (the default): the sum of its turns in right angles. Each turn is
  first rounded down to a whole number of bins as the field's "tulip"
  analysis does, with B bins to a full turn (--tulip-bins B, 1024 by default;
  a turn of w right angles counts floor(w (B/2 + 1) / 2) bins, and B/4 bins
  make a right angle); --tulip-bins 0 counts turns to 2^-32 of a right angle.
  Depths are sums of whole numbers, so results are exact.
- metric: the route's length (routes of equal length ranked by their turns);
- topological: the number of times it changes from one axial line to another
  (routes with as many changes ranked by their length); not with --rcl.
Each segment's depth is that of its best route.

--radius LIST gives radii separated by commas, n being radius n (no limit);
radius n alone by default. --radius-type says what a radius limits along a
route: metric (the default) its length from middle to middle, in the map's
units; angular its turns in right angles (not for a topological analysis);
steps its number of steps from segment to segment (whole numbers). A step that
would take a route beyond the radius is refused, and nothing is reached
through it; a route exactly at the radius is within it. With steps radii,
routes that tie are ranked by their steps too.

The results are written to FOLDER/segment_measures.csv, or, when --out names
a .gpkg, .geojson, .fgb or .shp file, as a GIS layer of the segments named
segments, in the map's spatial reference system, with a default QGIS style
that colours them by nach (with --choice) or else nain at radius n (or the
first radius), red (high) to blue (low) in 13 colours, each holding about as
many segments; a GeoPackage keeps the style inside; the other formats write
NAME_segments.EXT (NAME_segments_shp.shp for a Shapefile, which cuts field
names to ten characters), with the style in a .qml file beside. FOLDER holds
the file of one run only, written whole or not at all; a FOLDER holding other
files is replaced only with --overwrite.

Each row is one segment, in the order of the lines they were cut from:
  number        the segment's number, from 1
  x1, y1, x2, y2  (CSV only) its start and end points
  axial_line    the number of the line it was cut from, from 1; with --rcl
                the id of its feature in a GIS layer (else its line number)
  source_fid    (GIS maps) the id of the feature its line came from
  segment_length  its length in the map's units
  connectivity  how many segments it meets at its two ends
  angular_connectivity  the sum of the turns, in right angles, onto those
                segments
Then, once for radius n (names as they stand) and once for every other radius
R (names ending in _rR, as node_count_r400, or node_count_r1.5):
  node_count    the segments reached within R, the segment itself counted
  total_depth   the sum of their depths: right angles (angular), map units
                (metric) or line changes (topological)
  mean_depth    total_depth / (node_count - 1); empty when it reaches no
                other segment
  integration   node_count^2 / total_depth; empty when total_depth is 0
  nain          normalised angular integration, node_count^1.2 /
                (total_depth + 2) (Hillier, Yang and Turner 2012); empty when
                it reaches no other segment
  total_length  the sum of the lengths of the segments reached, its own
                counted
  choice        (with --choice) over every origin segment and every
                destination it reaches within R, the share of the origin's
                best routes to the destination that pass through the
                segment, origin and destination excluded; best routes that
                tie exactly share equally; every pair counts both ways
  nach          (with --choice) normalised angular choice, log(choice + 1) /
                log(total_depth + 3) (Hillier, Yang and Turner 2012); empty
                when it reaches no other segment
  node_count_wl  the same as total_length: the node count with each segment
                weighted by its length
  total_depth_wl  the sum of each reached segment's depth times its length
  integration_wl  total_length^2 / total_depth_wl; empty when that is 0
  choice_wl     (with --choice) choice with each origin and destination pair
                weighted by the product of their lengths, the origin and the
                destination each credited with half of that product, as the
                field's length-weighted choice is
nain and nach are the field's normalisations of angular depths; for metric and
topological analyses they are the same formulas of those depths.
No value is infinite or not a number: a value that does not exist is an empty
field. Records are comma-separated and end with CR LF; headings are quoted;
numbers are written in the shortest form that reads back as the same 64-bit
double.

Options:
  --out FOLDER|LAYER  where the results are written: a folder, or a GIS file.
  --rcl               the map is of road-centre lines (see above).
  --prepare           the map is raw street data (an OpenStreetMap file or any
                      GIS layer of streets): it is first cleaned as
                      vantrel-cli prepare cleans it (the options of --prepare
                      below), then read as road-centre lines (--prepare
                      implies --rcl). The segments are in metres, in the
                      system prepare projects to.
  --stub-removal P    drop end pieces of axial lines shorter than P % (0 to
                      50) of their line; not with --rcl.
  --analysis KIND     angular (the default), metric or topological.
  --tulip-bins B      bins to a full turn: 0 or 4 to 65536, 1024 by default.
  --radius LIST       radii, as 400,1200,n; n by default.
  --radius-type KIND  metric (the default), angular or steps.
  --choice            also compute choice, nach and choice_wl. It takes a
                      second pass over every search, so longer.
  --layer NAME        the layer of MAP to read, for a dataset of several.
  --tolerance D       axial maps: also relate lines whose nearest points are
                      at most D apart; road-centre lines: end points at most D
                      apart meet. In the map's units; 0 by default.
  --threads N         threads for the searches; the default is all cores
                      (here )" +
           std::to_string(defaultThreads) + R"(). The results do not depend on it.
  --overwrite         replace FOLDER even when it holds other files.
  --quiet             print nothing but errors.
  --timings           print each stage's wall time, processor time and the
                      peak memory so far.
  -h, --help          print this text.

Options of --prepare (as vantrel-cli prepare --help explains them):
)" + StreetOptionsHelp() + R"(
Progress, notes and timings go to standard error.

Started by mpirun or srun, every process of the run reads MAP and searches from
its share of the segments, each with --threads threads; the first process
alone prints and writes, and the results are those of one process.

Exit status: 0 when the results were written; 1 when MAP cannot be read or is
malformed, or the results cannot be written; 2 when the command line is wrong.
)";
}

} // namespace vantrel::cli
