#include "viewer/win32/viewer_program.h"

#include <commdlg.h>

#include <cwchar>

#include "common/win32/colours_dialog.h"
#include "common/win32/info_dialog.h"
#include "common/win32/main_window.h"
#include "common/win32/text.h"
#include "resources/qm/program_info.h"
#include "resources/qm/strings.h"
#include "viewer/core/bmp_export.h"
#include "viewer/win32/camera_settings_dialog.h"
#include "viewer/win32/control_panel_dialog.h"

namespace qm71::win32 {

ViewerProgram::ViewerProgram(Operator& op, Clock& clock, SerialLine& line)
    : op_(op),
      cameraWait_("QM", "Warte auf die Kamera an %1 …"),
      parts_(op, clock, *this, line, &cameraWait_),
      window_(parts_.App(), {[this](int id) { parts_.Command(id); }, [this] { Shutdown(); }}),
      idle_([this] { return App().Acquiring(); }, [this] { return App().OnIdle(); }) {}

ViewerProgram::~ViewerProgram() {
    Shutdown();
}

bool ViewerProgram::Start() {
    ImageWindow* logic = parts_.Logic();
    if (!logic) return false;
    const bool opened = OpenMainWindow(
        window_, "PXA1/PXB1", op_, [this](int w, int h) { return App().InitInstance(w, h); },
        [&](int w, int h) { logic->OnCreate(window_, w, h); });
    if (opened) App().Started();
    return opened;
}

void ViewerProgram::Shutdown() {
    if (App().Ended() || !window_.Handle()) return;
    parts_.Shutdown(window_.FrameRect());
    idle_.ReportRate("qm71", "frames");
}

int ViewerProgram::RunControlPanel(ControlPanelHost& host) {
    return ControlPanelDialog(host).Run(window_.Handle());
}

void ViewerProgram::RunColours(ColoursHost& host) {
    ColoursDialog(host).Run(window_.Handle());
}

void ViewerProgram::RunInfo() {
    InfoDialog({qm::kIcon, qm::kProduct, qm::kInfoOk}).Run(window_.Handle());
}

int ViewerProgram::RunCameraSettings(CameraPort& camera) {
    return CameraSettingsDialog(camera, op_).Run();
}

std::optional<std::filesystem::path> ViewerProgram::AskBitmapFileName() {
    const auto path = AskSaveFileName(qm::ResourceString(qm::IDS_BMP_FILTER), L"bmp", L"*.bmp");
    if (!path) return std::nullopt;
    return WithDefaultExtension(*path);
}

std::optional<std::filesystem::path> AskSaveFileName(std::string_view filter, const wchar_t* ext,
                                                     const wchar_t* initial) {
    // The bars become the terminating zeros the dialog expects.
    std::wstring filters = Widen(filter);
    for (wchar_t& c : filters)
        if (c == L'|') c = L'\0';
    std::wstring file(MAX_PATH * 4, L'\0');
    file.replace(0, std::wcslen(initial), initial);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = GetActiveWindow();
    ofn.lpstrFilter = filters.c_str();
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrDefExt = ext;
    ofn.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameW(&ofn)) return std::nullopt;
    return std::filesystem::path(file.c_str());
}

}  // namespace qm71::win32
