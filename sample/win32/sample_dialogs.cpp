#include "sample/win32/sample_dialogs.h"

#include "resources/sample/commands.h"

namespace qm71::win32 {

using namespace sample;

void SizeDialog::OnInit() {
    SetText(IDC_WIDTH, model_.WidthText());
    SetText(IDC_HEIGHT, model_.HeightText());
    SetText(IDC_ILUT, model_.IlutText());
    ButtonDialog::OnInit();
}

std::optional<int> SizeDialog::Press(int id) {
    if (id == IDOK) return model_.Accept(Text(IDC_WIDTH), Text(IDC_HEIGHT), Text(IDC_ILUT));
    if (id == IDCANCEL) return model_.Cancel();
    if (id == IDC_CONTRAST) model_.ToggleContrast();
    if (id >= IDC_AVERAGING_FIRST && id <= IDC_AVERAGING_LAST) model_.ChooseAveraging(id);
    return std::nullopt;
}

void SizeDialog::Show() {
    for (int id = IDC_AVERAGING_FIRST; id <= IDC_AVERAGING_LAST; ++id)
        Check(id, id == model_.CheckedAveragingId());
    Check(IDC_CONTRAST, model_.ContrastChecked());
}

void AboutDialog::OnInit() {
    int id = kFirstLineId;
    for (const char* line : AboutBoxModel::kLines) SetText(id++, line);
}

}  // namespace qm71::win32
