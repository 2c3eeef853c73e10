"""Registers the Vantrel Processing provider with QGIS, in the desktop and in qgis_process."""

from qgis.core import QgsApplication

from .provider import VantrelProvider


class VantrelPlugin:
    def __init__(self):
        self.provider = None

    # QGIS calls initProcessing for plugins with hasProcessingProvider=yes, also in qgis_process,
    # where initGui never runs.
    def initProcessing(self):
        if self.provider is None:
            self.provider = VantrelProvider()
            QgsApplication.processingRegistry().addProvider(self.provider)

    def initGui(self):
        self.initProcessing()

    def unload(self):
        if self.provider is not None:
            QgsApplication.processingRegistry().removeProvider(self.provider)
            self.provider = None
