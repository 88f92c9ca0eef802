#include "viewer/camera/camera_port.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "testing/recording_operator.h"
#include "testing/scripted_line.h"
#include "viewer/camera/camera_settings.h"

namespace qm71 {
namespace {

using Strings = std::vector<std::string>;
using Call = std::function<int(CameraPort&)>;

class CameraPortTest : public ::testing::Test {
  protected:
    testing::ScriptedLine line;
    testing::RecordingOperator op;
    testing::RecordingWatcher watcher;
    CameraPort port{line, op, kCameraTimeouts, &watcher};

    void Open() {
        ASSERT_TRUE(port.OpenCameraPort());
        op.messages.clear();
    }
};

Call On(int (CameraPort::*exchange)(int), int argument) {
    return [=](CameraPort& p) { return (p.*exchange)(argument); };
}
const auto Mode = &CameraPort::ExchangeMode;
const auto Shutter = &CameraPort::ExchangeShutter;
const auto Trigger = &CameraPort::ExchangeTriggerPolarity;
const auto Strobe = &CameraPort::ExchangeStrobePolarity;
const auto Defect = &CameraPort::ExchangeDefectConceal;
const auto Exposure = &CameraPort::ExchangeExposure;
const auto Gain = &CameraPort::ExchangeGain;
const auto Black = &CameraPort::ExchangeBlackLevel;
const Call Save = [](CameraPort& p) { return p.SaveToCamera(), 0; };
const Call Reset = [](CameraPort& p) { return p.ResetCamera(), 0; };

TEST_F(CameraPortTest, OpensCom1ElseCom2WithTheCameraLineAndTimeouts) {
    using S = SerialSettings;
    S& odd = line.reportedSettings;
    odd = {115200, 7, S::Parity::Even, S::StopBits::Two, true, true};
    odd.dtr = odd.rts = S::LineControl::Enabled;
    odd.xonChar = 'a';
    Open();
    EXPECT_EQ(line.opened, Strings{"COM1"});
    S wanted;  // 9600 8N1, XON/XOFF 0x11/0x13 both ways, nothing else
    wanted.xonXoffOutput = wanted.xonXoffInput = true;
    EXPECT_EQ(line.settingsSet.at(0), wanted);
    EXPECT_EQ(line.timeoutsSet.at(0), (SerialTimeouts{100, 1000, 1000, 100, 100}));
    port.CloseCameraPort();
    port.CloseCameraPort();
    EXPECT_EQ(line.closeCalls, 1);

    line.missingPorts = {"COM1"};
    Open();
    EXPECT_EQ(line.opened, (Strings{"COM1", "COM2"}));
    port.CloseCameraPort();
    line.missingPorts = {"COM1", "COM2"};
    EXPECT_FALSE(port.OpenCameraPort());
    EXPECT_EQ(op.messages, Strings{"COM1/COM2 not opened!"});
    EXPECT_EQ(op.waitDepthAtMessage.at(0), 1);  // the wait cursor spans the whole run
    EXPECT_EQ(op.waitDepth, 0);

    // Without its time-outs the port still works with its own.
    line.missingPorts.clear();
    line.failSetTimeouts = true;
    EXPECT_TRUE(port.OpenCameraPort());
    EXPECT_EQ(op.messages.back(), "COMx COMMTIMEOUTS Error!");
}

TEST_F(CameraPortTest, EveryFamilySendsParsesAndReports) {
    const struct {
        Call call;
        std::string reply, sent;
        int result;
        std::string message;   // empty: no message
        int failedWrite = -1;  // else the write fails, reporting this many bytes sent
    } cases[] = {
        // Selector queries: one upper-case letter at a fixed offset.
        {On(Mode, 0), "MDE XX\r", "MDE?\r", 1, "Kamera MDE Error!: MDE XX\r"},
        {On(Mode, 0), "mde cd\r", "MDE?\r", 1, "Kamera MDE Error!: mde cd\r"},
        {On(Shutter, 0), "SHE XO\r", "SHE?\r", 2, ""},
        {On(Shutter, 0), "SHE OF\r", "SHE?\r", 1, "2Kamera SHE Error!: F"},
        {On(Shutter, 0), "SHE\r", "SHE?\r", 1, "2Kamera SHE Error!: "},
        {On(Trigger, 0), "TRM X\r", "TRM?\r", 1, "Kamera TR Error!: TRM X\r"},
        {On(Strobe, 0), "STP\r", "STP?\r", 1, "Kamera STP Error!: STP\r"},
        {On(Defect, 0), "DEF O", "DEF?\r", 1, "Kamera DEF Error!: DEF O"},
        // Sets: a bare CR acknowledges, anything else is shown.
        {On(Mode, 2), "ERR\r", "MDE CS\r", 2, "Kamera MDE Error!: ERR\r"},
        {On(Shutter, 2), "E", "SHE OF\r", 2, "Kamera SHE Error!: E"},
        {On(Trigger, 1), "NO\r", "TRM P\r", 1, "Kamera TR Error!: NO\r"},
        {On(Defect, 2), " \r", "DEF OF\r", 2, "Kamera DEF Error!:  \r"},
        {On(Exposure, 70), "?", "EXE 70\r", 70, "Kamera EXE Error!: ?"},
        {On(Gain, 8), "X\r", "GAE 8\r", 8, "Kamera GAIN Error!: X\r"},
        {On(Black, -1000000), "N\r", "BKF\r", -1000000, "Kamera BKF Error!: N\r"},
        {Save, "bKf\r", "SAV\r", 0, ""},
        {Save, "ERR\r", "SAV\r", 0, "Kamera SAV Error!: ERR\r"},
        {Reset, "E\r", "RST\r", 0, "Kamera RST Error!: E\r"},
        // Numbers: as strtol reads them from offset 4 of a reply longer than 4
        // bytes, saturated; the limits of what is sent.
        {On(Exposure, -1), "EXE  -42x\r", "EXE?\r", -42, ""},
        {On(Exposure, -1), "EXE 99999999999\r", "EXE?\r", INT_MAX, ""},
        {On(Gain, -1), "GAE -99999999999", "GAE?\r", INT_MIN, ""},
        {On(Exposure, -1), "EXE\r", "EXE?\r", 200, "Kamera EXE Error!: EXE\r"},
        {On(Exposure, -5), "\r", "EXE -5\r", -5, ""},
        {On(Gain, -1), "\r", "GAE?\r", 200, "Kamera GAIN Error!: \r"},
        {On(Gain, 25), "\r", "GAE 24\r", 24, ""},
        {On(Gain, 7), "\r", "GAE 6\r", 6, ""},
        {On(Black, 5000), "\r", "BKE 2047\r", 2047, ""},
        {On(Black, -5000), "\r", "BKE -2048\r", -2048, ""},
        {On(Black, 1000000), "bkf\r", "BKE?\r", -1000000, ""},
        {On(Black, 1000000), "BK\r", "BKE?\r", -1000000, "Kamera BKE Error!: BK\r"},
        // 32 bytes fill the buffer and are shown whole, what does not fit is
        // dropped; a zero byte ends the reply.
        {On(Mode, 1), std::string(32, 'E') + "MDE CD\r", "MDE TR\r", 1,
         "Kamera MDE Error!: " + std::string(32, 'E')},
        {On(Exposure, -1), std::string("EXE\0 150\r", 9), "EXE?\r", 200, "Kamera EXE Error!: EXE"},
        {On(Gain, 4), std::string("\r\0garbage", 9), "GAE 4\r", 4, ""},
        // A failed write: reported, no read, the argument returned.
        {On(Mode, 0), "", "MDE?\r", 0, "COMx Write Error!", 0},
        {On(Gain, 25), "", "GAE 24\r", 25, "COMx Write Error!", 2},
        {On(Trigger, 0), "", "TRM?\r", 0, "COMx Write Error! (3 Bytes send)", 3},
        {On(Strobe, 2), "", "STP N\r", 2, "COMx Write Error! (0 Bytes send)", 0},
    };
    Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sent + " <- " + c.reply);
        line.writes.clear();
        line.readSizes.clear();
        op.messages.clear();
        line.failWrites.clear();
        if (c.failedWrite >= 0) line.failWrites[c.sent] = static_cast<std::size_t>(c.failedWrite);
        line.otherReply = c.reply;
        line.Arrive("MDE CS\r");  // late: dropped before the command goes out
        EXPECT_EQ(c.call(port), c.result);
        EXPECT_EQ(line.writes, c.failedWrite < 0 ? Strings{c.sent} : Strings{});
        EXPECT_EQ(line.readSizes, std::vector<std::size_t>(c.failedWrite < 0 ? 1 : 0, 32));
        EXPECT_EQ(op.messages, c.message.empty() ? Strings{} : Strings{c.message});
    }
    // The identity says nothing when its write fails; selectors without a
    // text send nothing.
    line.failWrites = {{"IDN?\r", 0}};
    op.messages.clear();
    EXPECT_FALSE(port.QueryIdentity().has_value());
    EXPECT_EQ(port.ExchangeMode(4) + port.ExchangeDefectConceal(-1), 3);
    EXPECT_TRUE(op.messages.empty() && line.readSizes.empty());
}

