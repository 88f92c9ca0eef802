#include "viewer/win32/camera_settings_dialog.h"

namespace qm71::win32 {

namespace {
constexpr int kResetButton = 3;
constexpr int kSaveButton = 4;
}  // namespace

void CameraSettingsDialog::OnInit() {
    if (const auto result = model_.Open()) {
        End(*result);
        return;
    }
    if (const auto& title = model_.Title()) {
        // The camera's reply is Latin-1.
        std::wstring caption(title->begin(), title->end());
        for (wchar_t& c : caption) c = static_cast<wchar_t>(static_cast<unsigned char>(c));
        SetWindowTextW(Handle(), caption.c_str());
    }
    Show();
}

void CameraSettingsDialog::OnCommand(int id, int code) {
    if (code != BN_CLICKED) return;
    switch (id) {
        case IDOK:
            End(model_.Ok(Read()));
            break;
        case IDCANCEL:
            End(model_.Cancel());
            break;
        case kResetButton:
            End(model_.Reset());
            break;
        case kSaveButton:
            End(model_.Save(Read()));
            break;
        default:
            break;
    }
}

void CameraSettingsDialog::Show() {
    const CameraSettingsModel::Controls& shown = model_.Shown();
    for (std::size_t g = 0; g < shown.checked.size(); ++g)
        for (const int id : CameraSettingsModel::kGroups[g]) Check(id, id == shown.checked[g]);
    for (std::size_t e = 0; e < shown.text.size(); ++e)
        SetText(CameraSettingsModel::kEdits[e], shown.text[e]);
}

CameraSettingsModel::Controls CameraSettingsDialog::Read() const {
    CameraSettingsModel::Controls c;
    for (std::size_t g = 0; g < c.checked.size(); ++g)
        for (const int id : CameraSettingsModel::kGroups[g])
            if (Checked(id)) c.checked[g] = id;
    for (std::size_t e = 0; e < c.text.size(); ++e)
        c.text[e] = Text(CameraSettingsModel::kEdits[e]);
    return c;
}

}  // namespace qm71::win32
