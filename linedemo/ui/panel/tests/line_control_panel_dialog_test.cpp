#include "linedemo/ui/panel/line_control_panel_dialog.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <algorithm>
#include <vector>

#include "platform/qt/controls.h"
#include "testing/qt_test_application.h"

namespace qm71 {
namespace {

[[maybe_unused]] ::testing::Environment* const kQtApplication =
    ::testing::AddGlobalTestEnvironment(new testing::QtTestApplication);

using D = LineControlPanelDialog;

TEST(LineControlPanelDialogTest, ShowsTheStateAndClosesWithTheIdOfWhatWasPressed) {
    const LinePanelState state{.lut = 2, .scale = 3, .trigger = true, .width = 5000, .height = 640};
    {
        D d(state);
        d.open();
        EXPECT_EQ(d.frameGeometry().center(), d.screen()->availableGeometry().center());
        EXPECT_FALSE(d.windowFlags() & Qt::WindowCloseButtonHint);
        std::vector<int> pressed;
        for (QAbstractButton* b : d.findChildren<QAbstractButton*>())
            if (b->isChecked()) pressed.push_back(b->property("controlId").toInt());
        std::ranges::sort(pressed);
        EXPECT_EQ(pressed, (std::vector<int>{D::kThreshold, D::kScale1To1, D::kSoftwareTrigger}));
        EXPECT_EQ(Control<QLineEdit>(&d, D::kImageSize)->text(), "5000*640");
    }
    // A press of each control, or a key (negative: Escape, Enter), and the result.
    const std::pair<int, int> presses[] = {
        {D::kOk, 1},
        {D::kEnd, 1006},
        {D::kNormal, 1011},
        {D::kInverse, 1012},
        {D::kThreshold, 1013},
        {D::kOptions, 1014},
        {D::kScale1To8, 1030},
        {D::kScale1To4, 1031},
        {D::kScale1To2, 1032},
        {D::kScale1To1, 1033},
        {D::kScale2To1, 1034},
        {D::kScale4To1, 1035},
        {D::kSoftwareTrigger, 32813},
        {-Qt::Key_Escape, 2},
        {-Qt::Key_Return, 1},
    };
    for (const auto& [press, result] : presses) {
        D d(state);
        d.open();
        if (press > 0) {
            Control<QAbstractButton>(&d, press)->click();
        } else {
            QTest::keyClick(Control<QAbstractButton>(&d, D::kScale1To8), Qt::Key(-press));
        }
        EXPECT_EQ(std::pair(d.isVisible(), d.result()), std::pair(false, result)) << press;
        EXPECT_TRUE(Control<QAbstractButton>(&d, D::kSoftwareTrigger)->isChecked()) << press;
    }
}

}  // namespace
}  // namespace qm71
