#pragma once

#include "common/colour_commands.h"

namespace qm71::line {

// Command ids of the line demo's main window (accelerator table 130). The
// colouring keys are the shared ones of common/colour_commands.h.
enum CommandId : int {
    ID_CONTROL_PANEL = 32781,
    ID_COLOURS = 32785,
    ID_SCALE_1_1 = 32800,  // Ctrl+1
    ID_SCALE_2_1 = 32801,  // Ctrl+2
    ID_SCALE_1_2 = 32802,  // Ctrl+5
    ID_SCALE_4_1 = 32803,  // Ctrl+4
    ID_REFIT = 32804,
    ID_LIVE = 32808,
    ID_REDRAW_OTHERS = 32810,
    ID_SOFTWARE_TRIGGER = 32813,  // Alt+T, and the panel's "SW-Trigger"
    ID_SAVE_NUMBERED = 32814,
    ID_HELP = 57670,
};

// What the control panel (template 137) ends with: the id of the button
// pressed, which the main window then carries out.
enum PanelResult : int {
    kPanelOk = 1,
    kPanelCancel = 2,
    kPanelEnd = 1006,
    kPanelNormal = 1011,
    kPanelInverse = 1012,
    kPanelThreshold = 1013,
    kPanelOptions = 1014,
    kPanelScale1To8 = 1030,  // 1030 + SCALE, up to 1035 for 4:1
    kPanelScale4To1 = 1035,
    kPanelSoftwareTrigger = ID_SOFTWARE_TRIGGER,
};

}  // namespace qm71::line
