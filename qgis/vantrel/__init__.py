"""The Vantrel QGIS plugin: a Processing provider that runs vantrel-cli."""


def classFactory(iface):
    from .plugin import VantrelPlugin

    return VantrelPlugin()