// A silent camera, or a wait given up, ends the showing: the port is closed,
// the remaining exchanges do nothing, and only silence is reported, once.
TEST_F(CameraPortTest, SilenceAndGivingUpCloseThePortAndSilenceTheRest) {
    const std::vector<std::tuple<const char*, std::function<bool()>, Strings>> cases{
        {"silent", [] { return true; }, {"Die Kamera an COM2 antwortet nicht."}},
        {"abbrechen", [] { return false; }, {}},
        {"dialog closed meanwhile", [this] { return port.CloseCameraPort(), true; }, {}},
    };
    line.missingPorts = {"COM1"};
    for (const auto& [what, keepWaiting, messages] : cases) {
        SCOPED_TRACE(what);
        Open();
        line.writes.clear();
        line.closeCalls = watcher.ended = 0;
        watcher.ports.clear();
        line.replies = {{"IDN?\r", "CAM\r"}};
        line.otherReply = "";
        watcher.keepWaiting = keepWaiting;
        QueryCamera(port);
        EXPECT_EQ(line.writes, (Strings{"IDN?\r", "SHE?\r"}));
        EXPECT_EQ(op.messages, messages);
        EXPECT_TRUE(port.Lost());
        EXPECT_EQ(line.closeCalls, 1);
        // Asked while the read waited (all of 33 s when silent), told once it ended.
        EXPECT_EQ(watcher.ports.size(), messages.empty() ? 1u : 33000u / 25 - 1);
        EXPECT_EQ(watcher.ended, 1);
        port.SaveToCamera();
        EXPECT_EQ(line.writes.size(), 2u);
        EXPECT_EQ(op.messages, messages);
    }
}

