"""The QGIS plugin run headless, as Processing runs it: results equal to the batch tool's, the
default style, progress, Cancel, bad input, and qgis_process.
Usage: test_plugin.py VANTREL_CLI PLUGINS_FOLDER MAPS_FOLDER OUTPUT_FOLDER"""

import csv
import importlib.util
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest
import xml.etree.ElementTree as ElementTree

SKIPPED = 77
CLI, PLUGINS, MAPS, OUTPUT = sys.argv[1:5]
# The plugin is imported from the source tree, which should stay free of compiled files.
sys.dont_write_bytecode = True

try:
    from osgeo import ogr, osr
    from qgis.core import (
        QgsApplication,
        QgsFeature,
        QgsGeometry,
        QgsMapRendererSequentialJob,
        QgsMapSettings,
        QgsProcessingAlgRunnerTask,
        QgsProcessingContext,
        QgsProcessingException,
        QgsProcessingFeatureSourceDefinition,
        QgsProcessingFeedback,
        QgsProcessingUtils,
        QgsProject,
        QgsVectorLayer,
    )
    from qgis.PyQt.QtCore import QEventLoop, QSize
    from qgis.PyQt.QtGui import QColor
except ImportError as error:
    print(f"SKIPPED: QGIS cannot be loaded ({error}); scripts/bootstrap installs python3-qgis")
    sys.exit(SKIPPED)

WORK = tempfile.mkdtemp(prefix="vantrel-qgis-test-")
# QGIS keeps settings and its list of enabled plugins in the user's profile; the tests keep theirs.
os.environ.update(
    QT_QPA_PLATFORM="offscreen",
    XDG_CONFIG_HOME=os.path.join(WORK, "config"),
    XDG_DATA_HOME=os.path.join(WORK, "data"),
    XDG_RUNTIME_DIR=WORK,
)
APP = QgsApplication([], False)
APP.initQgis()
sys.path[:0] = [PLUGINS, os.path.join(QgsApplication.pkgDataPath(), "python", "plugins")]
import processing  # noqa: E402
from processing.core.Processing import Processing  # noqa: E402
from processing.core.ProcessingConfig import ProcessingConfig  # noqa: E402
from processing.gui.Postprocessing import handleAlgorithmResults  # noqa: E402

import vantrel  # noqa: E402
from vantrel.tool import TOOL_SETTING  # noqa: E402

Processing.initialize()
PLUGIN = vantrel.classFactory(None)
PLUGIN.initProcessing()
ALGORITHM = "vantrel:axialanalysis"
MAKE_ZIP = os.path.join(PLUGINS, "make_zip.py")


def map_lines(name):
    with open(os.path.join(MAPS, name), newline="") as rows:
        return [
            tuple(float(row[key]) for key in ("x1", "y1", "x2", "y2"))
            for row in csv.DictReader(rows)
        ]


def write_layer(path, lines, fids, epsg):
    """A GeoPackage of `lines` with the given feature ids; on the British grid, moved to London."""
    dataset = ogr.GetDriverByName("GPKG").CreateDataSource(path)
    reference = osr.SpatialReference()
    reference.ImportFromEPSG(epsg)
    layer = dataset.CreateLayer("streets", reference, ogr.wkbLineString)
    dx, dy = (530000, 180000) if epsg == 27700 else (0, 0)
    for fid, (x1, y1, x2, y2) in zip(fids, lines):
        feature = ogr.Feature(layer.GetLayerDefn())
        feature.SetFID(fid)
        wkt = f"LINESTRING({x1 + dx} {y1 + dy}, {x2 + dx} {y2 + dy})"
        feature.SetGeometry(ogr.CreateGeometryFromWkt(wkt))
        layer.CreateFeature(feature)
    return path


def memory_layer(name, lines, crs="EPSG:27700"):
    layer = QgsVectorLayer(f"LineString?crs={crs}", name, "memory")
    features = []
    for x1, y1, x2, y2 in lines:
        features.append(QgsFeature())
        features[-1].setGeometry(QgsGeometry.fromWkt(f"LINESTRING({x1} {y1}, {x2} {y2})"))
    layer.dataProvider().addFeatures(features)
    return layer


