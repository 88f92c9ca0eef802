#include "sample/ui/sample_program.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QImage>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <optional>
#include <tuple>

#include "platform/qt/qt_operator.h"
#include "resources/sample/commands.h"
#include "sample/ui/about_box.h"
#include "sample/ui/size_dialog.h"
#include "testing/camsim.h"
#include "testing/qt_test_application.h"
#include "testing/recording_operator.h"

namespace qm71::sample {
namespace {

// The whole program on the simulated card, COM2 absent: the camera faults go
// to the recording operator and the program goes on. F1 (DIB order) shows the
// frame upright, F3 (IMG order) the same picture upside down.
TEST(SampleProgram, GrabKeysDrawTheFrameUprightAndUpsideDown) {
    ::setenv("QM71_DEVICE", "sim", 1);
    ::setenv("QM71_SIM", "fps=0", 1);
    ::setenv("QM71_COM2", "/nonexistent/qm71-com2", 1);
    testing::RecordingOperator op;
    SampleProgram program(op, SystemClock());
    ASSERT_TRUE(program.Start());
    SampleWindow& window = *program.Window();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("KameraInit"));  // stopped at the open
    EXPECT_FALSE(op.messages.empty());
    EXPECT_EQ(window.frameGeometry().size(), QSize(400, 100));  // menu and all

    EXPECT_FALSE(testing::ShowsAPicture(*window.centralWidget()));  // black
    QTest::keyClick(&window, Qt::Key_F1);
    EXPECT_TRUE(testing::ShowsAPicture(*window.centralWidget()));
    const QImage upright = window.centralWidget()->grab().toImage();
    EXPECT_EQ(upright.size(), QSize(512, 256));
    EXPECT_EQ(window.centralWidget()->size(), QSize(512, 256));
    // The simulated card's picture moves through a cycle of 16 frames, one
    // frame a grab: the 16th grab after F1 sees the same picture again.
    for (int i = 0; i < 16; ++i) QTest::keyClick(&window, Qt::Key_F3);
    const QImage upsideDown = window.centralWidget()->grab().toImage();
    ASSERT_EQ(upsideDown.size(), upright.size());

    EXPECT_EQ(upsideDown, upright.mirrored(false, true));
    EXPECT_NE(upsideDown, upright);
}

// A termination request ends the program at once with status 0, whatever it
// waits for: a camera that does not answer during the start-up, the box
// that says COM2 cannot be opened, the about box, which no close request ends.
TEST(SampleProgram, ATerminationRequestEndsItWhereverItWaits) {
    using namespace std::chrono_literals;
    ::setenv("QM71_DEVICE", "sim", 1);
    ::setenv("QM71_SIM", "fps=0", 1);
    enum class Wait { SilentCamera, OpenCommBox, AboutBox };
    using Options = std::vector<std::string>;
    for (const Wait wait : {Wait::SilentCamera, Wait::OpenCommBox, Wait::AboutBox}) {
        SCOPED_TRACE(static_cast<int>(wait));
        ::setenv("QM71_COM2", "/nonexistent/qm71-com2", 1);
        std::optional<testing::Camsim> camsim;  // sets QM71_COM2 to itself
        if (wait == Wait::SilentCamera) camsim.emplace("COM2", Options{"--sample", "--silent"});
        testing::RecordingOperator recorder;  // only the box case shows boxes
        QtOperator boxes(QStringLiteral("QM71SAMPLE"));
        SampleProgram program(wait == Wait::OpenCommBox ? static_cast<Operator&>(boxes) : recorder,
                              SystemClock());
        const auto start = std::chrono::steady_clock::now();
        QTimer::singleShot(300ms, [] { std::raise(SIGTERM); });
        ASSERT_TRUE(program.Start());
        if (wait == Wait::AboutBox) QTimer::singleShot(0, [&] { program.Command(ID_ABOUT); });
        const QObject guard;  // a program that would not end is given up on
        QTimer::singleShot(3s, &guard, [] { QCoreApplication::exit(1); });
        EXPECT_EQ(QApplication::exec(), 0);
        EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
    }
}

// The dialogs' controls reach their models: the size dialog's radios and
// check box at once, its fields on OK; the about box ends only through "Ok".
TEST(SampleDialogs, ControlsReachTheirModels) {
    SampleState state;
    SizeDialog size(state);
    size.Button(IDC_AVERAGING_FIRST + 4)->click();
    size.Button(IDC_CONTRAST)->click();
    EXPECT_TRUE(size.Button(IDC_AVERAGING_FIRST + 4)->isChecked());
    size.SetField(IDC_WIDTH, QStringLiteral("640"));
    EXPECT_EQ(state.frameWidth, 256u);
    size.Button(1)->click();
    EXPECT_EQ(std::tuple(state.averagingIndex, state.contrast, state.frameWidth),
              std::tuple(4u, 1u, 640u));

    AboutBox about;
    about.show();
    QTest::keyClick(&about, Qt::Key_Escape);
    EXPECT_TRUE(about.isVisible());
    about.findChild<QPushButton*>()->click();
    EXPECT_EQ(std::pair(about.isVisible(), about.result()), std::pair(false, 1));
}

}  // namespace
}  // namespace qm71::sample
