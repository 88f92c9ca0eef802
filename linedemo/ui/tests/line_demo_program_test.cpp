#include "linedemo/ui/line_demo_program.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "linedemo/ui/panel/line_control_panel_dialog.h"
#include "platform/qt/controls.h"
#include "testing/qt_test_application.h"
#include "testing/recording_operator.h"

namespace qm71 {
namespace {

[[maybe_unused]] ::testing::Environment* const kQtApplication =
    ::testing::AddGlobalTestEnvironment(new testing::QtTestApplication);

// QMDEMO on the unthrottled simulated line camera: it acquires only while its
// window has the keyboard focus, takes the colour, zoom, live, trigger and
// capture keys, and the panel's "&Programmende" writes lcam71.ini.
TEST(LineDemoProgram, AcquiresWithTheFocusTakesKeysAndEndsThroughThePanel) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    qputenv("QM71_CONFIG_DIR", dir.path().toUtf8());
    qputenv("QM71_DEVICE", "sim");
    qputenv("QM71_SIM", "fps=0");
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());
    testing::RecordingOperator op;
    ManualClock clock;
    LineDemoProgram program(op, clock);
    ASSERT_TRUE(program.Start());
    QWidget* window = program.Window();
    LineImageWindow& logic = program.App().MainWindow();
    auto keys = [&](std::initializer_list<QKeyCombination> list) {
        for (const QKeyCombination k : list)
            QTest::keyClick(window, k.key(), k.keyboardModifiers());
    };

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
    keys({Qt::Key_I | Qt::ControlModifier, Qt::Key_1 | Qt::ControlModifier});
    EXPECT_EQ(std::pair(logic.Settings().colouring.lut, logic.Settings().scale), std::pair(1, 3));
    keys({Qt::Key_F5});
    EXPECT_FALSE(program.IdleRunning());
    keys({Qt::Key_F5, Qt::Key_T | Qt::AltModifier});
    EXPECT_TRUE(logic.Trigger());
    const int triggered = logic.CycleCounter();
    ASSERT_TRUE(QTest::qWaitFor([&] { return logic.CycleCounter() > triggered + 1; }));
    // Ctrl+W: the next numbered capture in the working directory.
    keys({Qt::Key_W | Qt::ControlModifier, Qt::Key_W | Qt::ControlModifier});
    EXPECT_EQ(std::filesystem::file_size(dir.filePath("00000002.bmp").toStdString()), 3201078u);

    QTimer::singleShot(0, [] {  // F1: the information box closes with "Ok"
        auto* ok = Control<QAbstractButton>(QApplication::activeModalWidget(), 1);
        ASSERT_NE(ok, nullptr);
        EXPECT_EQ(ok->text(), "Ok");
        ok->click();
    });
    keys({Qt::Key_F1});
    // The panel opens with the right button showing the settings; a click on
    // "SW-Trigger" comes back as 32813 with the mark unchanged, and
    // "&Programmende" ends the program.
    const auto panel = [&](int id, auto check) {
        QTimer::singleShot(0, [id, check] {
            auto* d = dynamic_cast<LineControlPanelDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            Control<QAbstractButton>(d, id)->click();
            check(*d);
        });
        QTest::mouseClick(window, Qt::RightButton, {}, {20, 20});
    };
    panel(LineControlPanelDialog::kSoftwareTrigger, [](LineControlPanelDialog& d) {
        QStringList pressed;
        for (QAbstractButton* b : d.findChildren<QAbstractButton*>())
            if (b->isChecked()) pressed << b->text();
        pressed.sort();
        EXPECT_EQ(pressed, QStringList({"&Invers", "1:&1", "SW-Trigger"}));
        EXPECT_EQ(Control<QLineEdit>(&d, LineControlPanelDialog::kImageSize)->text(), "5000*640");
    });
    EXPECT_FALSE(logic.Trigger());
    panel(LineControlPanelDialog::kEnd, [](auto&) {});
    EXPECT_TRUE(program.App().Ended());
    std::stringstream text;
    text << std::ifstream(dir.filePath("lcam71.ini").toStdString()).rdbuf();
    std::string keysWritten;
    for (std::string line; std::getline(text, line);)
        if (const auto eq = line.find('='); eq != std::string::npos)
            keysWritten += line.substr(0, eq) + ' ';
    EXPECT_EQ(keysWritten, "ZEILE SPALTE X Y B H LUT BASIS SCALE THRESH MITTE VG MG BG TRIG ");
    EXPECT_NE(text.str().find("\nLUT=1\n"), std::string::npos);
    EXPECT_NE(text.str().find("\nTRIG=0\n"), std::string::npos);
    EXPECT_TRUE(op.messages.empty());
    QDir::setCurrent(before);
}

}  // namespace
}  // namespace qm71