def layer_contents(gpkg, name):
    layer = QgsVectorLayer(f"{gpkg}|layername={name}", name, "ogr")
    fields = [(field.name(), field.typeName()) for field in layer.fields()]
    features = [(f.attributes(), f.geometry().asWkt()) for f in layer.getFeatures()]
    return layer.crs().authid(), fields, features


def batch_results(source, results, *options, command="analyse"):
    subprocess.run([CLI, command, source, "--out", results, "--quiet", *options], check=True)
    return results


def stored_style_field(gpkg, layer_name):
    """The field the default style in the GeoPackage's layer_styles grades on."""
    dataset = ogr.Open(gpkg)
    styles = dataset.ExecuteSQL(
        f"SELECT styleQML FROM layer_styles WHERE f_table_name = '{layer_name}' AND useAsDefault"
    )
    qml = styles.GetNextFeature().GetField(0)
    dataset.ReleaseResultSet(styles)
    return ElementTree.fromstring(qml).find("renderer-v2").get("attr")


class Feedback(QgsProcessingFeedback):
    """Records what a user would see, and cancels as the user would once `cancel_at` begins."""

    def __init__(self, cancel_at=None):
        super().__init__()
        self.cancel_at = cancel_at
        # Notes and warnings alike.
        self.texts, self.warnings, self.values = [], [], []
        self.progressChanged.connect(self.values.append)

    def setProgressText(self, text):
        self.texts.append(text)
        if text == self.cancel_at:
            self.cancel()

    def pushWarning(self, text):
        self.warnings.append(text)

    def pushInfo(self, text):
        self.warnings.append(text)


def run(parameters, feedback=None, algorithm=ALGORITHM):
    return processing.run(algorithm, parameters, feedback=feedback or Feedback())


class ResultsAsTheUserSeesThem(unittest.TestCase):
    """One run as the Processing dialog makes it (in a task, on a worker thread), on a thousand
    lines whose feature ids have gaps, its layers then loaded into the project."""

    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(dir=WORK)
        lines = map_lines("street_1000.csv")
        cls.fids = [7 + 3 * n for n in range(len(lines))]
        cls.input = write_layer(os.path.join(cls.folder, "streets.gpkg"), lines, cls.fids, 27700)
        cls.results = os.path.join(cls.folder, "results.gpkg")
        cls.feedback = Feedback()
        context = QgsProcessingContext()
        context.setProject(QgsProject.instance())
        algorithm = QgsApplication.processingRegistry().createAlgorithmById(ALGORITHM)
        parameters = {"INPUT": cls.input, "RADII": "3,n", "CHOICE": True, "OUTPUT": cls.results}
        task = QgsProcessingAlgRunnerTask(algorithm, parameters, context, cls.feedback)
        finished = QEventLoop()
        task.executed.connect(finished.quit)
        QgsApplication.taskManager().addTask(task)
        finished.exec_()
        handleAlgorithmResults(algorithm, context, cls.feedback)
        batch = os.path.join(cls.folder, "batch.gpkg")
        cls.batch = batch_results(cls.input, batch, "--radius", "3,n", "--choice")

    def loaded(self, name):
        (layer,) = QgsProject.instance().mapLayersByName(name)
        return layer

    def test_layers_equal_the_batch_tools_own_and_join_by_source_fid(self):
        for name in ("axial_lines", "junctions"):
            with self.subTest(layer=name):
                ours = layer_contents(self.results, name)
                self.assertEqual(ours, layer_contents(self.batch, name))
                self.assertEqual(ours[0], "EPSG:27700")
        source_fids = [f["source_fid"] for f in self.loaded("axial_lines").getFeatures()]
        self.assertEqual(source_fids, self.fids)

    def test_loaded_layers_carry_the_default_style(self):
        for name in ("axial_lines", "junctions"):
            with self.subTest(layer=name):
                renderer = self.loaded(name).renderer()
                self.assertEqual(renderer.type(), "graduatedSymbol")
                self.assertEqual(renderer.classAttribute(), stored_style_field(self.results, name))

    def test_progress_follows_every_stage_of_the_tool(self):
        stages = ["Copying the layer", "Reading lines", "Finding junctions", "Axial depths"]
        stages += ["Axial choice", "Junction depths", "Junction choice", "Writing files"]
        self.assertEqual([text for text in self.feedback.texts if text in stages], stages)
        self.assertEqual(self.feedback.values, sorted(self.feedback.values))
        self.assertEqual(self.feedback.values[-1], 100)

    def test_the_styled_map_renders_red_to_blue(self):
        settings = QgsMapSettings()
        layers = [self.loaded("junctions"), self.loaded("axial_lines")]
        settings.setLayers(layers)
        settings.setDestinationCrs(layers[1].crs())
        settings.setExtent(layers[1].extent().buffered(50))
        settings.setOutputSize(QSize(800, 800))
        settings.setBackgroundColor(QColor("white"))
        job = QgsMapRendererSequentialJob(settings)
        job.start()
        job.waitForFinished()
        image = job.renderedImage()
        os.makedirs(OUTPUT, exist_ok=True)
        self.assertTrue(image.save(os.path.join(OUTPUT, "axial_analysis.png")))
        drawn = {image.pixel(x, y) for x in range(800) for y in range(800)}
        ranges = layers[1].renderer().ranges()
        for end in (ranges[0], ranges[-1]):
            self.assertIn(end.symbol().color().rgb(), drawn, end.label())