TEST_F(CameraPortTest, SettingsAreReadAndSentInTheCamerasOrder) {
    line.replies = {{"IDN?\r", "CAM-2\r\r"}, {"SHE?\r", "SHE FC\r"},  {"MDE?\r", "MDE CS\r"},
                    {"EXE?\r", "EXE 150\r"}, {"TRM?\r", "TRM OFF\r"}, {"BKE?\r", "BKE -7\r"},
                    {"STP?\r", "STP N\r"},   {"DEF?\r", "DEF OF\r"},  {"GAE?\r", "GAE 12\r"}};
    Open();
    const CameraReadout readout = QueryCamera(port);
    EXPECT_EQ(line.writes, (Strings{"IDN?\r", "SHE?\r", "MDE?\r", "EXE?\r", "TRM?\r", "BKE?\r",
                                    "STP?\r", "DEF?\r", "GAE?\r"}));
    EXPECT_EQ(readout.identity, "CAM-2\r");  // one trailing CR dropped
    EXPECT_EQ(line.readSizes, (std::vector<std::size_t>{64, 32, 32, 32, 32, 32, 32, 32, 32}));
    EXPECT_EQ(readout.settings, (CameraSettings{3, 2, 150, 3, -7, 2, 2, 12}));

    const CameraSettings full{1, 2, 300, 2, -20, 2, 1, 25};
    const std::vector<std::tuple<CameraSettings, Strings, int>> cases{
        {full,
         {"SHE ON\r", "MDE CS\r", "EXE 300\r", "TRM N\r", "BKE -20\r", "STP N\r", "DEF ON\r",
          "GAE 24\r"},
         1},
        // Trigger mode keeps the control panel open; the query values ask.
        {{3, 1, -1, 3, BlackLevelFactory, 1, 2, -1},
         {"SHE FC\r", "MDE TR\r", "EXE?\r", "TRE 1\r", "BKF\r", "STP P\r", "DEF OF\r", "GAE?\r"},
         2},
    };
    for (const auto& [settings, sent, result] : cases) {
        line.writes.clear();
        EXPECT_EQ(SendCameraSettings(port, settings), result);
        EXPECT_EQ(line.writes, sent);
    }
    EXPECT_TRUE(op.messages.empty());

    // The camera falls silent on the way: nothing more is sent, and OK ends
    // as after a failed open. Without an open port OK sends nothing, ends with 1.
    line.writes.clear();
    line.replies = {{"SHE ON\r", "\r"}};
    line.otherReply = "";
    EXPECT_EQ(SendCameraSettings(port, full), 2);
    EXPECT_EQ(line.writes, (Strings{"SHE ON\r", "MDE CS\r"}));
    EXPECT_EQ(SendCameraSettings(port, full), 1);
    EXPECT_EQ(line.writes.size(), 2u);
}

}  // namespace
}  // namespace qm71
