// The secondary windows of the program, created with the main window and kept for the run.
#pragma once

#include "gui/app/help_window.h"
#include "gui/app/program_window.h"
#include "gui/app/text_window.h"
#include "gui/display/numbered_map_window.h"
#include "gui/display/results_window.h"
#include "gui/display/vga_results_window.h"

#include <array>

namespace vantrel {

class Windows {
public:
    ResultsWindow axialResults{ResultsKind::Axial};
    ResultsWindow junctionResults{ResultsKind::Junction};
    NumberedMapWindow numberedAxialMap{NumberedMapKind::Axial};
    NumberedMapWindow numberedJunctionMap{NumberedMapKind::Junction};
    TextWindow textWindow;
    HelpWindow helpWindow;
    ProgramWindow programWindow;
    VgaResultsWindow vgaResults;

    std::array<QWidget*, 8> all() {
        return {&programWindow,       &axialResults, &junctionResults, &numberedAxialMap,
                &numberedJunctionMap, &helpWindow,   &textWindow,      &vgaResults};
    }

    void closeAll() {
        for (QWidget* window : all())
            window->close();
    }
};

} // namespace vantrel
