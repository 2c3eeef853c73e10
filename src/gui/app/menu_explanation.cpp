#include "gui/app/menu_explanation.h"

#include "gui/app/main_window.h"
#include "gui/app/workspace.h"
#include "gui/host/dialogs.h"

namespace vantrel {

void ExplainMenuOperation(Workspace& workspace, const QString& text, const QString& title) {
    if (!workspace.main.menuMessagesOff())
        Warn(workspace.dialogs, text, title);
}

} // namespace vantrel
