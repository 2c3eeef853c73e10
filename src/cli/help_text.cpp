#include "cli/arguments.h"

namespace vantrel::cli {

std::string HelpText(int defaultThreads) {
    return R"(vantrel-cli: space syntax analysis of axial maps of any size, without the desktop.

Usage:
  vantrel-cli analyse LINES --out FOLDER|LAYERS [--radius LIST] [--threads N]
                        [--analysis primal|dual|both] [--choice]
                        [--layer NAME] [--tolerance D]
                        [--full-data-matrix] [--overwrite] [--quiet] [--timings]
  vantrel-cli segment MAP --out FOLDER|LAYER [options]   (vantrel-cli segment --help)
  vantrel-cli prepare MAP --out LAYERS [options]   (vantrel-cli prepare --help)
  vantrel-cli vga WALLS --spacing S --fill X,Y --out FOLDER|LAYERS [...]
                        (visibility graph analysis: vantrel-cli vga --help)
  vantrel-cli --help

segment cuts the lines into segments and measures angular integration and
choice; 'vantrel-cli segment --help' tells its options and columns.

prepare turns raw street data (an OpenStreetMap file or any GIS layer) into a
clean road-centre-line map, with a layer of what it changed and what is left
to check; vantrel-cli prepare --help explains it.

analyse reads the axial lines in LINES and finds the junctions where they cross,
by the desktop program's rule (lines that touch, or where one ends on the other,
cross; parallel lines never do; three lines through a point give three
junctions). It computes the depths between all lines (the primal analysis) and
between all junctions (the dual analysis: two junctions are related when they
lie on one line) and writes into FOLDER:

  axial_lines.txt           the lines            } the desktop program's text
  junctions.txt             the junctions        } exports, byte for byte what
  data_matrix.txt           lines x junctions    } it writes for the same
  axial_integration.txt     primal integration   } lines
  junction_integration.txt  dual integration     }
  axial_measures.csv        the measures of every line (primal)
  junction_measures.csv     the measures of every junction (dual)

data_matrix.txt has one row for every pair of a line and a junction. It is
written when that is at most )" +
           std::to_string(kMaxDataMatrixRows) + R"( rows (every map the desktop program can
hold is far below that), and otherwise skipped with a note unless
--full-data-matrix is given; junctions.txt holds the same connections.

FOLDER holds the files of one run only. They are written into a hidden folder
beside it, which takes FOLDER's place when all of them are written; a run that
fails or is interrupted leaves FOLDER as it was. A FOLDER that holds files of
its own, or the lines being read, is not replaced unless --overwrite is given.
A symbolic link that another user owns is refused as FOLDER or LAYERS.

Lines are numbered from 1 in the order of LINES; junctions are numbered by
their first line, then their second line, as junctions.txt lists them. Items
that are not connected have no depth from one another and count for nothing.

The measures files hold a heading record, then one record per item:
  number        the line's (junction's) number
  connectivity  the number of items directly related to it: the lines that
                cross a line; the other junctions on a junction's lines
  total_depth   the sum of its depths to all the items it reaches
  mean_depth    total_depth / reached; empty when it reaches no item
  reached       the number of other items it reaches
  integration   the program's integration value: 1 / total_depth, normalised
                over the map from 0 (lowest) to 1 (highest); as in the
                integration exports
  radius_R      one column for each radius asked for: the value of the
                desktop's radius maps, 1 / the mean depth over the items within
                R steps, normalised from 0 to 1 (radius_n for radius n)
The field's standard measures follow. "Within R" means at a depth of at most R
steps; k is the node count within R.
  control       the sum over the item's neighbours of 1 / their connectivity
  controllability  connectivity / the other items within 2 steps; empty when
                there are none
  line_length   (lines only) the line's length in the map's units
Then, once for radius n (names as they stand) and once for every other radius
R of --radius (names ending in _rR, as node_count_r3):
  node_count    k: the items within R, the item itself counted
  total_depth, mean_depth  (only with _rR: radius n has them above) the sum of
                the depths of the other items within R, and that over k - 1
  ra            relative asymmetry 2 (mean_depth - 1) / (k - 2)
  rra           ra over the diamond value D_k = 2 (k (log2((k + 2) / 3) - 1)
                + 1) / ((k - 1) (k - 2)); ra, rra and integration_hh are empty
                unless k > 2 and mean_depth > 1
  integration_hh  integration after Hillier and Hanson: 1 / rra
  integration_tekl  Teklenburg's integration ln((k - 2) / 2) /
                ln(total_depth - k + 1); empty unless k > 2 and
                total_depth - k + 1 > 1
  entropy       -sum of p log2 p over the depths d >= 1 within R, p being the
                share of the other items within R that lie at depth d. Some
                peers count the item itself at depth 0; this does not.
  harmonic_mean_depth  (k - 1) / the sum of 1 / depth over the other items
                within R. Some peers give a mean of the counts at each depth
                under this name; this is the harmonic mean of the depths.
  choice        (with --choice) over every unordered pair of other items
                within R of each other, the share of their shortest paths that
                pass through the item, all shortest paths sharing equally,
                summed. Peers that follow one random shortest path per pair
                and count each pair both ways give about twice this.
  choice_norm   (with --choice) choice / ((k - 1) (k - 2) / 2); empty when
                k < 3