class SegmentAnalysis(unittest.TestCase):
    ALGORITHM = "vantrel:segmentanalysis"

    def test_results_style_and_progress_equal_the_batch_tools(self):
        folder = tempfile.mkdtemp(dir=WORK)
        source = write_layer(
            os.path.join(folder, "town.gpkg"), map_lines("street_180.csv"), range(5, 185), 27700
        )
        results = os.path.join(folder, "results.gpkg")
        feedback = Feedback()
        parameters = {"INPUT": source, "RADII": "400,n", "CHOICE": True, "OUTPUT": results}
        outputs = run(parameters, feedback, self.ALGORITHM)
        batch = batch_results(
            source,
            os.path.join(folder, "batch.gpkg"),
            "--radius",
            "400,n",
            "--choice",
            command="segment",
        )
        self.assertEqual(layer_contents(results, "segments"), layer_contents(batch, "segments"))
        self.assertIn('"nach"', stored_style_field(results, "segments"))
        stages = ["Copying the layer", "Reading lines", "Finding junctions", "Making segments"]
        stages += ["Angular analysis", "Writing files"]
        self.assertEqual([text for text in feedback.texts if text in stages], stages)
        self.assertEqual(feedback.values, sorted(feedback.values))
        self.assertTrue(outputs["SEGMENTS"].endswith("|layername=segments"))

    def test_raw_streets_in_degrees_are_projected_and_usage_faults_reach_the_user(self):
        path = os.path.join(WORK, "streets_in_degrees.gpkg")
        streets = [
            (-0.1 + x1 * 1e-4, 51.5 + y1 * 1e-4, -0.1 + x2 * 1e-4, 51.5 + y2 * 1e-4)
            for x1, y1, x2, y2 in [(0, 5, 10, 5), (5, 0, 5, 10), (10, 5, 10, 10)]
        ]
        source = write_layer(path, streets, [1, 2, 3], 4326)
        feedback = Feedback()
        results = os.path.join(WORK, "prepared.gpkg")
        outputs = run({"INPUT": source, "MAP": 2, "OUTPUT": results}, feedback, self.ALGORITHM)
        self.assertEqual(
            QgsVectorLayer(outputs["SEGMENTS"], "s", "ogr").crs().authid(), "EPSG:32630"
        )
        self.assertNotIn("line lengths come out in degrees", " ".join(feedback.warnings))
        with self.assertRaises(QgsProcessingException) as refusal:
            run({"INPUT": source, "MAP": 1, "ANALYSIS": 2, "OUTPUT": results}, None, self.ALGORITHM)
        self.assertIn("--analysis topological counts changes of axial line", str(refusal.exception))


class AnyLayerQgisHolds(unittest.TestCase):
    def test_selected_features_of_a_memory_layer_keep_their_ids(self):
        layer = memory_layer("drawn", map_lines("street_180.csv"))
        QgsProject.instance().addMapLayer(layer)
        chosen = sorted(fid for fid in layer.allFeatureIds() if fid % 3 == 0)
        layer.selectByIds(chosen)
        source = QgsProcessingFeatureSourceDefinition(layer.id(), selectedFeaturesOnly=True)
        outputs = run({"INPUT": source, "ANALYSIS": 1, "OUTPUT": os.path.join(WORK, "chosen.gpkg")})
        lines = QgsVectorLayer(outputs["AXIAL_LINES"], "chosen", "ogr")
        self.assertEqual([f["source_fid"] for f in lines.getFeatures()], chosen)


