#include "sample/ui/sample_program.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QImage>
#include <QTest>
#include <cstdlib>

#include "resources/sample/commands.h"
#include "sample/ui/size_dialog.h"
#include "testing/qt_test_application.h"
#include "testing/recording_operator.h"

namespace qm71::sample {
namespace {

[[maybe_unused]] ::testing::Environment* const kQtApplication =
    ::testing::AddGlobalTestEnvironment(new testing::QtTestApplication);

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

// The radios and the check box act through the model when clicked, also if
// the dialog is then cancelled; the fields only on OK.
TEST(SizeDialog, ChoicesActAtOnceFieldsOnlyOnOk) {
    SampleState state;
    state.averagingIndex = 2;
    state.grabMode = ID_GRAB_FIRST;
    {
        SizeDialog dialog(state);
        EXPECT_EQ(state.grabMode, 0);
        dialog.Button(IDC_AVERAGING_FIRST + 4)->click();
        dialog.Button(IDC_CONTRAST)->click();
        EXPECT_TRUE(dialog.Button(IDC_AVERAGING_FIRST + 4)->isChecked());
        EXPECT_FALSE(dialog.Button(IDC_AVERAGING_FIRST + 2)->isChecked());
        dialog.SetField(IDC_WIDTH, QStringLiteral("640"));
        dialog.Button(2)->click();
    }
    EXPECT_EQ(state.averagingIndex, 4u);
    EXPECT_EQ(state.contrast, 1u);
    EXPECT_EQ(state.frameWidth, 256u);
    {
        SizeDialog dialog(state);
        EXPECT_TRUE(dialog.Button(IDC_CONTRAST)->isChecked());
        dialog.SetField(IDC_WIDTH, QStringLiteral("640"));
        dialog.SetField(IDC_HEIGHT, QStringLiteral("240"));
        dialog.Button(1)->click();
    }
    EXPECT_EQ(state.frameWidth, 640u);
    EXPECT_EQ(state.frameHeight, 240u);
}

}  // namespace
}  // namespace qm71::sample
