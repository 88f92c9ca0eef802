#include "viewer/ui/viewer_program.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSlider>
#include <algorithm>
#include <span>

#include "common/ui/colours_dialog.h"
#include "common/ui/info_dialog.h"
#include "platform/qt/accelerators.h"
#include "platform/qt/controls.h"
#include "resources/qm/commands.h"
#include "resources/qm/program_info.h"
#include "testing/fakes.h"
#include "testing/qt_test_application.h"
#include "testing/temp_folder.h"
#include "viewer/ui/panel/control_panel_dialog.h"

namespace qm71 {
namespace {

struct ViewerProgramTest : ::testing::Test {
    void SetUp() override {
        qputenv("QM71_CONFIG_DIR", dir.Path().c_str());
        qputenv("QM71_DEVICE", "sim");
        qputenv("QM71_SIM", "fps=0");
    }
    void Keys(std::initializer_list<QKeyCombination> keys) { testing::Type(window, keys); }
    // Opens the control panel with the right button and presses these buttons;
    // for a negative id it gives that button the focus and presses Enter.
    void Panel(std::vector<int> ids) {
        testing::OnModal<ControlPanelDialog>([ids](ControlPanelDialog& p) {
            for (int id : ids) {
                auto* button = Control<QAbstractButton>(&p, std::abs(id));
                button->setFocus();
                id > 0 ? button->click() : QTest::keyClick(button, Qt::Key_Return);
            }
            if (p.isVisible()) p.reject();
        });
        QTest::mouseClick(window, Qt::RightButton, {}, {20, 20});
    }