class Cancel(unittest.TestCase):
    def test_cancel_stops_the_tool_which_leaves_the_earlier_results_and_nothing_else(self):
        grid = [(0, 10 * n, 3000, 10 * n) for n in range(300)]
        grid += [(y1, x1, y2, x2) for x1, y1, x2, y2 in grid]
        folder = tempfile.mkdtemp(dir=WORK)
        source = write_layer(os.path.join(folder, "grid.gpkg"), grid, range(1, 601), 27700)
        results = os.path.join(folder, "results.gpkg")
        with open(results, "w") as earlier:
            earlier.write("an earlier run")
        feedback = Feedback(cancel_at="Junction depths")
        copies = set(os.listdir(QgsProcessingUtils.tempFolder()))
        started = time.monotonic()
        with self.assertRaisesRegex(QgsProcessingException, "Cancelled"):
            run({"INPUT": source, "CHOICE": True, "OUTPUT": results}, feedback)
        # Uncancelled, the junction choice of this grid alone takes minutes.
        self.assertLess(time.monotonic() - started, 30)
        self.assertEqual(sorted(os.listdir(folder)), ["grid.gpkg", "results.gpkg"])
        self.assertEqual(set(os.listdir(QgsProcessingUtils.tempFolder())), copies)
        with open(results) as kept:
            self.assertEqual(kept.read(), "an earlier run")


class BadInput(unittest.TestCase):
    """Each gives its own message, and the run stops before the tool writes anything."""

    @classmethod
    def setUpClass(cls):
        cls.results = os.path.join(WORK, "bad.gpkg")
        cls.cross = [(0, 5, 10, 5), (5, 0, 5, 10), (8, 0, 8, 10)]

    def assertRefused(self, parameters, message):
        with self.assertRaises(QgsProcessingException) as refusal:
            run({"OUTPUT": self.results, **parameters})
        self.assertIn(message, str(refusal.exception))
        self.assertFalse(os.path.exists(self.results))

    def test_layers_without_lines_or_in_degrees(self):
        self.assertRefused({"INPUT": memory_layer("nothing drawn", [])}, '"nothing drawn" is empty')
        points = QgsVectorLayer("Point?crs=EPSG:27700", "entrances", "memory")
        points.dataProvider().addFeatures([QgsFeature()])
        self.assertRefused({"INPUT": points}, 'The layer "entrances" holds no lines')
        degrees = write_layer(os.path.join(WORK, "degrees.gpkg"), self.cross, [1, 2, 3], 4326)
        refusal = "is in degrees (EPSG:4326 - WGS 84), so a tolerance"
        self.assertRefused({"INPUT": degrees, "TOLERANCE": 0.5}, refusal)
        feedback = Feedback()
        outputs = run({"INPUT": degrees, "OUTPUT": os.path.join(WORK, "in_degrees.gpkg")}, feedback)
        self.assertEqual(QgsVectorLayer(outputs["AXIAL_LINES"], "lines", "ogr").featureCount(), 3)
        self.assertIn("line lengths come out in degrees", " ".join(feedback.warnings))
        # Without a CRS, coordinates are plain numbers, not degrees; a line of no length, which
        # QGIS calls invalid, is still a line.
        feedback = Feedback()
        unknown = memory_layer("no crs", self.cross + [(3, 0, 3, 0)], crs="")
        outputs = run({"INPUT": unknown, "OUTPUT": os.path.join(WORK, "no_crs.gpkg")}, feedback)
        self.assertNotIn("degrees", " ".join(feedback.warnings))
        self.assertEqual(QgsVectorLayer(outputs["AXIAL_LINES"], "lines", "ogr").featureCount(), 4)

    def test_the_tools_own_message_reaches_the_user_word_for_word(self):
        source = write_layer(os.path.join(WORK, "cross.gpkg"), self.cross, [1, 2, 3], 27700)
        command = [CLI, "analyse", source, "--out", self.results, "--radius", "0"]
        said = subprocess.run(command, capture_output=True, text=True).stderr.splitlines()[0]
        with self.assertRaises(QgsProcessingException) as refusal:
            run({"INPUT": source, "RADII": "0", "OUTPUT": self.results})
        self.assertEqual("vantrel-cli: " + str(refusal.exception), said)
        own = {"INPUT": source, "OUTPUT": os.path.join(WORK, "cross.gpkg")}
        self.assertRefused(own, "holds the layer analysed")

    def test_a_missing_or_too_old_tool(self):
        old = os.path.join(WORK, "old-vantrel-cli")
        with open(old, "w") as script:
            script.write(
                "#!/bin/sh\necho 'vantrel-cli analyse LINES --out FOLDER [--radius LIST]'\n"
            )
        os.chmod(old, 0o755)
        source = write_layer(os.path.join(WORK, "few.gpkg"), self.cross, [1, 2, 3], 27700)
        path = os.environ["PATH"]
        try:
            ProcessingConfig.setSettingValue(TOOL_SETTING, old)
            too_old = "is too old for this plugin: its --help does not mention .gpkg, --layer"
            self.assertRefused({"INPUT": source}, too_old)
            gone = shutil.copy(old, os.path.join(WORK, "gone-vantrel-cli"))
            ProcessingConfig.setSettingValue(TOOL_SETTING, gone)
            os.remove(gone)
            self.assertRefused({"INPUT": source}, "does not exist")
            ProcessingConfig.setSettingValue(TOOL_SETTING, "")
            os.environ["PATH"] = WORK
            self.assertRefused({"INPUT": source}, "vantrel-cli was not found")
        finally:
            os.environ["PATH"] = path
            ProcessingConfig.setSettingValue(TOOL_SETTING, CLI)


