"""What every Vantrel algorithm shares: a layer of lines in, vantrel-cli run on a copy of it, and
the GeoPackage layers it writes loaded with the style it gives them. An analysis adds only its own
parameters, command-line options, progress stages and result layers."""

import os
import tempfile

from qgis.core import (
    QgsProcessing,
    QgsProcessingAlgorithm,
    QgsProcessingContext,
    QgsProcessingException,
    QgsProcessingOutputLayerDefinition,
    QgsProcessingOutputVectorLayer,
    QgsProcessingParameterDistance,
    QgsProcessingParameterFeatureSource,
    QgsProcessingParameterFileDestination,
    QgsProcessingParameterNumber,
    QgsProcessingUtils,
    QgsProviderRegistry,
    QgsVectorLayer,
)

from .layer_staging import STAGED_LAYER, stage_lines
from .tool import checked_tool
from .tool_run import StageProgress, run_tool

COPYING_STAGE = "Copying the layer"
REPROJECT_HINT = 'reproject it to a CRS in metres first (Processing: "Reproject layer")'


class VantrelAlgorithm(QgsProcessingAlgorithm):
    INPUT = "INPUT"
    TOLERANCE = "TOLERANCE"
    THREADS = "THREADS"
    OUTPUT = "OUTPUT"

    # Set by each analysis: the vantrel-cli command, the texts of its --help that the options
    # passed need, and its layers as (output name, layer name in the GeoPackage, description).
    command = ""
    required_help = ()
    result_layers = ()

    def createInstance(self):
        return type(self)()

    def initAlgorithm(self, config=None):
        self.addParameter(
            QgsProcessingParameterFeatureSource(self.INPUT, "Lines", [QgsProcessing.TypeVectorLine])
        )
        self.addAnalysisParameters()
        self.addParameter(
            QgsProcessingParameterDistance(
                self.TOLERANCE,
                "Tolerance: also relate lines whose nearest points are at most this far apart",
                0.0,
                self.INPUT,
                minValue=0.0,
            )
        )
        self.addParameter(
            QgsProcessingParameterNumber(
                self.THREADS,
                "Threads (all cores when not set)",
                QgsProcessingParameterNumber.Integer,
                optional=True,
                minValue=1,
                maxValue=1024,
            )
        )
        self.addParameter(
            QgsProcessingParameterFileDestination(self.OUTPUT, "Results", "GeoPackage (*.gpkg)")
        )
        for name, _, description in self.result_layers:
            self.addOutput(QgsProcessingOutputVectorLayer(name, description))

    def addAnalysisParameters(self):
        """Adds the analysis's own parameters."""
        raise NotImplementedError

    def analysisArguments(self, parameters, context):
        """The analysis's own options of the command line."""
        raise NotImplementedError

    def toolStages(self, parameters, context):
        """The names of the stages the tool will report, in order."""
        raise NotImplementedError

    def projectsDegrees(self, parameters, context):
        """Whether the tool itself projects a layer in degrees to metres, as prepare does."""
        return False

    def processAlgorithm(self, parameters, context, feedback):
        tool = checked_tool(self.command, self.required_help)
        source = self.parameterAsSource(parameters, self.INPUT, context)
        if source is None:
            raise QgsProcessingException(self.invalidSourceError(parameters, self.INPUT))
        results = self.resultsFile(parameters, context)
        tolerance = self.parameterAsDouble(parameters, self.TOLERANCE, context)
        if not self.projectsDegrees(parameters, context):
            self.checkUnits(source, tolerance, feedback)
        progress = StageProgress(feedback, [COPYING_STAGE] + self.toolStages(parameters, context))
        arguments = ["--tolerance", repr(tolerance)] if tolerance > 0 else []
        threads = self.parameterAsInt(parameters, self.THREADS, context)
        if threads > 0:
            arguments += ["--threads", str(threads)]
        arguments += self.analysisArguments(parameters, context)
        with tempfile.TemporaryDirectory(dir=QgsProcessingUtils.tempFolder()) as folder:
            progress.start(COPYING_STAGE)
            staged = stage_lines(source, folder, progress, COPYING_STAGE)
            # --overwrite: the user chose this file, and QGIS asks before an existing one is chosen.
            command = [tool, self.command, staged, "--layer", STAGED_LAYER, "--out", results]
            run_tool(command + ["--overwrite"] + arguments, progress)
        return self.loadResults(results, parameters, context)

    def resultsFile(self, parameters, context):
        results = self.parameterAsFileOutput(parameters, self.OUTPUT, context)
        if not results.lower().endswith(".gpkg"):
            raise QgsProcessingException(
                "The results are written to a GeoPackage, so their file must end in .gpkg: "
                + results
            )
        # Replacing the results file replaces all it holds, and the user's lines must survive.
        layer = self.parameterAsVectorLayer(parameters, self.INPUT, context)
        if layer is not None:
            parts = QgsProviderRegistry.instance().decodeUri(layer.providerType(), layer.source())
            path = parts.get("path", "")
            if path and os.path.exists(results) and os.path.samefile(path, results):
                raise QgsProcessingException(
                    f"The results would replace {results}, which holds the layer analysed: "
                    "choose another file."
                )
        return results

    def checkUnits(self, source, tolerance, feedback):
        crs = source.sourceCrs()
        if not crs.isGeographic():
            return
        name = f'The layer "{source.sourceName()}" is in degrees ({crs.userFriendlyIdentifier()})'
        if tolerance > 0:
            raise QgsProcessingException(
                f"{name}, so a tolerance of {tolerance:g} would be {tolerance:g} degrees: "
                f"{REPROJECT_HINT}, or leave the tolerance at 0."
            )
        feedback.pushWarning(f"{name}: line lengths come out in degrees; {REPROJECT_HINT}.")

    def loadResults(self, results, parameters, context):
        """The outputs; each layer also loads into the project on completion, unless the user
        unchecked "Open output file after running algorithm"."""
        outputs = {self.OUTPUT: results}
        target = parameters.get(self.OUTPUT)
        project = (
            target.destinationProject
            if isinstance(target, QgsProcessingOutputLayerDefinition)
            else context.project()
        )
        for name, layer_name, _ in self.result_layers:
            uri = f"{results}|layername={layer_name}"
            outputs[name] = uri
            if project is None:
                continue
            # Processing would load the file without its default style; a layer made here keeps
            # it, and Processing takes it from the context's store as it is.
            layer = QgsVectorLayer(uri, layer_name, "ogr")
            context.temporaryLayerStore().addMapLayer(layer)
            details = QgsProcessingContext.LayerDetails(
                layer_name, project, name, QgsProcessingUtils.LayerHint.Vector
            )
            context.addLayerToLoadOnCompletion(layer.id(), details)
        return outputs
