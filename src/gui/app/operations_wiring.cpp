#include "gui/app/operations_wiring.h"

#include "gui/app/app_operations.h"
#include "gui/app/new_project.h"
#include "gui/drawing/digitising.h"
#include "gui/drawing/scale_and_pen.h"
#include "gui/geometry/picture_operations.h"

namespace vantrel {

void ConnectOperations(Workspace& workspace) {
    ConnectAppOperations(workspace);
    ConnectNewProjectOperations(workspace);
    ConnectScaleAndPenOperations(workspace);
    ConnectDigitisingOperations(workspace);
    ConnectPictureOperations(workspace);
}

} // namespace vantrel
