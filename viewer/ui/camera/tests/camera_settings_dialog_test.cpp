#include "viewer/ui/camera/camera_settings_dialog.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "platform/qt/controls.h"
#include "testing/qt_test_application.h"
#include "testing/recording_operator.h"
#include "testing/scripted_line.h"

namespace qm71 {
namespace {

using testing::RecordingOperator;
using testing::ScriptedLine;
using Strings = std::vector<std::string>;
using Action = std::function<void(CameraSettingsDialog&)>;

[[maybe_unused]] ::testing::Environment* const kQtApplication =
    ::testing::AddGlobalTestEnvironment(new testing::QtTestApplication);

// A camera behind a scripted line; it answers the queries and acknowledges every set.
struct Rig {
    std::map<std::string, std::string> answers{
        {"IDN?\r", "CAM-2 V1.0\r"}, {"SHE?\r", "SHE FC\r"}, {"MDE?\r", "MDE CS\r"},
        {"EXE?\r", "EXE 150\r"},    {"TRM?\r", "TRM P\r"},  {"BKE?\r", "BKE 100\r"},
        {"STP?\r", "STP N\r"},      {"DEF?\r", "DEF OF\r"}, {"GAE?\r", "GAE 12\r"},
    };
    ScriptedLine line;
    RecordingOperator op;
    CameraPort port{line, op, SerialTimeouts{1, 1, 1, 1, 1}};