Each of these is empty for an item that has too few items within R, never
infinite or not a number.

Records are comma-separated and end with CR LF; headings are quoted. Floats
are written in the shortest form that reads back as the same number, 32-bit
for the columns up to the radius_R ones and 64-bit for the standard measures:
0.5, 12, 0.33333334, and an exponent only below 0.0001 or from 1e15.

LINES is either the desktop program's axial-lines export, or a CSV file whose
first line names the columns x1, y1, x2 and y2, in any order and letter case,
among any others (which are ignored). Fields are separated by commas and may be
quoted; blank lines are skipped; LF or CR LF line ends. Every coordinate must
be a finite number. A malformed file (empty, a column missing, a value missing,
not a number or not finite) stops the run with a message naming the file, the
line and the fault, and nothing is written.

LINES may also be any vector dataset GDAL opens: GeoPackage, Shapefile,
GeoJSON, FlatGeobuf, DXF, MapInfo, GML, KML, a CSV file with a WKT column and
more. Its one layer of lines that holds features is read, or the layer
--layer names. Every line string is an axial line; a line string of more than
two vertices, a multi-line string and the lines of a geometry collection give
one line per straight piece, with a note; curves (circular strings, compound
curves) give one line per piece of GDAL's approximation, with a note. Points,
polygons, empty and null geometries are skipped with a note, damaged features
(a geometry GDAL cannot read) with a note naming them, and lines of zero
length are kept with a note; x and y are taken from 3D and measured
coordinates. Coordinates stay in the layer's units and spatial reference
system. A layer in degrees is noted, as which lines meet is then decided in
degrees and line lengths are in degrees, and --tolerance is refused for it:
project it to metres first (ogr2ogr -t_srs).

With --out LAYERS, a file name ending in .gpkg, .geojson, .fgb or .shp, the
results are written as GIS layers in the input's spatial reference system
instead of the text files: axial_lines (each line with source_fid, the id of
the feature it came from, and the columns of axial_measures.csv) and
junctions (each junction with first_line, second_line and the columns of
junction_measures.csv); a map without a spatial reference system gets the
undefined Cartesian one. A GeoPackage holds both layers and a default QGIS
style for each, which colours the items by integration_hh (radius n) in 13
classes of equal count from red (high) to blue (low); the other formats hold
one layer a file, NAME_axial_lines.EXT and NAME_junctions.EXT, each with its
style in a .qml file beside it. A Shapefile's layers are NAME_axial_lines_shp
and NAME_junctions_shp, as it cuts field names to ten characters (a note
lists them) and so needs styles of its own. Existing files of those names are
replaced, only once all are written; files holding layers vantrel-cli does
not write, or the lines being read, only with --overwrite. A run cut short
while it moves its files in leaves a record that the next run into the same
place follows to the end.

Options:
  --out FOLDER|LAYERS where the files are written: a folder, or a GIS file.
  --layer NAME        the layer of LINES to read, for a dataset of several.
  --tolerance D       also relate two lines whose nearest points are at most D
                      apart, in the map's units (lines that overlap included;
                      refused for a layer in degrees),
                      with their junction midway between those points; for
                      hand-drawn maps whose lines stop just short of each
                      other; a note says how many such pairs it related. 0 by
                      default: lines must touch or cross.
  --radius LIST       radii for the radius columns and the standard measures
                      (which radius n always has), separated by commas: whole
                      numbers of at least 1, and n for radius n, the largest
                      depth of the analysis (the radius of the desktop's
                      radius-n map after an analysis). Example: --radius 3,5,n.
                      May be given more than once. None by default.
  --threads N         threads for the depth searches; the default is all cores
                      (here )" +
           std::to_string(defaultThreads) + R"(). The results do not depend on it.
  --analysis WHICH    primal, dual or both (the default). primal writes no
                      junction_* files, dual no axial_integration.txt and no
                      axial_measures.csv.
  --choice            also compute choice and choice_norm at every radius. It
                      takes a search per item that counts shortest paths, so
                      it takes longer than the rest of the run.
  --full-data-matrix  write data_matrix.txt whatever its size.
  --overwrite         replace FOLDER or LAYERS even when it holds other files
                      or layers, or the lines being read, which are lost.
  --quiet             print nothing but errors.
  --timings           print each stage's wall time and the peak memory so far;
                      under mpirun also the busiest and idlest process's
                      processor time.
  -h, --help          print this text.

Progress, notes and timings go to standard error.

Started by mpirun or srun, every process of the run reads LINES and searches
from its share of the items, each with --threads threads; the first process
alone prints and writes, and the files are those of one process.

Exit status: 0 when every file was written; 1 when the lines file cannot be
read or is malformed (or has no such layer, or no lines), or a file cannot be
written; 2 when the command line is wrong.
)";
}

} // namespace vantrel::cli
