#!/bin/sh
# Runs the built vantrel-cli prepare as a user would: its help, a small OpenStreetMap file, a
# wrong command; and, where QGIS's Python is installed, opens the layers written in QGIS and
# checks that the problems come styled by type.
# Usage: prepare_end_to_end.sh VANTREL_CLI
set -u
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

"$cli" prepare --help >"$work/help" || fail "prepare --help exits with $?"
grep -q -- "--simplify-angle A" "$work/help" || fail "prepare --help does not explain --simplify-angle"
"$cli" --help | grep -q "vantrel-cli prepare MAP --out LAYERS" || fail "--help does not name prepare"

cat >"$work/town.osm" <<'OSM'
<?xml version="1.0" encoding="UTF-8"?>
<osm version="0.6">
  <node id="1" lat="51.5000000" lon="-0.1010000"/>
  <node id="2" lat="51.5000000" lon="-0.1000000"/>
  <node id="3" lat="51.5000000" lon="-0.0990000"/>
  <node id="4" lat="51.5010000" lon="-0.1000000"/>
  <node id="5" lat="51.4990000" lon="-0.1000000"/>
  <node id="6" lat="51.5000001" lon="-0.0990000"/>
  <node id="7" lat="51.4990000" lon="-0.0990000"/>
  <way id="10"><nd ref="1"/><nd ref="2"/><nd ref="3"/><tag k="highway" v="residential"/></way>
  <way id="11"><nd ref="4"/><nd ref="2"/><nd ref="5"/><tag k="highway" v="residential"/></way>
  <way id="12"><nd ref="6"/><nd ref="7"/><tag k="highway" v="footway"/></way>
  <way id="13"><nd ref="1"/><nd ref="4"/><tag k="highway" v="proposed"/></way>
</osm>
OSM
"$cli" prepare "$work/town.osm" --out "$work/town.gpkg" --quiet 2>"$work/err" ||
    fail "a small OpenStreetMap file exits with $?: $(cat "$work/err")"
[ -s "$work/err" ] && fail "--quiet still printed: $(cat "$work/err")"
[ -f "$work/town.gpkg" ] || fail "town.gpkg is not written"

"$cli" prepare "$work/town.osm" 2>"$work/err"
status=$?
[ "$status" -eq 2 ] || fail "prepare without --out exits with $status"
grep -q "prepare needs --out LAYERS" "$work/err" || fail "a wrong command printed: $(cat "$work/err")"

if ! /usr/bin/python3 -c "import qgis.core" 2>/dev/null; then
    echo "QGIS's Python is not installed: the check in QGIS is skipped"
    exit 0
fi
QT_QPA_PLATFORM=offscreen /usr/bin/python3 - "$work/town.gpkg" >"$work/qgis" 2>&1 <<'PY' ||
import os, sys
from qgis.core import QgsApplication, QgsVectorLayer

def check(file):
    for name, renderer, count in (("segments", "singleSymbol", 5), ("problems", "categorizedSymbol", 1)):
        layer = QgsVectorLayer(file + "|layername=" + name, name, "ogr")
        if not layer.isValid() or layer.featureCount() != count:
            return f"{name}: valid {layer.isValid()}, {layer.featureCount()} features"
        message, loaded = layer.loadDefaultStyle()
        if not loaded or layer.renderer().type() != renderer:
            return f"{name}: style {message}, renderer {layer.renderer().type()}"
        if layer.crs().authid() != "EPSG:32630":
            return f"{name}: CRS {layer.crs().authid()}"
    categories = [c.value() for c in layer.renderer().categories()]
    if len(categories) != 6 or "unconnected end near another line" not in categories:
        return f"problems categories {categories}"
    return ""

app = QgsApplication([], False)
app.initQgis()
fault = check(sys.argv[1])
app.exitQgis()
print(fault)
sys.stdout.flush()
# QGIS's Python bindings may crash while the interpreter shuts down; the answer is given.
os._exit(1 if fault else 0)
PY
    fail "QGIS: $(cat "$work/qgis")"
exit 0
