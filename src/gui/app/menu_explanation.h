// The explanation box a menu operation shows first, unless "Switch off Menu Messages?" is ticked.
#pragma once

#include <QString>

namespace vantrel {

struct Workspace;

void ExplainMenuOperation(Workspace& workspace, const QString& text, const QString& title);

} // namespace vantrel
