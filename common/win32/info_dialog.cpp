#include "common/win32/info_dialog.h"

namespace qm71::win32 {

void InfoDialog::OnInit() {
    SetText(kProductId, box_.product);
    SetText(InfoBox::kVersionId, box_.version);
    SetText(IDOK, box_.okButton);
}

void InfoDialog::OnCommand(int id, int) {
    if (id == IDOK) End(InfoBox::kResultOk);
    if (id == IDCANCEL) End(InfoBox::kResultCancel);
}

}  // namespace qm71::win32
