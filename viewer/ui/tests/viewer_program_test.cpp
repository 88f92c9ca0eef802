// The whole viewer on the offscreen platform with the simulated card: frames
// arrive and are drawn, keys change colouring, scale and live mode, and the
// settings file is written when the window closes.
#include "viewer/ui/viewer_program.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <sstream>

#include "common/ui/colours_dialog.h"
#include "platform/qt/controls.h"
#include "testing/fakes.h"
#include "testing/qt_test_application.h"
#include "viewer/ui/panel/control_panel_dialog.h"

namespace qm71 {
namespace {

[[maybe_unused]] ::testing::Environment* const kQtApplication =
    ::testing::AddGlobalTestEnvironment(new testing::QtTestApplication);

class ViewerProgramTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        qputenv("QM71_CONFIG_DIR", dir_.path().toUtf8());
        qputenv("QM71_DEVICE", "sim");
        qputenv("QM71_SIM", "fps=0");
    }
    void TearDown() override {
        qunsetenv("QM71_CONFIG_DIR");
        qunsetenv("QM71_DEVICE");
        qunsetenv("QM71_SIM");
    }

    // Runs the event loop until `done` or a few seconds have passed.
    template <typename Done>
    bool RunUntil(Done done) {
        QElapsedTimer timer;
        timer.start();
        while (!done() && timer.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return done();
    }

    // A number of event-loop turns, enough for several idle cycles.
    static void Spin(int turns = 50) {
        for (int i = 0; i < turns; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }

    std::string SettingsText() const {
        std::ifstream in(QDir(dir_.path()).filePath("qm71.ini").toStdString());
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    static QImage Shown(ImageWindowWidget* w) { return w->grab().toImage(); }

    static bool Uniform(const QImage& image) {
        const QRgb first = image.pixel(0, 0);
        for (int y = 0; y < image.height(); y += 7)
            for (int x = 0; x < image.width(); x += 7)
                if (image.pixel(x, y) != first) return false;
        return true;
    }

    // Opens the control panel with the right mouse button and presses the
    // buttons with these ids in it, one after the other.
    static void PanelClicks(ImageWindowWidget* window, std::vector<int> ids) {
        QTimer::singleShot(0, [ids] {
            auto* panel = qobject_cast<ControlPanelDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(panel, nullptr);
            for (int id : ids) {
                auto* button = Control<QAbstractButton>(panel, id);
                ASSERT_NE(button, nullptr) << id;
                button->click();
            }
            if (panel->isVisible()) panel->reject();
        });
        QTest::mouseClick(window, Qt::RightButton, {}, QPoint(20, 20));
    }

    QTemporaryDir dir_;
    testing::RecordingOperator op_;
    ManualClock clock_;
};

TEST_F(ViewerProgramTest, ShowsLiveFramesAndFollowsTheKeys) {
    ViewerProgram program(op_, clock_);
    ASSERT_TRUE(program.Start());
    ImageWindowWidget* window = program.Window();
    ASSERT_TRUE(RunUntil([&] { return program.FramesDrawn() >= 3; }));
    EXPECT_TRUE(op_.messages.empty());
    EXPECT_EQ(window->windowTitle(), "PXA1/PXB1");
    EXPECT_FALSE(Uniform(Shown(window)));

    ImageWindow& logic = *program.App().MainWindow();
    QTest::keyClick(window, Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(logic.Settings().colouring.lut, kInverse);
    EXPECT_EQ(logic.Image()->ColourTable()[10], (RgbQuad{245, 245, 245, 0}));
    QTest::keyClick(window, Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(logic.Settings().colouring.lut, kThreshold);
    QTest::keyClick(window, Qt::Key_Up);
    EXPECT_EQ(logic.Settings().colouring.thresh, 129);
    QTest::keyClick(window, Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(logic.Settings().colouring.bg, 1);

    QTest::keyClick(window, Qt::Key_1, Qt::ControlModifier);
    EXPECT_EQ(logic.Settings().scale, 1);
    QTest::keyClick(window, Qt::Key_5, Qt::ControlModifier);
    EXPECT_EQ(logic.Settings().scale, 0);
    ASSERT_TRUE(RunUntil([&] { return window->width() <= 768 && window->height() <= 514; }));

    // F5 freezes: no frame is grabbed until it is pressed again.
    QTest::keyClick(window, Qt::Key_F5);
    EXPECT_FALSE(program.App().LiveMode());
    const long long frozen = program.FramesDrawn();
    Spin();
    EXPECT_EQ(program.FramesDrawn(), frozen);
    QTest::keyClick(window, Qt::Key_F5);
    EXPECT_TRUE(RunUntil([&] { return program.FramesDrawn() > frozen; }));

    window->close();
    EXPECT_TRUE(program.App().Ended());
    const std::string text = SettingsText();
    std::string keys;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) keys += line.substr(0, line.find('=')) + " ";
    EXPECT_EQ(keys, "[CONFIG] X Y B H LUT SCALE THRESH MITTE VG MG BG ");
    EXPECT_NE(text.find("LUT=2\n"), std::string::npos);
    EXPECT_NE(text.find("THRESH=129\n"), std::string::npos);
    EXPECT_NE(text.find("SCALE=0\n"), std::string::npos);
    EXPECT_NE(text.find("BG=1\n"), std::string::npos);
}

TEST_F(ViewerProgramTest, ControlPanelChangesColouringAndScaleAndTriggersAFrame) {
    ViewerProgram program(op_, clock_);
    ASSERT_TRUE(program.Start());
    ImageWindow& logic = *program.App().MainWindow();
    PanelClicks(program.Window(), {ControlPanelDialog::kThreshold});
    EXPECT_EQ(logic.Settings().colouring.lut, kThreshold);
    PanelClicks(program.Window(), {ControlPanelDialog::kScale3});
    EXPECT_EQ(logic.Settings().scale, 3);

    // Frozen, with a blank image: the trigger button grabs one frame into it
    // and the panel stays open for the next.
    QTest::keyClick(program.Window(), Qt::Key_F5);
    const long long frozen = program.FramesDrawn();
    std::byte* pixels = logic.Image()->Pixels();
    std::fill(pixels, pixels + DisplayImage::kPixelSize, std::byte{0});
    PanelClicks(program.Window(), {ControlPanelDialog::kTrigger, ControlPanelDialog::kTrigger});
    EXPECT_NE(std::count(pixels, pixels + DisplayImage::kPixelSize, std::byte{0}),
              static_cast<std::ptrdiff_t>(DisplayImage::kPixelSize));
    EXPECT_TRUE(op_.messages.empty());
    EXPECT_EQ(program.FramesDrawn(), frozen);

    PanelClicks(program.Window(), {ControlPanelDialog::kEnd});
    EXPECT_TRUE(program.App().Ended());
    EXPECT_NE(SettingsText().find("SCALE=3"), std::string::npos);
}

TEST_F(ViewerProgramTest, ColoursDialogOkSwitchesToThresholdAndCancelDoesNot) {
    ViewerProgram program(op_, clock_);
    ASSERT_TRUE(program.Start());
    ImageWindow& logic = *program.App().MainWindow();
    for (const bool ok : {false, true}) {
        QTimer::singleShot(0, [ok] {
            auto* dialog = qobject_cast<ColoursDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            ok ? dialog->accept() : dialog->reject();
        });
        QTest::keyClick(program.Window(), Qt::Key_S, Qt::ControlModifier);
        EXPECT_EQ(logic.Settings().colouring.lut, ok ? kThreshold : kNormal);
    }
}

TEST_F(ViewerProgramTest, WithoutTheDriverSaysSoAndShowsABlackResponsiveWindow) {
    qputenv("QM71_DEVICE", "none");
    ViewerProgram program(op_, clock_);
    ASSERT_EQ(op_.messages.size(), 1u);  // before any window exists
    EXPECT_EQ(op_.messages[0], "Treiber nicht gefunden");
    EXPECT_EQ(op_.captions[0], "Fehler");
    ASSERT_TRUE(program.Start());
    Spin();
    EXPECT_EQ(program.FramesDrawn(), 0);
    const QImage shown = Shown(program.Window());
    EXPECT_TRUE(Uniform(shown));
    EXPECT_EQ(shown.pixel(5, 5), qRgb(0, 0, 0));
    QTest::keyClick(program.Window(), Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(Shown(program.Window()).pixel(5, 5), qRgb(255, 255, 255));
}

TEST_F(ViewerProgramTest, StalledCardIsReportedOnceAndTheWindowStaysUsable) {
    qputenv("QM71_SIM", "fps=0,stall-after-rows=1000");
    ViewerProgram program(op_, clock_);
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(RunUntil([&] { return !op_.messages.empty(); }));
    Spin();
    ASSERT_EQ(op_.messages.size(), 1u);
    EXPECT_EQ(op_.messages[0], kCardTimeoutMessage);
    EXPECT_FALSE(program.App().LiveMode());
    QTest::keyClick(program.Window(), Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(program.App().MainWindow()->Settings().colouring.lut, kThreshold);
    program.Window()->close();
    EXPECT_NE(SettingsText().find("LUT=2"), std::string::npos);
}

}  // namespace
}  // namespace qm71
