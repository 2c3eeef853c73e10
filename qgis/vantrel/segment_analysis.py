"""Segment analysis: angular integration and choice (NAIN, NACH) of every segment of an axial or
road-centre-line map, at metric, angular or step radii."""

from qgis.core import (
    QgsProcessingParameterBoolean,
    QgsProcessingParameterEnum,
    QgsProcessingParameterNumber,
    QgsProcessingParameterString,
)

from .algorithm import VantrelAlgorithm

# The kinds of map, as (the option that reads it, label).
MAPS = (
    (None, "Axial lines (cut where they meet)"),
    ("--rcl", "Road-centre lines (meeting at shared end points)"),
    ("--prepare", "Raw street data, such as OpenStreetMap (cleaned first, as prepare does)"),
)
ANALYSES = (
    ("angular", "Angular (least turning)"),
    ("metric", "Metric (shortest)"),
    ("topological", "Topological (fewest changes of axial line; axial lines only)"),
)
RADIUS_TYPES = (
    ("metric", "Metric (route length)"),
    ("angular", "Angular (turns in right angles)"),
    ("steps", "Steps (segment to segment)"),
)
DEPTH_STAGES = {
    "angular": "Angular analysis",
    "metric": "Metric analysis",
    "topological": "Topological analysis",
}


class SegmentAnalysis(VantrelAlgorithm):
    MAP = "MAP"
    ANALYSIS = "ANALYSIS"
    RADII = "RADII"
    RADIUS_TYPE = "RADIUS_TYPE"
    TULIP_BINS = "TULIP_BINS"
    STUB_REMOVAL = "STUB_REMOVAL"
    CHOICE = "CHOICE"

    command = "segment"
    required_help = (
        ".gpkg",
        "--rcl",
        "--prepare",
        "--analysis",
        "--radius-type",
        "--tulip-bins",
        "--stub-removal",
        "--choice",
        "--overwrite",
    )
    result_layers = (("SEGMENTS", "segments", "Segments"),)

    def name(self):
        return "segmentanalysis"

    def displayName(self):
        return "Segment analysis"

    def shortHelpString(self):
        return (
            "Cuts the map into segments and measures, for every segment, the least angular "
            "(or metric, or topological) routes to the others within each radius: node count, "
            "total and mean depth, integration, NAIN, total length, connectivity, and with "
            "choice also choice and NACH, each also weighted by segment length.\n\n"
            "An axial map is cut where its lines meet. Road-centre lines meet where their end "
            "points are the same, so bridges and tunnels stay apart. Raw street data, such as "
            "OpenStreetMap, is first split, snapped and simplified as vantrel-cli prepare does, "
            "and a map in degrees is projected to metres.\n\n"
            "The results are a GeoPackage with the layer segments (each with axial_line, and "
            "source_fid, the id of the feature it came from), coloured red (high) to blue (low) "
            "by NACH with choice, else by NAIN.\n\n"
            "Runs vantrel-cli segment; its --help explains every column."
        )

    def addAnalysisParameters(self):
        self.addParameter(
            QgsProcessingParameterEnum(
                self.MAP, "Map", [label for _, label in MAPS], defaultValue=0
            )
        )
        self.addParameter(
            QgsProcessingParameterEnum(
                self.ANALYSIS, "Analysis", [label for _, label in ANALYSES], defaultValue=0
            )
        )
        self.addParameter(
            QgsProcessingParameterString(
                self.RADII, "Radii, separated by commas (as 400,1200,n)", optional=True
            )
        )
        self.addParameter(
            QgsProcessingParameterEnum(
                self.RADIUS_TYPE,
                "What a radius limits",
                [label for _, label in RADIUS_TYPES],
                defaultValue=0,
            )
        )
        self.addParameter(
            QgsProcessingParameterNumber(
                self.TULIP_BINS,
                "Tulip bins to a full turn (0: angles unrounded)",
                QgsProcessingParameterNumber.Integer,
                1024,
                minValue=0,
            )
        )
        self.addParameter(
            QgsProcessingParameterNumber(
                self.STUB_REMOVAL,
                "Stub removal: drop end pieces of axial lines shorter than this % of their line",
                QgsProcessingParameterNumber.Double,
                optional=True,
                minValue=0,
                maxValue=50,
            )
        )
        self.addParameter(
            QgsProcessingParameterBoolean(
                self.CHOICE, "Choice (takes longer than the rest of the analysis)", False
            )
        )

    def mapOption(self, parameters, context):
        return MAPS[self.parameterAsEnum(parameters, self.MAP, context)][0]

    def analysis(self, parameters, context):
        return ANALYSES[self.parameterAsEnum(parameters, self.ANALYSIS, context)][0]

    def projectsDegrees(self, parameters, context):
        return self.mapOption(parameters, context) == "--prepare"

    def analysisArguments(self, parameters, context):
        arguments = []
        map_option = self.mapOption(parameters, context)
        if map_option:
            arguments.append(map_option)
        arguments += ["--analysis", self.analysis(parameters, context)]
        radii = self.parameterAsString(parameters, self.RADII, context).replace(" ", "")
        if radii:
            radius_type = RADIUS_TYPES[self.parameterAsEnum(parameters, self.RADIUS_TYPE, context)]
            arguments += ["--radius", radii, "--radius-type", radius_type[0]]
        bins = self.parameterAsInt(parameters, self.TULIP_BINS, context)
        arguments += ["--tulip-bins", str(bins)]
        # Left unset, the tool's own default (end pieces of no length) holds; the tool refuses it
        # for road-centre lines, which have no end pieces.
        if parameters.get(self.STUB_REMOVAL) is not None:
            stub = self.parameterAsDouble(parameters, self.STUB_REMOVAL, context)
            arguments += ["--stub-removal", repr(stub)]
        if self.parameterAsBoolean(parameters, self.CHOICE, context):
            arguments.append("--choice")
        return arguments

    def toolStages(self, parameters, context):
        map_option = self.mapOption(parameters, context)
        stages = ["Reading lines"]
        if map_option == "--prepare":
            stages += ["Projecting", "Preparing streets"]
        elif map_option is None:
            stages.append("Finding junctions")
        stages += ["Making segments", DEPTH_STAGES[self.analysis(parameters, context)]]
        return stages + ["Writing files"]