    Rig() {
        line.responder = [this](const std::string& command) {
            const auto it = answers.find(command);
            return it == answers.end() ? std::string("\r") : it->second;
        };
    }
};

class CameraDialogTest : public ::testing::Test, public Rig {};

bool Checked(const QWidget& dialog, int id) {
    return Control<QAbstractButton>(&dialog, id)->isChecked();
}
void Click(QWidget& dialog, int id) {
    Control<QAbstractButton>(&dialog, id)->click();
}
QString EditText(const QWidget& dialog, int id) {
    return Control<QLineEdit>(&dialog, id)->text();
}
void SetEdit(QWidget& dialog, int id, const char* text) {
    Control<QLineEdit>(&dialog, id)->setText(QString::fromLatin1(text));
}

TEST_F(CameraDialogTest, TemplateCaptionAndIndependentGroups) {
    CameraSettingsDialog dialog(port, op);
    EXPECT_EQ(dialog.windowTitle(), "Kameraeinstellungen");
    for (int id : {1058, 1059, 1060, 1064, 1065, 1068, 1069, 1071, 1072}) {
        ASSERT_NE(Control<QAbstractButton>(&dialog, id), nullptr) << id;
    }
    // Strobe (1069/1071) and black level (1067/1068) sit side by side by id
    // but are separate groups; each group is exclusive within itself.
    for (int id : {1071, 1068, 1059, 1064, 1058, 1072}) Click(dialog, id);
    for (int id : {1071, 1068, 1059, 1064, 1058, 1072}) EXPECT_TRUE(Checked(dialog, id)) << id;
    Click(dialog, 1069);
    EXPECT_FALSE(Checked(dialog, 1071));
    EXPECT_TRUE(Checked(dialog, 1068));
}

TEST_F(CameraDialogTest, InitialisationShowsTheCameraSettings) {
    CameraSettingsDialog dialog(port, op);
    ASSERT_TRUE(dialog.InitialiseFromCamera());
    EXPECT_EQ(line.writes, (Strings{"IDN?\r", "SHE?\r", "MDE?\r", "EXE?\r", "TRM?\r", "BKE?\r",
                                    "STP?\r", "DEF?\r", "GAE?\r"}));
    EXPECT_EQ(dialog.windowTitle(), "Kameraeinstellungen: CAM-2 V1.0");
    for (int id : {1061, 1057, 1063, 1068, 1071, 1073}) EXPECT_TRUE(Checked(dialog, id)) << id;
    EXPECT_EQ(EditText(dialog, 1062), "150");
    EXPECT_EQ(EditText(dialog, 1070), "100");
    EXPECT_EQ(EditText(dialog, 1066), "12");
    EXPECT_TRUE(op.messages.empty());
    EXPECT_EQ(op.waitDepth, 0);
    EXPECT_TRUE(port.IsOpen());
}

TEST_F(CameraDialogTest, FactoryBlackLevelAndFailedQueries) {
    answers["BKE?\r"] = "BKF\r";
    line.failWrites = {{"IDN?\r", 0}, {"MDE?\r", 0}, {"GAE?\r", 0}};
    CameraSettingsDialog dialog(port, op);
    ASSERT_TRUE(dialog.InitialiseFromCamera());
    EXPECT_EQ(dialog.windowTitle(), "Kameraeinstellungen");  // identity not sent: template caption
    EXPECT_TRUE(Checked(dialog, 1067));
    EXPECT_EQ(EditText(dialog, 1070), "0");
    for (int id : {1056, 1057, 1058}) EXPECT_FALSE(Checked(dialog, id)) << id;
    EXPECT_EQ(EditText(dialog, 1066), "-1");
    EXPECT_EQ(op.messages, Strings(2, "COMx Write Error!"));

    // OK leaves the unselected mode group alone and, with gain -1, asks instead of setting.
    line.failWrites.clear();
    line.writes.clear();
    dialog.accept();
    EXPECT_EQ(line.writes, (Strings{"SHE FC\r", "EXE 150\r", "TRM P\r", "BKF\r", "STP N\r",
                                    "DEF OF\r", "GAE?\r"}));
    EXPECT_EQ(dialog.result(), 1);
}

TEST_F(CameraDialogTest, EditsAndChoicesDecideWhatOkSends) {
    struct Case {
        const char *exposure, *gain, *black;
        int blackButton;
        Strings expected;  // exposure, black level, gain commands
    };
    const std::vector<Case> cases{
        {"300", "25", "5000", 1068, {"EXE 300\r", "BKE 2047\r", "GAE 24\r"}},
        {"abc", "abc", "-5000", 1068, {"EXE 0\r", "BKE -2048\r", "GAE 0\r"}},
        {"-1", " 7x", "777", 1067, {"EXE?\r", "BKF\r", "GAE 6\r"}},
        {"-5", "-3", "1000000", 1068, {"EXE -5\r", "BKE?\r", "GAE 0\r"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.exposure);
        Rig r;
        CameraSettingsDialog dialog(r.port, r.op);
        ASSERT_TRUE(dialog.InitialiseFromCamera());
        SetEdit(dialog, 1062, c.exposure);
        SetEdit(dialog, 1066, c.gain);
        SetEdit(dialog, 1070, c.black);
        Click(dialog, c.blackButton);
        r.line.writes.clear();
        dialog.accept();
        ASSERT_EQ(r.line.writes.size(), 8u);
        EXPECT_EQ((Strings{r.line.writes[2], r.line.writes[4], r.line.writes[7]}), c.expected);
    }
}

TEST_F(CameraDialogTest, ButtonsSendTheirCommandsEndWithTheirResultAndCloseOnce) {
    const Strings eight{"SHE FC\r",  "MDE CS\r", "EXE 150\r", "TRM P\r",
                        "BKE 100\r", "STP N\r",  "DEF OF\r",  "GAE 12\r"};
    Strings trigger = eight;
    trigger[1] = "MDE TR\r";
    const auto then = [](Strings s, const char* last) { return s.push_back(last), s; };
    const std::vector<std::tuple<const char*, Action, int, Strings>> cases{
        {"ok", [](auto& d) { Click(d, 1); }, 1, eight},
        {"trigger", [](auto& d) { Click(d, 1056), Click(d, 1); }, 2, trigger},
        {"save", [](auto& d) { Click(d, 4); }, 4, then(eight, "SAV\r")},
        {"save_in_trigger_mode", [](auto& d) { Click(d, 1056), Click(d, 4); }, 4,
         then(trigger, "SAV\r")},
        {"reset", [](auto& d) { Click(d, 3); }, 3, {"RST\r"}},
        {"cancel", [](auto& d) { Click(d, 2); }, 2, {}},
        {"escape", [](auto& d) { d.reject(); }, 2, {}},
    };
    for (const auto& [name, act, result, sent] : cases) {
        SCOPED_TRACE(name);
        Rig r;
        CameraSettingsDialog dialog(r.port, r.op);
        ASSERT_TRUE(dialog.InitialiseFromCamera());
        r.line.writes.clear();
        act(dialog);
        EXPECT_EQ(dialog.result(), result);
        EXPECT_EQ(r.line.writes, sent);
        EXPECT_EQ(r.line.closeCalls, 1);
        EXPECT_FALSE(r.port.IsOpen());
        EXPECT_TRUE(r.op.messages.empty());
        EXPECT_EQ(r.op.waitDepth, 0);
    }
}

TEST_F(CameraDialogTest, ExecRunsModallyAndClosesThePortOnce) {
    const std::vector<std::tuple<const char*, Action, int>> cases{
        {"enter", [](auto& d) { QTest::keyClick(&d, Qt::Key_Return); }, 1},
        {"escape", [](auto& d) { QTest::keyClick(&d, Qt::Key_Escape); }, 2},
        {"close_box", [](auto& d) { d.close(); }, 2},
        {"reset", [](auto& d) { Click(d, 3); }, 3},
    };
    for (const auto& [name, act, result] : cases) {
        SCOPED_TRACE(name);
        Rig r;
        {
            CameraSettingsDialog dialog(r.port, r.op);
            bool ran = false;
            QTimer::singleShot(0, &dialog, [&] {
                ran = dialog.isVisible();
                act(dialog);
            });
            EXPECT_EQ(dialog.exec(), result);
            EXPECT_TRUE(ran);
            EXPECT_EQ(r.line.closeCalls, 1);
        }
        EXPECT_EQ(r.line.closeCalls, 1);  // the destructor does not close again
    }
    // Destroying a dialog that holds the port closes it.
    {
        CameraSettingsDialog dialog(port, op);
        ASSERT_TRUE(dialog.InitialiseFromCamera());
    }
    EXPECT_EQ(line.closeCalls, 1);
    EXPECT_FALSE(port.IsOpen());
}

TEST_F(CameraDialogTest, PortFailureEndsAtOnceWithCancel) {
    line.missingPorts = {"COM1", "COM2"};
    CameraSettingsDialog dialog(port, op);
    // Would end a modal run that must not have started.
    QTimer::singleShot(0, &dialog, [&] { dialog.done(99); });
    EXPECT_EQ(dialog.exec(), 2);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(op.messages, Strings{"COM1/COM2 not opened!"});
    EXPECT_TRUE(line.writes.empty());
    EXPECT_EQ(op.waitDepth, 0);

    // A settings failure leaves the port open; the dialog still closes it.
    Rig r;
    r.line.failSetSettings = true;
    CameraSettingsDialog second(r.port, r.op);
    EXPECT_EQ(second.exec(), 2);
    EXPECT_EQ(r.line.closeCalls, 1);
    EXPECT_TRUE(r.line.writes.empty());
}

}  // namespace
}  // namespace qm71
