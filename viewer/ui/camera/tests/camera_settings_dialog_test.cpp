#include "viewer/ui/camera/camera_settings_dialog.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <map>
#include <string>
#include <vector>

#include "platform/qt/controls.h"
#include "platform/testing/recording_operator.h"
#include "viewer/camera/tests/scripted_line.h"
#include "platform/qt/test_application.h"

namespace qm71 {
namespace {

using testing::RecordingOperator;
using testing::ScriptedLine;
using Strings = std::vector<std::string>;

[[maybe_unused]] ::testing::Environment* const kQtApplication =
    ::testing::AddGlobalTestEnvironment(new QtTestApplication);

const Strings kQueries{"IDN?\r", "SHE?\r", "MDE?\r", "EXE?\r", "TRM?\r",
                       "BKE?\r", "STP?\r", "DEF?\r", "GAE?\r"};

class CameraDialogTest : public ::testing::Test {
  protected:
    ScriptedLine line;
    RecordingOperator op;
    CameraPort port{line, op, SerialTimeouts{1, 1, 1, 1, 1}};
    // What the simulated camera answers; every set is acknowledged.
    std::map<std::string, std::string> answers{
        {"IDN?\r", "CAM-2 V1.0\r"}, {"SHE?\r", "SHE FC\r"}, {"MDE?\r", "MDE CS\r"},
        {"EXE?\r", "EXE 150\r"},    {"TRM?\r", "TRM P\r"},  {"BKE?\r", "BKE 100\r"},
        {"STP?\r", "STP N\r"},      {"DEF?\r", "DEF OF\r"}, {"GAE?\r", "GAE 12\r"},
    };

    void SetUp() override {
        line.responder = [this](const std::string& command) {
            const auto it = answers.find(command);
            return it == answers.end() ? std::string("\r") : it->second;
        };
    }