class InstalledFromZip(unittest.TestCase):
    def test_qgis_process_runs_the_zips_plugin_and_tool_like_the_batch_tool(self):
        plugins = os.path.join(WORK, "installed")
        archive = os.path.join(WORK, "vantrel.zip")
        subprocess.run([sys.executable, MAKE_ZIP, CLI, archive], check=True, capture_output=True)
        # Installed as QGIS's plugin manager installs it, which drops the files' permissions.
        installer = os.path.join(QgsApplication.pkgDataPath(), "python", "pyplugin_installer")
        found = importlib.util.spec_from_file_location("unzip", os.path.join(installer, "unzip.py"))
        unzip = importlib.util.module_from_spec(found)
        found.loader.exec_module(unzip)
        unzip.unzip(archive, plugins)
        profile = os.path.join(WORK, "data", "QGIS", "QGIS3", "profiles", "default", "QGIS")
        os.makedirs(profile, exist_ok=True)
        with open(os.path.join(profile, "QGIS3.ini"), "w") as settings:
            settings.write("[PythonPlugins]\nvantrel=true\n")
        source = os.path.join(WORK, "town.gpkg")
        write_layer(source, map_lines("street_180.csv"), range(1, 181), 27700)
        results = os.path.join(WORK, "qgis_process.gpkg")
        # The Debian wrapper qgis_process passes an option this qgis_process.bin refuses.
        command = ["qgis_process.bin", "run", ALGORITHM, "--", f"INPUT={source}", "RADII=3"]
        environment = dict(os.environ, QGIS_PLUGINPATH=plugins)
        run = subprocess.run(command + [f"OUTPUT={results}"], env=environment, capture_output=True)
        self.assertEqual(run.returncode, 0, run.stdout + run.stderr)
        bundled = os.path.join(plugins, "vantrel", "vantrel-cli")
        self.assertIn(f"{bundled} analyse".encode(), run.stdout)
        batch = batch_results(source, os.path.join(WORK, "batch.gpkg"), "--radius", "3")
        for name in ("axial_lines", "junctions"):
            with self.subTest(layer=name):
                self.assertEqual(layer_contents(results, name), layer_contents(batch, name))


if __name__ == "__main__":
    ProcessingConfig.setSettingValue(TOOL_SETTING, CLI)
    try:
        outcome = unittest.main(argv=sys.argv[:1] + sys.argv[5:], exit=False).result
    finally:
        shutil.rmtree(WORK, ignore_errors=True)
    QgsProject.instance().clear()
    sys.exit(0 if outcome.wasSuccessful() else 1)
