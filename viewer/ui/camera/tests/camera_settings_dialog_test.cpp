#include "viewer/ui/camera/camera_settings_dialog.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "platform/qt/controls.h"
#include "platform/qt/serial_wait_box.h"
#include "testing/qt_test_application.h"
#include "testing/recording_operator.h"
#include "testing/scripted_line.h"

namespace qm71 {
namespace {

using Strings = std::vector<std::string>;
using Action = std::function<void(CameraSettingsDialog&)>;

[[maybe_unused]] ::testing::Environment* const kQtApplication =
    ::testing::AddGlobalTestEnvironment(new testing::QtTestApplication);

// A camera behind a scripted line, with its real time-outs (in simulated
// time) and the program's waiting box.
struct Rig {
    testing::ScriptedLine line;
    testing::RecordingOperator op;
    SerialWaitBox box{QStringLiteral("Warte auf die Kamera an %1 …")};
    CameraPort port{line, op, kCameraTimeouts, &box};
    CameraSettingsDialog dialog{port, op};

    Rig() {
        line.replies = {{"IDN?\r", "CAM-2 V1.0\r"}, {"SHE?\r", "SHE FC\r"}, {"MDE?\r", "MDE CS\r"},
                        {"EXE?\r", "EXE 150\r"},    {"TRM?\r", "TRM P\r"},  {"BKE?\r", "BKE 100\r"},
                        {"STP?\r", "STP N\r"},      {"DEF?\r", "DEF OF\r"}, {"GAE?\r", "GAE 12\r"}};
    }
};

bool Checked(const QWidget& dialog, int id) {
    return Control<QAbstractButton>(&dialog, id)->isChecked();
}
void Click(QWidget& dialog, int id) {
    Control<QAbstractButton>(&dialog, id)->click();
}
QString Edit(const QWidget& dialog, int id, const char* text = nullptr) {
    auto* edit = Control<QLineEdit>(&dialog, id);
    if (text) edit->setText(QString::fromLatin1(text));
    return edit->text();
}

const Strings kSent{"SHE FC\r",  "MDE CS\r", "EXE 150\r", "TRM P\r",
                    "BKE 100\r", "STP N\r",  "DEF OF\r",  "GAE 12\r"};

TEST(CameraDialog, ShowsWhatTheCameraSaysAndSendsWhatTheControlsSay) {
    Rig r;
    ASSERT_TRUE(r.dialog.InitialiseFromCamera());
    EXPECT_EQ(r.dialog.windowTitle(), "Kameraeinstellungen: CAM-2 V1.0");
    for (int id : {1061, 1057, 1063, 1068, 1071, 1073}) EXPECT_TRUE(Checked(r.dialog, id)) << id;
    EXPECT_EQ(Edit(r.dialog, 1062) + Edit(r.dialog, 1070) + Edit(r.dialog, 1066), "15010012");

    // The mode group without a selection is left alone; "Factory settings"
    // ignores the edit; an edit that is no number reads as 0.
    Rig f;
    f.line.replies["BKE?\r"] = "BKF\r";
    f.line.failWrites = {{"IDN?\r", 0}, {"MDE?\r", 0}, {"GAE?\r", 0}};
    ASSERT_TRUE(f.dialog.InitialiseFromCamera());
    EXPECT_EQ(f.dialog.windowTitle(), "Kameraeinstellungen");  // identity not sent
    EXPECT_TRUE(Checked(f.dialog, 1067));
    for (int id : {1056, 1057, 1058}) EXPECT_FALSE(Checked(f.dialog, id)) << id;
    EXPECT_EQ(Edit(f.dialog, 1070) + Edit(f.dialog, 1066), "0-1");
    EXPECT_EQ(f.op.messages, Strings(2, "COMx Write Error!"));
    f.line.failWrites.clear();
    f.line.writes.clear();
    Edit(f.dialog, 1062, "abc");
    Edit(f.dialog, 1070, "777");
    Edit(f.dialog, 1066, " 7x");
    f.dialog.accept();
    EXPECT_EQ(f.line.writes, (Strings{"SHE FC\r", "EXE 0\r", "TRM P\r", "BKF\r", "STP N\r",
                                      "DEF OF\r", "GAE 6\r"}));
    EXPECT_EQ(f.dialog.result(), 1);
}

// Every way out: the result, the commands sent once the dialog is up (or,
// where it never comes up, at all), what is reported, and a free port. The
// real time-outs pass in simulated time; where the camera is silent the
// waiting box comes up, and where no message is due it gets its Abbrechen.
TEST(CameraDialog, EveryWayOutHasItsResultAndFreesThePort) {
    Strings trigger = kSent, save = kSent;
    trigger[1] = "MDE TR\r";
    save.push_back("SAV\r");
    struct Case {
        const char* what;
        std::function<void(Rig&)> setUp;
        Action act;  // once the dialog is up; null: it must not come up
        int result;
        Strings sent, messages;
    };
    const auto none = [](Rig&) {};
    const auto noPort = [](Rig& r) { r.line.missingPorts = {"COM1", "COM2"}; };
    const auto getFails = [](Rig& r) { r.line.failGetSettings = true; };
    const auto setFails = [](Rig& r) { r.line.failSetSettings = true; };
    const auto silent = [](Rig& r) { r.line.replies.clear(), r.line.otherReply = ""; };
    const auto silentAfterIdentity = [](Rig& r) { r.line.replies["SHE?\r"] = ""; };
    const auto key = [](Qt::Key k) { return [k](auto& d) { QTest::keyClick(&d, k); }; };
    const std::vector<Case> cases{
        {"enter", none, key(Qt::Key_Return), 1, kSent, {}},
        {"trigger", none, [](auto& d) { Click(d, 1056), Click(d, 1); }, 2, trigger, {}},
        {"save", none, [](auto& d) { Click(d, 4); }, 4, save, {}},
        {"reset", none, [](auto& d) { Click(d, 3); }, 3, {"RST\r"}, {}},
        {"escape", none, key(Qt::Key_Escape), 2, {}, {}},
        {"no port", noPort, nullptr, 2, {}, {"COM1/COM2 not opened!"}},
        {"get settings", getFails, nullptr, 2, {}, {"COMx GetCommState Error!"}},
        {"set settings", setFails, nullptr, 2, {}, {"COMx SetCommState Error!"}},
        {"silent", silent, nullptr, 2, {"IDN?\r"}, {"Die Kamera an COM1 antwortet nicht."}},
        {"abbrechen", silentAfterIdentity, nullptr, 2, {"IDN?\r", "SHE?\r"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Rig r;
        c.setUp(r);
        bool boxShown = false;
        std::function<void()> look = [&] {
            if (r.dialog.isVisible()) {
                r.line.writes.clear();
                return c.act ? c.act(r.dialog) : r.dialog.done(99);
            }
            if (QDialog* box = r.box.Box(); box && box->isVisible()) {
                boxShown = true;
                if (c.messages.empty()) return box->findChild<QPushButton*>()->click();
            }
            QTimer::singleShot(0, &r.dialog, look);
        };
        QTimer::singleShot(0, &r.dialog, look);
        EXPECT_EQ(r.dialog.exec(), c.result);
        EXPECT_EQ(boxShown, !c.act && !c.sent.empty());
        EXPECT_EQ(r.box.Box(), nullptr);
        EXPECT_EQ(r.line.writes, c.sent);
        EXPECT_EQ(r.op.messages, c.messages);
        EXPECT_EQ(static_cast<std::size_t>(r.line.closeCalls), r.line.opened.size());
        EXPECT_EQ(r.op.waitDepth, 0);
    }
}

}  // namespace
}  // namespace qm71