    testing::TempFolder dir;
    testing::RecordingOperator op;
    ManualClock clock;
    QWidget* window = nullptr;
};

// A settings file with every value at an end of int: the program starts with
// the defaults of the keys it cannot use, draws frames, takes every key at its
// limit, typed extremes and the control panel's choices, and writes the
// settings back. In the sanitizer build nothing may overflow on the way.
TEST_F(ViewerProgramTest, LiveViewerTakesExtremeSettingsKeysAndPanelChoices) {
    dir.Put("qm71.ini",
            "[CONFIG]\nX=2147483647\nY=-2147483648\nB=2147483647\nH=-2147483648\n"
            "LUT=2\nSCALE=-1\nTHRESH=-2147483648\nMITTE=2147483647\nVG=-2147483648\n"
            "MG=2147483647\nBG=2147483647\n");
    ViewerProgram program(op, clock);
    ASSERT_TRUE(program.Start());
    window = program.Window();
    ImageWindow& logic = *program.App().MainWindow();
    const ColouringSettings& c = logic.Settings().colouring;
    ASSERT_TRUE(QTest::qWaitFor([&] { return program.FramesDrawn() >= 3; }));
    Keys({Qt::Key_N | Qt::ControlModifier});  // the file's colouring is one colour
    EXPECT_TRUE(testing::ShowsAPicture(*window));
    Keys({Qt::Key_Down, Qt::Key_PageDown, Qt::Key_Up, Qt::Key_PageUp,
          Qt::Key_H | Qt::ControlModifier, Qt::Key_V | (Qt::ControlModifier | Qt::ShiftModifier)});
    EXPECT_EQ(std::tuple(c.lut, c.thresh, c.bg, c.vg), std::tuple(2, INT_MIN + 17, 1, 254));
    // The colours dialog opens centred and its controls reach the model while
    // the loop rests; Escape and Enter end it through the model.
    using D = ColoursDialog;
    for (const bool ok : {false, true}) {
        testing::OnModal<D>([&](D& d) {
            EXPECT_FALSE(program.IdleRunning());
            EXPECT_EQ(d.frameGeometry().center(), d.screen()->availableGeometry().center());
            Control<QComboBox>(&d, D::kBackgroundList)->setCurrentIndex(19);
            EXPECT_EQ(c.bg, 255);
            Control<QSlider>(&d, D::kThreshSlider)->setValue(200);
            EXPECT_EQ(Control<QLineEdit>(&d, D::kThreshEdit)->text(), "200");
            Control<QLineEdit>(&d, D::kMitteEdit)->setText("300");
            EXPECT_EQ(Control<QSlider>(&d, D::kMitteSlider)->value(), 255);
            QTest::keyClick(&d, ok ? Qt::Key_Return : Qt::Key_Escape);
        });
        Keys({Qt::Key_N | Qt::ControlModifier, Qt::Key_S | Qt::ControlModifier});
        EXPECT_EQ(std::tuple(c.lut, c.bg, c.thresh, c.mitte),
                  std::tuple(ok ? 2 : 0, ok ? 255 : 1, 200, 300));
    }
    EXPECT_TRUE(program.IdleRunning());
    Keys({Qt::Key_F5, Qt::Key_Up, Qt::Key_PageUp, Qt::Key_PageDown});
    EXPECT_FALSE(program.IdleRunning());
    Keys({Qt::Key_4 | Qt::ControlModifier, Qt::Key_Z | Qt::ControlModifier});
    EXPECT_EQ(logic.Settings().scale, 3);
    // Frozen, the panel's trigger grabs frames while it stays open; its
    // colouring and scale buttons close it and the window carries them out.
    // Enter on a focused button is the panel's, not the button's.
    const long long frozen = program.FramesDrawn();
    const std::span<std::byte> pixels(logic.Image()->Pixels(), DisplayImage::kPixelSize);
    std::ranges::fill(pixels, std::byte{0});
    Panel({1054, 1054, 1003});
    EXPECT_NE(std::ranges::count(pixels, std::byte{0}), std::ssize(pixels));
    EXPECT_EQ(std::tuple(program.FramesDrawn(), c.lut), std::tuple(frozen, kInverse));
    Panel({1030});
    Panel({-1006});
    testing::OnModal<InfoDialog>([](InfoDialog& d) {  // F1: the version line of this build
        const InfoBox box({qm::kIcon, qm::kProduct, qm::kInfoOk});
        EXPECT_EQ(Control<QLabel>(&d, InfoBox::kVersionId)->text().toStdString(), box.version);
        EXPECT_EQ(Control<QAbstractButton>(&d, 1)->text(), "OK");
        d.accept();
    });
    EXPECT_FALSE(program.App().Ended());
    Keys({Qt::Key_F1, Qt::Key_F5});
    EXPECT_TRUE(program.IdleRunning());
    Panel({1006});
    EXPECT_TRUE(program.App().Ended());
    EXPECT_NE(dir.Get("qm71.ini")
                  .find("\nB=768\nH=514\nLUT=1\nSCALE=0\nTHRESH=201\nMITTE=300\n"
                        "VG=254\nMG=8\nBG=255\n"),
              std::string::npos);
    EXPECT_TRUE(op.messages.empty());
}

TEST_F(ViewerProgramTest, WithoutTheDriverTheLoopSleepsAndTheBlankImageIsColoured) {
    qputenv("QM71_DEVICE", "none");
    ViewerProgram program(op, clock);
    EXPECT_EQ(op.messages, std::vector<std::string>{"Treiber nicht gefunden"});
    ASSERT_TRUE(program.Start());
    window = program.Window();
    EXPECT_EQ(window->grab().toImage().pixel(5, 5), qRgb(0, 0, 0));
    Keys({Qt::Key_I | Qt::ControlModifier, Qt::Key_F5, Qt::Key_F5});
    EXPECT_EQ(window->grab().toImage().pixel(5, 5), qRgb(255, 255, 255));
    EXPECT_FALSE(program.IdleRunning());
}

TEST(Accelerators, DigitsAreTheDigitRowKeysOnEveryLayout) {
    using enum NativeKeys;
    // The key the layout gives, the native scan code and virtual key, what
    // the platform says of them, and the command.
    const std::tuple<int, quint32, quint32, NativeKeys, int> cases[] = {
        {Qt::Key_Ampersand, 10, 0x26, kXkb, qm::ID_SCALE_1},  // French layout, digit row
        {Qt::Key_ParenLeft, 14, 0x28, kXkb, qm::ID_SCALE_0},
        {Qt::Key_1, 87, 0xffb1, kXkb, 0},         // keypad 1
        {Qt::Key_4, 0, 0, kXkb, qm::ID_SCALE_3},  // synthetic: the key decides
        {Qt::Key_T, 28, 't', kXkb, qm::ID_LUT_THRESHOLD},
        {Qt::Key_Ampersand, 2, '1', kWindows, qm::ID_SCALE_1},
    };
    for (const auto& [key, scan, vk, native, command] : cases) {
        const QKeyEvent e(QEvent::KeyPress, key, Qt::ControlModifier, scan, vk, 0);
        const KeyPress k = KeyOf(e, native);
        EXPECT_EQ(FindAccelerator(qm::kViewerAccelerators, k.key, k.modifiers), command) << scan;
    }
}

}  // namespace
}  // namespace qm71
