#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <vector>

#include "common/win32/colours_dialog.h"
#include "common/win32/info_dialog.h"
#include "common/win32/text.h"
#include "resources/qm/commands.h"
#include "resources/qm/control_panel_ids.h"
#include "resources/qm/strings.h"
#include "testing/win32/resources.h"
#include "viewer/camera/camera_settings_model.h"
#include "viewer/win32/camera_settings_dialog.h"
#include "viewer/win32/control_panel_dialog.h"

namespace qm71::win32 {
namespace {

// The ids among `ids` that template `id` has no control for; {-1} when the
// template cannot be made at all.
std::vector<int> Missing(int id, const std::vector<int>& ids) {
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    return testing::MissingControls(MAKEINTRESOURCEW(id), ids);
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
    const auto loaded = testing::LoadedAccelerators(MAKEINTRESOURCEW(130));
    ASSERT_FALSE(loaded.empty());
    EXPECT_EQ(loaded, testing::Entries(qm::kViewerAccelerators));
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
