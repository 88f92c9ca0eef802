#pragma once

namespace qm71::qm {

// Control ids of the viewer's control panel (template 137). The closing
// buttons end the panel with their own id, which the main window carries out.
enum ControlPanelId : int {
    kSaveBitmap = 4,
    kNormal = 1002,
    kInverse = 1003,
    kThreshold = 1004,
    kEnd = 1006,
    kOptions = 1008,
    kScale0 = 1030,
    kScale1 = 1031,
    kScale2 = 1032,
    kScale3 = 1033,
    kTrigger = 1054,
    kCameraSettings = 1055,
    kDownloads = 1064,
};

}  // namespace qm71::qm
