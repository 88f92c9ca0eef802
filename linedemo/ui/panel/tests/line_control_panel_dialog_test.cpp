#include "linedemo/ui/panel/line_control_panel_dialog.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <QScreen>
#include <QTest>

#include "platform/qt/controls.h"
#include "testing/qt_test_application.h"

namespace qm71 {
namespace {

[[maybe_unused]] ::testing::Environment* const kQtApplication =
    ::testing::AddGlobalTestEnvironment(new testing::QtTestApplication);

using D = LineControlPanelDialog;

// Opened with threshold colouring, 1:1 and the trigger on, the panel shows
// them; each control closes it with its id (Escape with 2, Enter with 1), and
// SW-Trigger leaves its mark for the main window to change.
TEST(LineControlPanelDialogTest, ShowsTheStateAndClosesWithTheIdOfWhatWasPressed) {
    const LinePanelState state{.lut = 2, .scale = 3, .trigger = true, .width = 5000, .height = 640};
    for (const int press : {0, 1, 1006, 1011, 1012, 1013, 1014, 1030, 1031, 1032, 1033, 1034, 1035,
                            32813, -Qt::Key_Escape, -Qt::Key_Return}) {
        D d(state);
        d.open();
        if (press == 0) {
            EXPECT_EQ(d.frameGeometry().center(), d.screen()->availableGeometry().center());
            EXPECT_FALSE(d.windowFlags() & Qt::WindowCloseButtonHint);
            QStringList pressed;
            for (QAbstractButton* b : d.findChildren<QAbstractButton*>())
                if (b->isChecked()) pressed << b->text();
            pressed.sort();
            EXPECT_EQ(pressed, QStringList({"1:&1", "SW-Trigger", "Sch&welle"}));
            EXPECT_EQ(Control<QLineEdit>(&d, D::kImageSize)->text(), "5000*640");
            continue;
        }
        if (press > 0) {
            Control<QAbstractButton>(&d, press)->click();
        } else {
            QTest::keyClick(Control<QAbstractButton>(&d, D::kScale1To8), Qt::Key(-press));
        }
        const int result = press == -Qt::Key_Escape ? 2 : press == -Qt::Key_Return ? 1 : press;
        EXPECT_EQ(std::pair(d.isVisible(), d.result()), std::pair(false, result)) << press;
        EXPECT_TRUE(Control<QAbstractButton>(&d, D::kSoftwareTrigger)->isChecked()) << press;
    }
}

}  // namespace
}  // namespace qm71
