#include "viewer/core/control_panel.h"

#include "common/colour_table.h"
#include "resources/qm/control_panel_ids.h"

namespace qm71 {

namespace {
constexpr int kCameraCancel = 2;
}  // namespace

ControlPanel::ControlPanel(ControlPanelHost& host) : host_(host) {
    // A stored colouring the lookup does not know is drawn as normal grey.
    const int lut = host_.Lut();
    view_.colouring = qm::kNormal + (lut >= kNormal && lut <= kThreshold ? lut : kNormal);
    const int scale = host_.Scale();
    view_.scale = scale >= 0 && scale <= 3 ? qm::kScale0 + scale : 0;
    view_.downloads = std::to_string(host_.DownloadAttempts());
}

std::optional<int> ControlPanel::Press(int id) {
    switch (id) {
        case kResultOk:
        case kResultCancel:
        case qm::kNormal:
        case qm::kInverse:
        case qm::kThreshold:
        case qm::kOptions:
        case qm::kScale0:
        case qm::kScale1:
        case qm::kScale2:
        case qm::kScale3:
        case qm::kEnd:
            return id;
        case qm::kCameraSettings:
            // Cancel, a port that would not open and OK in trigger mode all
            // give 2: the panel stays for its Trigger button. Anything else
            // closes it with 2, which the main window ignores.
            if (host_.RunCameraSettings() != kCameraCancel) return kResultCancel;
            return std::nullopt;
        case qm::kTrigger:
            host_.SoftwareTrigger();
            return std::nullopt;
        case qm::kSaveBitmap:
            host_.SaveBitmap();
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

}  // namespace qm71
