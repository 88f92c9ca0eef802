#include "linedemo/ui/line_demo_program.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDir>
#include <QLineEdit>
#include <filesystem>

#include "linedemo/ui/panel/line_control_panel_dialog.h"
#include "platform/qt/controls.h"
#include "testing/qt_test_application.h"
#include "testing/recording_operator.h"
#include "testing/temp_folder.h"

namespace qm71 {
namespace {

// QMDEMO on the unthrottled simulated line camera: it acquires only while its
// window has the keyboard focus, takes the colour, zoom, live, trigger and
// capture keys, and the panel's "&Programmende" writes lcam71.ini.
TEST(LineDemoProgram, AcquiresWithTheFocusTakesKeysAndEndsThroughThePanel) {
    testing::TempFolder dir;
    qputenv("QM71_CONFIG_DIR", dir.Path().c_str());
    qputenv("QM71_DEVICE", "sim");
    qputenv("QM71_SIM", "fps=0");
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.Path().c_str());
    testing::RecordingOperator op;
    ManualClock clock;
    LineDemoProgram program(op, clock);
    ASSERT_TRUE(program.Start());
    QWidget* window = program.Window();
    LineImageWindow& logic = program.App().MainWindow();

    // It took the focus when shown; the count grows and lines are drawn.
    ASSERT_TRUE(QTest::qWaitFor([&] { return logic.CycleCounter() >= 3; }));
    EXPECT_TRUE(window->hasFocus());
    EXPECT_TRUE(testing::ShowsAPicture(*window));
    // Another window takes the focus: acquisition stops and stays stopped.
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->hasFocus(); }));
    EXPECT_FALSE(program.IdleRunning());
    const int paused = logic.CycleCounter();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return logic.CycleCounter() > paused; }));

    // Colour and zoom keys; F5 pauses and resumes; Alt+T switches the trigger.
    testing::Type(window, {Qt::Key_I | Qt::ControlModifier, Qt::Key_1 | Qt::ControlModifier});
    EXPECT_EQ(std::pair(logic.Settings().colouring.lut, logic.Settings().scale), std::pair(1, 3));
    testing::Type(window, {Qt::Key_F5});
    EXPECT_FALSE(program.IdleRunning());
    testing::Type(window, {Qt::Key_F5, Qt::Key_T | Qt::AltModifier});
    EXPECT_TRUE(logic.Trigger());
    const int triggered = logic.CycleCounter();
    ASSERT_TRUE(QTest::qWaitFor([&] { return logic.CycleCounter() > triggered + 1; }));
    // Ctrl+W: the next numbered capture in the working directory.
    testing::Type(window, {Qt::Key_W | Qt::ControlModifier, Qt::Key_W | Qt::ControlModifier});
    EXPECT_EQ(std::filesystem::file_size(dir / "00000002.bmp"), 3201078u);

    testing::OnModal<QDialog>([](QDialog& d) {  // F1: the information box closes with "Ok"
        auto* ok = Control<QAbstractButton>(&d, 1);
        EXPECT_EQ(ok->text(), "Ok");
        ok->click();
    });
    testing::Type(window, {Qt::Key_F1});
    // The panel opens with the right button showing the settings; a click on
    // "SW-Trigger" comes back as 32813 with the mark unchanged, and
    // "&Programmende" ends the program.
    using D = LineControlPanelDialog;
    for (const int id : {D::kSoftwareTrigger, D::kEnd}) {
        testing::OnModal<D>([id](D& d) {
            Control<QAbstractButton>(&d, id)->click();
            if (id == D::kEnd) return;
            QStringList pressed;
            for (QAbstractButton* b : d.findChildren<QAbstractButton*>())
                if (b->isChecked()) pressed << b->text();
            pressed.sort();
            EXPECT_EQ(pressed, QStringList({"&Invers", "1:&1", "SW-Trigger"}));
            EXPECT_EQ(Control<QLineEdit>(&d, D::kImageSize)->text(), "5000*640");
        });
        QTest::mouseClick(window, Qt::RightButton, {}, {20, 20});
        EXPECT_FALSE(logic.Trigger());
    }
    EXPECT_TRUE(program.App().Ended());
    const std::string file = dir.Get("lcam71.ini");
    EXPECT_NE(file.find("\nLUT=1\r\n"), std::string::npos) << file;
    EXPECT_NE(file.find("\nTRIG=0\r\n"), std::string::npos);
    EXPECT_TRUE(op.messages.empty());
    QDir::setCurrent(before);
}

}  // namespace
}  // namespace qm71