    static bool Checked(const QWidget& dialog, int id) {
        return Control<QAbstractButton>(&dialog, id)->isChecked();
    }
    static void Click(QWidget& dialog, int id) { Control<QAbstractButton>(&dialog, id)->click(); }
    static QString EditText(const QWidget& dialog, int id) {
        return Control<QLineEdit>(&dialog, id)->text();
    }
    static void SetEdit(QWidget& dialog, int id, const char* text) {
        Control<QLineEdit>(&dialog, id)->setText(QString::fromLatin1(text));
    }
    // Writes since initialisation finished.
    Strings SentAfterInit() const {
        return Strings(line.writes.begin() + static_cast<std::ptrdiff_t>(kQueries.size()),
                       line.writes.end());
    }
};

TEST_F(CameraDialogTest, TemplateHasEveryControlAndIndependentGroups) {
    CameraSettingsDialog dialog(port, op);
    EXPECT_EQ(dialog.windowTitle(), "Kameraeinstellungen");
    for (int id : {1, 2, 3, 4, 1056, 1057, 1058, 1059, 1060, 1061, 1063, 1064, 1065, 1067, 1068,
                   1069, 1071, 1072, 1073}) {
        EXPECT_NE(Control<QAbstractButton>(&dialog, id), nullptr) << id;
    }
    for (int id : {1062, 1066, 1070}) EXPECT_NE(Control<QLineEdit>(&dialog, id), nullptr) << id;

    // Strobe (1069/1071) and black level (1067/1068) sit side by side by id
    // but are separate groups; each group is exclusive within itself.
    Click(dialog, 1071);
    Click(dialog, 1068);
    Click(dialog, 1059);
    Click(dialog, 1064);
    Click(dialog, 1058);
    Click(dialog, 1072);
    for (int id : {1071, 1068, 1059, 1064, 1058, 1072}) EXPECT_TRUE(Checked(dialog, id)) << id;
    Click(dialog, 1069);
    EXPECT_FALSE(Checked(dialog, 1071));
    EXPECT_TRUE(Checked(dialog, 1068));
}

TEST_F(CameraDialogTest, InitialisationShowsTheCameraSettings) {
    CameraSettingsDialog dialog(port, op);
    ASSERT_TRUE(dialog.InitialiseFromCamera());
    EXPECT_EQ(line.writes, kQueries);
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

TEST_F(CameraDialogTest, OkSendsTheEightSettingsInOrderWithLimits) {
    CameraSettingsDialog dialog(port, op);
    ASSERT_TRUE(dialog.InitialiseFromCamera());
    SetEdit(dialog, 1062, "300");
    SetEdit(dialog, 1070, "5000");
    SetEdit(dialog, 1066, "25");
    Click(dialog, 1);
    EXPECT_EQ(SentAfterInit(), (Strings{"SHE FC\r", "MDE CS\r", "EXE 300\r", "TRM P\r",
                                        "BKE 2047\r", "STP N\r", "DEF OF\r", "GAE 24\r"}));
    EXPECT_EQ(dialog.result(), 1);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(line.closeCalls, 1);
    EXPECT_EQ(op.waitDepth, 0);
}

TEST_F(CameraDialogTest, EditsAndChoicesDecideWhatOkSends) {
    struct Case {
        const char* exposure;
        const char* gain;
        const char* black;
        int blackButton;
        Strings expected;  // exposure, black level, gain commands
    };
    const std::vector<Case> cases{
        {"abc", "abc", "-5000", 1068, {"EXE 0\r", "BKE -2048\r", "GAE 0\r"}},
        {"-1", " 7x", "777", 1067, {"EXE?\r", "BKF\r", "GAE 6\r"}},
        {"-5", "-3", "1000000", 1068, {"EXE -5\r", "BKE?\r", "GAE 0\r"}},
    };
    for (const Case& c : cases) {
        ScriptedLine l;
        l.responder = line.responder;
        CameraPort p(l, op, SerialTimeouts{1, 1, 1, 1, 1});
        CameraSettingsDialog dialog(p, op);
        ASSERT_TRUE(dialog.InitialiseFromCamera());
        SetEdit(dialog, 1062, c.exposure);
        SetEdit(dialog, 1066, c.gain);
        SetEdit(dialog, 1070, c.black);
        Click(dialog, c.blackButton);
        l.writes.clear();
        dialog.accept();
        ASSERT_EQ(l.writes.size(), 8u);
        EXPECT_EQ((Strings{l.writes[2], l.writes[4], l.writes[7]}), c.expected) << c.exposure;
    }
}

TEST_F(CameraDialogTest, ButtonsAndTheirResults) {
    struct Case {
        const char* name;
        std::function<void(CameraSettingsDialog&)> act;
        int result;
        Strings sent;
    };
    const Strings eight{"SHE FC\r",  "MDE CS\r", "EXE 150\r", "TRM P\r",
                        "BKE 100\r", "STP N\r",  "DEF OF\r",  "GAE 12\r"};
    Strings eightThenSave = eight;
    eightThenSave.push_back("SAV\r");
    Strings triggerEight = eight;
    triggerEight[1] = "MDE TR\r";
    const std::vector<Case> cases{
        {"trigger", [](auto& d) { Click(d, 1056), Click(d, 1); }, 2, triggerEight},
        {"save", [](auto& d) { Click(d, 4); }, 4, eightThenSave},
        {"save_in_trigger_mode", [](auto& d) { Click(d, 1056), Click(d, 4); }, 4,
         [&] {
             Strings s = triggerEight;
             s.push_back("SAV\r");
             return s;
         }()},
        {"reset", [](auto& d) { Click(d, 3); }, 3, {"RST\r"}},
        {"cancel", [](auto& d) { Click(d, 2); }, 2, {}},
        {"escape", [](auto& d) { d.reject(); }, 2, {}},
    };
    for (const Case& c : cases) {
        ScriptedLine l;
        l.responder = line.responder;
        CameraPort p(l, op, SerialTimeouts{1, 1, 1, 1, 1});
        CameraSettingsDialog dialog(p, op);
        ASSERT_TRUE(dialog.InitialiseFromCamera()) << c.name;
        l.writes.clear();
        c.act(dialog);
        EXPECT_EQ(dialog.result(), c.result) << c.name;
        EXPECT_EQ(l.writes, c.sent) << c.name;
        EXPECT_EQ(l.closeCalls, 1) << c.name;
        EXPECT_FALSE(p.IsOpen()) << c.name;
    }
    EXPECT_TRUE(op.messages.empty());
}

TEST_F(CameraDialogTest, ExecRunsModallyAndClosesThePortOnce) {
    struct Case {
        const char* name;
        std::function<void(CameraSettingsDialog&)> act;
        int result;
    };
    const std::vector<Case> cases{
        {"enter", [](auto& d) { QTest::keyClick(&d, Qt::Key_Return); }, 1},
        {"escape", [](auto& d) { QTest::keyClick(&d, Qt::Key_Escape); }, 2},
        {"close_box", [](auto& d) { d.close(); }, 2},
        {"reset", [](auto& d) { Click(d, 3); }, 3},
    };
    for (const Case& c : cases) {
        ScriptedLine l;
        l.responder = line.responder;
        CameraPort p(l, op, SerialTimeouts{1, 1, 1, 1, 1});
        {
            CameraSettingsDialog dialog(p, op);
            bool ran = false;
            QTimer::singleShot(0, &dialog, [&] {
                ran = dialog.isVisible();
                c.act(dialog);
            });
            EXPECT_EQ(dialog.exec(), c.result) << c.name;
            EXPECT_TRUE(ran) << c.name;
            EXPECT_EQ(l.closeCalls, 1) << c.name;
        }
        EXPECT_EQ(l.closeCalls, 1) << c.name;  // the destructor does not close again
    }
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
    ScriptedLine l;
    l.failSetSettings = true;
    CameraPort p(l, op, SerialTimeouts{1, 1, 1, 1, 1});
    CameraSettingsDialog second(p, op);
    EXPECT_EQ(second.exec(), 2);
    EXPECT_EQ(l.closeCalls, 1);
    EXPECT_TRUE(l.writes.empty());
}

TEST_F(CameraDialogTest, DestroyingAnOpenDialogClosesThePort) {
    {
        CameraSettingsDialog dialog(port, op);
        ASSERT_TRUE(dialog.InitialiseFromCamera());
    }
    EXPECT_EQ(line.closeCalls, 1);
    EXPECT_FALSE(port.IsOpen());
}

}  // namespace
}  // namespace qm71
