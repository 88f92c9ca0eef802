#pragma once

#include <algorithm>
#include <array>

#include "platform/accelerator.h"
#include "resources/qm/commands.h"

namespace qm71::qmdemo {

// The line demo's main window takes the viewer's commands, with the same ids
// on the same keys (ID_CONTROL_PANEL, ID_LUT_NORMAL, ..., ID_HELP), and two of
// its own. Its four scale keys choose other zooms than the viewer's.
using enum qm::CommandId;
enum LineDemoCommandId : int {
    ID_SCALE_1_2 = qm::ID_SCALE_0,  // Ctrl+5, SCALE 2
    ID_SCALE_1_1 = qm::ID_SCALE_1,  // Ctrl+1, SCALE 3
    ID_SCALE_2_1 = qm::ID_SCALE_2,  // Ctrl+2, SCALE 4
    ID_SCALE_4_1 = qm::ID_SCALE_3,  // Ctrl+4, SCALE 5
    ID_SOFTWARE_TRIGGER = 32813,
    ID_SAVE_NUMBERED = 32814,
};

// Accelerator table 130 of the line demo: the viewer's table, Alt+T and
// Ctrl+W. Scales 1:8 and 1:4 have no key; the control panel offers them.
inline constexpr auto kLineDemoAccelerators = [] {
    std::array<Accelerator, qm::kViewerAccelerators.size() + 2> table{};
    auto end = std::ranges::copy(qm::kViewerAccelerators, table.begin()).out;
    *end++ = {'T', kModAlt, ID_SOFTWARE_TRIGGER};
    *end = {'W', kModControl, ID_SAVE_NUMBERED};
    return table;
}();

}  // namespace qm71::qmdemo
