"""Axial analysis: integration, choice and the standard measures of every line and junction."""

from qgis.core import (
    QgsProcessingParameterBoolean,
    QgsProcessingParameterEnum,
    QgsProcessingParameterString,
)

from .algorithm import VantrelAlgorithm

# The values of --analysis, in the order the parameter offers them.
ANALYSES = (
    ("both", "Lines and junctions (primal and dual)"),
    ("primal", "Lines only (primal)"),
    ("dual", "Junctions only (dual)"),
)


class AxialAnalysis(VantrelAlgorithm):
    ANALYSIS = "ANALYSIS"
    RADII = "RADII"
    CHOICE = "CHOICE"

    command = "analyse"
    required_help = (
        ".gpkg",
        "--layer",
        "--tolerance",
        "--radius",
        "--threads",
        "--analysis",
        "--choice",
        "--overwrite",
    )
    result_layers = (
        ("AXIAL_LINES", "axial_lines", "Axial lines"),
        ("JUNCTIONS", "junctions", "Junctions"),
    )

    def name(self):
        return "axialanalysis"

    def displayName(self):
        return "Axial analysis"

    def shortHelpString(self):
        return (
            "Finds the junctions where the lines cross and computes, for every line (the primal "
            "analysis) and every junction (the dual analysis), connectivity, total and mean depth, "
            "integration, the field's standard measures (node count, RA, RRA, integration [HH], "
            "Teklenburg's integration, entropy, harmonic mean depth, control, controllability) at "
            "radius n and at every radius asked for, and with choice also choice and normalised "
            "choice.\n\nThe results are a GeoPackage with the layers axial_lines (each line with "
            "source_fid, the id of the feature it came from) and junctions, coloured red (high) "
            "to blue (low). A feature of several straight pieces gives one axial line per "
            "piece.\n\n"
            "Runs vantrel-cli analyse; its --help explains every column."
        )

    def addAnalysisParameters(self):
        self.addParameter(
            QgsProcessingParameterEnum(
                self.ANALYSIS, "Analysis", [label for _, label in ANALYSES], defaultValue=0
            )
        )
        self.addParameter(
            QgsProcessingParameterString(
                self.RADII,
                "Radii, separated by commas (as 3,5,n)",
                optional=True,
            )
        )
        self.addParameter(
            QgsProcessingParameterBoolean(
                self.CHOICE, "Choice (takes longer than the rest of the analysis)", False
            )
        )

    def analysis(self, parameters, context):
        return ANALYSES[self.parameterAsEnum(parameters, self.ANALYSIS, context)][0]

    def analysisArguments(self, parameters, context):
        arguments = ["--analysis", self.analysis(parameters, context)]
        radii = self.parameterAsString(parameters, self.RADII, context).replace(" ", "")
        if radii:
            arguments += ["--radius", radii]
        if self.parameterAsBoolean(parameters, self.CHOICE, context):
            arguments.append("--choice")
        return arguments

    def toolStages(self, parameters, context):
        analysis = self.analysis(parameters, context)
        choice = self.parameterAsBoolean(parameters, self.CHOICE, context)
        stages = ["Reading lines", "Finding junctions"]
        if analysis != "dual":
            stages += ["Axial depths"] + (["Axial choice"] if choice else [])
        if analysis != "primal":
            stages += ["Junction depths"] + (["Junction choice"] if choice else [])
        return stages + ["Writing files"]
