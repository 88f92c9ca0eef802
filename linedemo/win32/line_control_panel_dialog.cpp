#include "linedemo/win32/line_control_panel_dialog.h"

namespace qm71::win32 {

void LineControlPanelDialog::Show() {
    const LineControlPanel::View& view = model_.Shown();
    for (const int id : {kNormal, kInverse, kThreshold, kScale1To8, kScale1To4, kScale1To2,
                         kScale1To1, kScale2To1, kScale4To1})
        Check(id, id == view.colouring || id == view.scale);
    Check(kSoftwareTrigger, view.trigger);
    SetText(kImageSize, view.imageSize);
}

}  // namespace qm71::win32
