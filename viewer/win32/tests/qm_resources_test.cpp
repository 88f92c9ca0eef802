#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "common/win32/colours_dialog.h"
#include "common/win32/info_dialog.h"
#include "common/win32/text.h"
#include "resources/qm/commands.h"
#include "resources/qm/control_panel_ids.h"
#include "resources/qm/strings.h"
#include "viewer/camera/camera_settings_model.h"
#include "viewer/win32/camera_settings_dialog.h"
#include "viewer/win32/control_panel_dialog.h"

namespace qm71::win32 {
namespace {

INT_PTR CALLBACK Quiet(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

// The ids among `ids` that template `id` has no control for; {-1} when the
// template cannot be made at all.
std::vector<int> Missing(int id, const std::vector<int>& ids) {
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    const HWND dialog =
        CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), nullptr, Quiet, 0);
    if (!dialog) return {-1};
    std::vector<int> missing;
    for (const int control : ids)
        if (!GetDlgItem(dialog, control)) missing.push_back(control);
    DestroyWindow(dialog);
    return missing;
}

TEST(QmResources, EveryControlTheDialogsBindIsInTheirTemplates) {
    using C = ColoursDialog;
    EXPECT_EQ(Missing(ControlPanelDialog::kTemplate,
                      {qm::kSaveBitmap, qm::kNormal, qm::kInverse, qm::kThreshold, qm::kEnd,
                       qm::kOptions, qm::kScale0, qm::kScale1, qm::kScale2, qm::kScale3,
                       qm::kTrigger, qm::kCameraSettings, qm::kDownloads}),
              std::vector<int>{});
    std::vector<int> camera{IDOK, IDCANCEL, 3, 4};
    for (const auto group : CameraSettingsModel::kGroups)
        camera.insert(camera.end(), group.begin(), group.end());
    camera.insert(camera.end(), CameraSettingsModel::kEdits.begin(),
                  CameraSettingsModel::kEdits.end());
    EXPECT_EQ(Missing(CameraSettingsDialog::kTemplate, camera), std::vector<int>{});
    EXPECT_EQ(Missing(C::kTemplate,
                      {IDOK, IDCANCEL, C::kThreshSlider, C::kThreshEdit, C::kMitteSlider,
                       C::kMitteEdit, C::kBackgroundList, C::kForegroundList, C::kMiddleList}),
              std::vector<int>{});
    EXPECT_EQ(Missing(InfoDialog::kTemplate, {IDOK, InfoBox::kVersionId, InfoDialog::kProductId}),
              std::vector<int>{});
}

TEST(QmResources, AcceleratorTable130IsTheOneTheWindowLogicUses) {
    const HACCEL table = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(130));
    ASSERT_NE(table, nullptr);
    std::vector<ACCEL> entries(static_cast<std::size_t>(CopyAcceleratorTableW(table, nullptr, 0)));
    CopyAcceleratorTableW(table, entries.data(), static_cast<int>(entries.size()));
    using Entry = std::tuple<int, int, int>;  // key, modifiers, command
    std::vector<Entry> loaded;
    for (const ACCEL& a : entries) {
        EXPECT_TRUE(a.fVirt & FVIRTKEY) << a.cmd;
        loaded.emplace_back(a.key,
                            ((a.fVirt & FSHIFT) ? kModShift : 0) |
                                ((a.fVirt & FCONTROL) ? kModControl : 0) |
                                ((a.fVirt & FALT) ? kModAlt : 0),
                            a.cmd);
    }
    std::vector<Entry> logic;
    for (const Accelerator& a : qm::kViewerAccelerators)
        logic.emplace_back(a.key, a.modifiers, a.command);
    EXPECT_EQ(loaded, logic);
}

TEST(QmResources, StringTableHoldsTheTextsTheProgramUsesAndIconsAndVersionAreThere) {
    for (int id = 32700; id < 32900; ++id) {
        wchar_t text[256];
        const int n = LoadStringW(GetModuleHandleW(nullptr), static_cast<UINT>(id), text, 256);
        EXPECT_EQ(Narrow({text, static_cast<std::size_t>(n)}), qm::ResourceString(id)) << id;
    }
    const HMODULE self = GetModuleHandleW(nullptr);
    EXPECT_NE(FindResourceW(self, L"VIEWICON", MAKEINTRESOURCEW(14)), nullptr);  // RT_GROUP_ICON
    EXPECT_NE(FindResourceW(self, MAKEINTRESOURCEW(2), MAKEINTRESOURCEW(14)), nullptr);
    EXPECT_NE(FindResourceW(self, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16)), nullptr);  // version
}

}  // namespace
}  // namespace qm71::win32
