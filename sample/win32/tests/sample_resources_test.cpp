#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/win32/text.h"
#include "resources/sample/commands.h"
#include "sample/core/about_box_model.h"
#include "sample/core/sample_app.h"
#include "sample/win32/sample_dialogs.h"
#include "testing/win32/resources.h"

namespace qm71::win32 {
namespace {

using namespace sample;
using testing::MissingControls;

TEST(SampleResources, DialogTemplatesHoldEveryControlTheirDialogsBind) {
    std::vector<int> size{IDOK, IDCANCEL, IDC_WIDTH, IDC_HEIGHT, IDC_ILUT, IDC_CONTRAST};
    for (int id = IDC_AVERAGING_FIRST; id <= IDC_AVERAGING_LAST; ++id) size.push_back(id);
    EXPECT_EQ(MissingControls(SizeDialog::kTemplate, size), std::vector<int>{});
    std::vector<int> about{AboutBoxModel::kOkId};
    for (std::size_t i = 0; i < AboutBoxModel::kLines.size(); ++i)
        about.push_back(AboutDialog::kFirstLineId + int(i));
    EXPECT_EQ(MissingControls(AboutDialog::kTemplate, about), std::vector<int>{});
}

// Each command of the menu "QM71" under the text the logic gives it.
TEST(SampleResources, MenuCarriesTheLogicsCommandsAndAcceleratorsAreItsTable) {
    const HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), L"QM71");
    ASSERT_NE(menu, nullptr);
    const auto text = [menu](int id) {
        wchar_t buffer[64]{};
        const int n = GetMenuStringW(menu, UINT(id), buffer, 64, MF_BYCOMMAND);
        return Narrow({buffer, std::size_t(n)});
    };
    for (int id = ID_GRAB_FIRST; id <= ID_GRAB_LAST; ++id)
        EXPECT_EQ(text(id), FindGrabCommand(id)->menuText);
    for (int id = ID_LUT_FIRST; id <= ID_LUT_LAST; ++id)
        EXPECT_EQ(text(id), kLutMenuTexts[id - ID_LUT_FIRST]);
    EXPECT_EQ(text(ID_SIZE), "&Size");
    EXPECT_EQ(text(ID_ABOUT), "?");
    DestroyMenu(menu);

    EXPECT_EQ(testing::LoadedKeyEntries(L"QM71ACC"), testing::KeyEntries(kSampleAccelerators));
}

TEST(SampleResources, IconsAndVersionAreThere) {
    const HMODULE self = GetModuleHandleW(nullptr);
    for (const wchar_t* icon : {L"VIEWICON", L"SHOWICON", LPCWSTR(MAKEINTRESOURCEW(2))})
        EXPECT_NE(FindResourceW(self, icon, MAKEINTRESOURCEW(14)), nullptr);  // RT_GROUP_ICON
    EXPECT_NE(FindResourceW(self, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16)), nullptr);
}

}  // namespace
}  // namespace qm71::win32
