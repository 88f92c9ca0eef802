#include "viewer/win32/control_panel_dialog.h"

#include "resources/qm/control_panel_ids.h"

namespace qm71::win32 {

void ControlPanelDialog::Show() {
    const ControlPanel::View& view = model_.Shown();
    for (const int id : {qm::kNormal, qm::kInverse, qm::kThreshold, qm::kScale0, qm::kScale1,
                         qm::kScale2, qm::kScale3})
        Check(id, id == view.colouring || id == view.scale);
    SetText(qm::kDownloads, view.downloads);
}

}  // namespace qm71::win32
