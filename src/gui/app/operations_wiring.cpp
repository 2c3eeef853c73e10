#include "gui/app/operations_wiring.h"

#include "gui/analysis/analysis_operations.h"
#include "gui/analysis/depth_map_operations.h"
#include "gui/analysis/integration_graph_operations.h"
#include "gui/analysis/statistics_operations.h"
#include "gui/analysis/vga_operations.h"
#include "gui/app/app_operations.h"
#include "gui/app/new_project.h"
#include "gui/app/project_operations.h"
#include "gui/display/results_menus.h"
#include "gui/drawing/digitising.h"
#include "gui/drawing/scale_and_pen.h"
#include "gui/export/export_operations.h"
#include "gui/geometry/line_geometry_wiring.h"
#include "gui/geometry/picture_operations.h"

namespace vantrel {

void ConnectOperations(Workspace& workspace) {
    ConnectAppOperations(workspace);
    ConnectNewProjectOperations(workspace);
    ConnectProjectOperations(workspace);
    ConnectScaleAndPenOperations(workspace);
    ConnectDigitisingOperations(workspace);
    ConnectPictureOperations(workspace);
    ConnectExportOperations(workspace);
    ConnectAnalysisOperations(workspace);
    ConnectDepthMapOperations(workspace);
    ConnectIntegrationGraphOperations(workspace);
    ConnectStatisticsOperations(workspace);
    ConnectLineGeometryOperations(workspace);
    ConnectResultsDisplayOperations(workspace);
    ConnectVgaOperations(workspace);
}

} // namespace vantrel
