#include "viewer/camera/camera_settings_model.h"

#include <gtest/gtest.h>

#include <functional>

#include "testing/recording_operator.h"
#include "testing/scripted_line.h"

namespace qm71 {
namespace {

using Strings = std::vector<std::string>;
using M = CameraSettingsModel;

struct Rig {
    testing::ScriptedLine line;
    testing::RecordingOperator op;
    CameraPort port{line, op};
    M model{port, op};

    Rig() {
        line.replies = {{"IDN?\r", "CAM-2 V1.0\r"}, {"SHE?\r", "SHE FC\r"}, {"MDE?\r", "MDE CS\r"},
                        {"EXE?\r", "EXE 150\r"},    {"TRM?\r", "TRM P\r"},  {"BKE?\r", "BKE 100\r"},
                        {"STP?\r", "STP N\r"},      {"DEF?\r", "DEF OF\r"}, {"GAE?\r", "GAE 12\r"}};
    }
};

// What the camera says goes into the controls; what the controls hold goes
// back: a group without a checked button sends nothing, "Factory settings"
// ignores its edit, an edit that is no number reads as 0, and -1 asks.
TEST(CameraSettingsModel, ShowsWhatTheCameraSaysAndSendsWhatTheControlsHold) {
    Rig r;
    ASSERT_EQ(r.model.Open(), std::nullopt);
    EXPECT_EQ(r.model.Title(), "Kameraeinstellungen: CAM-2 V1.0");
    EXPECT_EQ(r.model.Shown(),
              (M::Controls{{1057, 1061, 1063, 1068, 1071, 1073}, {"150", "12", "100"}}));

    Rig f;
    f.line.replies["BKE?\r"] = "BKF\r";
    f.line.failWrites = {{"IDN?\r", 0}, {"MDE?\r", 0}, {"GAE?\r", 0}};
    ASSERT_EQ(f.model.Open(), std::nullopt);
    EXPECT_EQ(f.model.Title(), std::nullopt);  // the template's caption stays
    EXPECT_EQ(f.model.Shown(),
              (M::Controls{{0, 1061, 1063, 1067, 1071, 1073}, {"150", "-1", "0"}}));
    EXPECT_EQ(f.op.messages, Strings(2, "COMx Write Error!"));
    f.line.failWrites.clear();
    f.line.writes.clear();
    M::Controls c = f.model.Shown();
    c.text = {"-1", "abc", "777"};
    EXPECT_EQ(f.model.Ok(c), 1);
    EXPECT_EQ(f.line.writes, (Strings{"SHE FC\r", "EXE?\r", "TRM P\r", "BKF\r", "STP N\r",
                                      "DEF OF\r", "GAE 0\r"}));
}

// Every way out: the result, what is sent on the way (after opening), what
// is reported, a closed port and no wait cursor left.
TEST(CameraSettingsModel, EveryWayOutHasItsResultAndFreesThePort) {
    const Strings sent{"SHE FC\r",  "MDE CS\r", "EXE 150\r", "TRM P\r",
                       "BKE 100\r", "STP N\r",  "DEF OF\r",  "GAE 12\r"};
    Strings trigger = sent, save = sent;
    trigger[1] = "MDE TR\r";
    save.push_back("SAV\r");
    const auto none = [](Rig&) {};
    const auto noPort = [](Rig& r) { r.line.missingPorts = {"COM1", "COM2"}; };
    const auto silent = [](Rig& r) { r.line.replies.clear(), r.line.otherReply = ""; };
    const auto inTrigger = [](M& m) {
        M::Controls c = m.Shown();
        c.checked[M::kMode] = 1056;
        return m.Ok(c);
    };
    const struct {
        const char* what;
        std::function<void(Rig&)> setUp;
        std::function<int(M&)> act;  // null: the dialog never opens
        int result;
        Strings sent, messages;
    } cases[] = {
        {"ok", none, [](M& m) { return m.Ok(m.Shown()); }, 1, sent, {}},
        {"trigger", none, inTrigger, 2, trigger, {}},
        {"save", none, [](M& m) { return m.Save(m.Shown()); }, 4, save, {}},
        {"reset", none, [](M& m) { return m.Reset(); }, 3, {"RST\r"}, {}},
        {"cancel", none, [](M& m) { return m.Cancel(); }, 2, {}, {}},
        {"no port", noPort, nullptr, 2, {}, {"COM1/COM2 not opened!"}},
        {"silent", silent, nullptr, 2, {"IDN?\r"}, {"Die Kamera an COM1 antwortet nicht."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Rig r;
        c.setUp(r);
        const std::optional<int> opened = r.model.Open();
        if (c.act) {
            ASSERT_EQ(opened, std::nullopt);
            r.line.writes.clear();
            EXPECT_EQ(c.act(r.model), c.result);
        } else {
            EXPECT_EQ(opened, c.result);
        }
        EXPECT_EQ(r.line.writes, c.sent);
        EXPECT_EQ(r.op.messages, c.messages);
        EXPECT_FALSE(r.port.IsOpen());
        EXPECT_EQ(r.op.waitDepth, 0);
    }
}

}  // namespace
}  // namespace qm71
