#pragma once

namespace qm71::qmdemo {

// Control ids of the line demo's control panel (template 137). Every button
// ends the panel with its own id, which the main window carries out.
enum LineControlPanelId : int {
    kOk = 1,
    kEnd = 1006,
    kNormal = 1011,
    kInverse = 1012,
    kThreshold = 1013,
    kOptions = 1014,
    kScale1To8 = 1030,  // SCALE 0; up to kScale4To1 = SCALE 5
    kScale1To4 = 1031,
    kScale1To2 = 1032,
    kScale1To1 = 1033,
    kScale2To1 = 1034,
    kScale4To1 = 1035,
    kImageSize = 1059,
    kSoftwareTrigger = 32813,
};

}  // namespace qm71::qmdemo
