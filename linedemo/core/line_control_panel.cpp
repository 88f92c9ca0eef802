#include "linedemo/core/line_control_panel.h"

#include "resources/qmdemo/control_panel_ids.h"

namespace qm71 {

namespace {
int Pressed(int first, int last, int offset) {
    return offset >= 0 && offset <= last - first ? first + offset : 0;
}
}  // namespace

LineControlPanel::LineControlPanel(const LinePanelState& state)
    : view_{Pressed(qmdemo::kNormal, qmdemo::kThreshold, state.lut),
            Pressed(qmdemo::kScale1To8, qmdemo::kScale4To1, state.scale), state.trigger,
            std::to_string(state.width) + '*' + std::to_string(state.height)} {}

std::optional<int> LineControlPanel::Press(int id) const {
    switch (id) {
        case qmdemo::kOk:
        case kResultCancel:
        case qmdemo::kEnd:
        case qmdemo::kNormal:
        case qmdemo::kInverse:
        case qmdemo::kThreshold:
        case qmdemo::kOptions:
        case qmdemo::kScale1To8:
        case qmdemo::kScale1To4:
        case qmdemo::kScale1To2:
        case qmdemo::kScale1To1:
        case qmdemo::kScale2To1:
        case qmdemo::kScale4To1:
        case qmdemo::kSoftwareTrigger:
            return id;
        default:
            return std::nullopt;
    }
}

}  // namespace qm71
