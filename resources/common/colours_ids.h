#pragma once

namespace qm71::colours {

// Control ids of the colours dialog (template 145) beside OK (1) and Abbruch (2).
enum ControlId : int {
    kThreshSlider = 1000,
    kThreshEdit = 1001,
    kMitteSlider = 1002,
    kMitteEdit = 1003,
    kBackgroundList = 1027,
    kForegroundList = 1028,
    kMiddleList = 1029,
};

}  // namespace qm71::colours
