"""The "Vantrel" Processing provider: one algorithm per analysis of vantrel-cli."""

from processing.core.ProcessingConfig import ProcessingConfig, Setting
from qgis.core import QgsProcessingProvider

from .axial_analysis import AxialAnalysis
from .segment_analysis import SegmentAnalysis
from .tool import TOOL_SETTING


class VantrelProvider(QgsProcessingProvider):
    def id(self):
        return "vantrel"

    def name(self):
        return "Vantrel"

    def longName(self):
        return "Vantrel space syntax analysis"

    # The setting appears under Settings > Options > Processing > Providers > Vantrel.
    def load(self):
        ProcessingConfig.settingIcons[self.name()] = self.icon()
        ProcessingConfig.addSetting(
            Setting(
                self.name(),
                TOOL_SETTING,
                "vantrel-cli program (empty: the one in the plugin's folder, else the one on the "
                "PATH)",
                "",
                valuetype=Setting.FILE,
            )
        )
        ProcessingConfig.readSettings()
        self.refreshAlgorithms()
        return True

    def unload(self):
        ProcessingConfig.removeSetting(TOOL_SETTING)

    def loadAlgorithms(self):
        self.addAlgorithm(AxialAnalysis())
        self.addAlgorithm(SegmentAnalysis())
