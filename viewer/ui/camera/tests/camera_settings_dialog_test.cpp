#include "viewer/ui/camera/camera_settings_dialog.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "platform/qt/controls.h"
#include "platform/qt/serial_wait_box.h"
#include "testing/qt_test_application.h"
#include "testing/recording_operator.h"
#include "testing/scripted_line.h"

namespace qm71 {
namespace {

// The widgets show the model and hand the user's settings back to it; while
// the camera keeps a read waiting, the program's waiting box offers Abbrechen.
TEST(CameraDialog, ControlsCarryTheSettingsBothWaysAndTheWaitCanBeGivenUp) {
    for (const bool silent : {false, true}) {
        testing::ScriptedLine line;
        line.replies = {{"IDN?\r", "CAM-2\r"}, {"MDE?\r", "MDE CS\r"}, {"EXE?\r", "EXE 150\r"}};
        if (silent) line.replies["SHE?\r"] = "";
        testing::RecordingOperator op;
        SerialWaitBox box{QStringLiteral("Warte auf die Kamera an %1 …")};
        CameraPort port{line, op, kCameraTimeouts, &box};
        CameraSettingsDialog dialog{port, op};
        bool waited = false;
        std::function<void()> look = [&] {
            if (dialog.isVisible()) {
                EXPECT_EQ(dialog.windowTitle(), "Kameraeinstellungen: CAM-2");
                EXPECT_TRUE(Control<QAbstractButton>(&dialog, 1057)->isChecked());
                EXPECT_EQ(Control<QLineEdit>(&dialog, 1062)->text(), "150");
                Control<QAbstractButton>(&dialog, 1056)->click();
                Control<QLineEdit>(&dialog, 1066)->setText("25");
                line.writes.clear();
                return Control<QAbstractButton>(&dialog, 1)->click();
            }
            if (QDialog* wait = box.Box(); wait && wait->isVisible()) {
                waited = true;
                return wait->findChild<QPushButton*>()->click();
            }
            QTimer::singleShot(0, &dialog, look);
        };
        QTimer::singleShot(0, &dialog, look);
        EXPECT_EQ(dialog.exec(), 2);  // Trigger mode, or the wait given up
        EXPECT_EQ(waited, silent);
        EXPECT_EQ(box.Box(), nullptr);
        EXPECT_FALSE(port.IsOpen());
        if (!silent) {
            ASSERT_EQ(line.writes.size(), 8u);
            EXPECT_EQ(line.writes[1], "MDE TR\r");
            EXPECT_EQ(line.writes[7], "GAE 24\r");
        }
    }
}

}  // namespace
}  // namespace qm71
