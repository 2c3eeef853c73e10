"""Copies the features an algorithm is given (a whole layer, its selection, a memory layer) into a
GeoPackage that vantrel-cli reads, keeping the CRS and each feature's id, so that the results'
source_fid joins them back to the layer. QGIS's own file writer numbers features afresh, so the
copy is written through OGR."""

import os

from osgeo import gdal, ogr, osr
from qgis.core import (
    QgsCoordinateReferenceSystem,
    QgsFeatureRequest,
    QgsGeometry,
    QgsProcessingException,
    QgsProcessingFeatureSource,
    QgsWkbTypes,
)

STAGED_LAYER = "lines"


def spatial_reference(crs):
    reference = osr.SpatialReference()
    if crs.isValid():
        reference.ImportFromWkt(crs.toWkt(QgsCoordinateReferenceSystem.WKT_PREFERRED_GDAL))
    else:
        # A GeoPackage layer without one would be in the "undefined geographic" system, which
        # vantrel-cli takes for degrees; this name gives the undefined Cartesian system instead.
        reference.SetLocalCS("Undefined cartesian SRS")
    return reference


def line_wkb(geometry):
    """The feature's lines as WKB, or None when it holds no line."""
    if geometry.isNull() or geometry.isEmpty() or geometry.type() != QgsWkbTypes.LineGeometry:
        return None
    # vantrel-cli reads straight pieces; a curve goes to it as the pieces QGIS draws.
    if QgsWkbTypes.isCurvedType(geometry.wkbType()):
        geometry = QgsGeometry(geometry.constGet().segmentize())
    return bytes(geometry.asWkb())


def copy_failed():
    return QgsProcessingException(
        f"Could not write a temporary copy of the layer for vantrel-cli: {gdal.GetLastErrorMsg()}"
    )


class StagedLines:
    """The lines of `source` in a GeoPackage in `folder`; counts what was read and written."""

    def __init__(self, source, folder):
        self.path = os.path.join(folder, "input.gpkg")
        self.dataset = ogr.GetDriverByName("GPKG").CreateDataSource(self.path)
        if self.dataset is None:
            raise copy_failed()
        crs = spatial_reference(source.sourceCrs())
        self.layer = self.dataset.CreateLayer(STAGED_LAYER, crs, ogr.wkbUnknown)
        if self.layer is None:
            raise copy_failed()
        # One transaction for all features: a GeoPackage commits each insert on its own otherwise.
        self.dataset.StartTransaction()
        self.read = 0
        self.written = 0

    def add(self, feature):
        self.read += 1
        wkb = line_wkb(feature.geometry())
        if wkb is None:
            return
        staged = ogr.Feature(self.layer.GetLayerDefn())
        staged.SetFID(feature.id())
        staged.SetGeometry(ogr.CreateGeometryFromWkb(wkb))
        if self.layer.CreateFeature(staged) != ogr.OGRERR_NONE:
            raise copy_failed()
        self.written += 1

    def close(self):
        if self.dataset.CommitTransaction() != ogr.OGRERR_NONE:
            raise copy_failed()
        self.dataset = None


def stage_lines(source, folder, progress, stage):
    """Writes the lines of `source` into `folder` and returns the GeoPackage's path. A source with
    no features or no lines is refused here, by its own name, rather than by the tool, which
    would name the copy."""
    name = source.sourceName()
    total = source.featureCount()
    staged = StagedLines(source, folder)
    # vantrel-cli has its own rules for lines (one of zero length is still a line), so QGIS's
    # validity checks, which could stop the run at such a line, are left out.
    request = QgsFeatureRequest().setNoAttributes()
    unchecked = QgsProcessingFeatureSource.FlagSkipGeometryValidityChecks
    for feature in source.getFeatures(request, unchecked):
        if progress.feedback.isCanceled():
            raise QgsProcessingException("Cancelled before vantrel-cli began.")
        staged.add(feature)
        if total > 0:
            progress.show(stage, 100 * staged.read // total)
    staged.close()
    if staged.read == 0:
        raise QgsProcessingException(f'The layer "{name}" is empty: it has no features to analyse.')
    if staged.written == 0:
        raise QgsProcessingException(
            f'The layer "{name}" holds no lines: none of its features is a line.'
        )
    if staged.written < staged.read:
        progress.feedback.pushWarning(
            f'{staged.read - staged.written} of the {staged.read} features of "{name}" hold no '
            "line (points, polygons, empty or null geometries) and are left out."
        )
    return staged.path
