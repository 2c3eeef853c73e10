// The numbered map windows (`Form5` for the lines, `Form6` for the junctions).
#pragma once

#include "gui/display/map_surface_window.h"

namespace vantrel {

enum class NumberedMapKind { Axial, Junction };

class NumberedMapWindow : public MapSurfaceWindow {
    Q_OBJECT
public:
    explicit NumberedMapWindow(NumberedMapKind kind);

    NumberedMapKind kind() const { return m_kind; }
private:
    NumberedMapKind m_kind;
};

} // namespace vantrel
