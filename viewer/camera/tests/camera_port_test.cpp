#include "viewer/camera/camera_port.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "testing/recording_operator.h"
#include "testing/scripted_line.h"

namespace qm71 {
namespace {

using testing::RecordingOperator;
using testing::ScriptedLine;
using Strings = std::vector<std::string>;
using Call = std::function<int(CameraPort&)>;

constexpr SerialTimeouts kShort{1, 1, 1, 1, 1};

class CameraPortTest : public ::testing::Test {
  protected:
    ScriptedLine line;
    RecordingOperator op;
    CameraPort port{line, op, kShort};

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

auto Fields(const SerialSettings& s) {
    return std::tuple(s.baudRate, s.dataBits, s.parity, s.stopBits, s.ctsOutputFlow,
                      s.dsrOutputFlow, s.dtr, s.rts, s.xonXoffOutput, s.xonXoffInput, s.xonChar,
                      s.xoffChar);
}

TEST_F(CameraPortTest, OpensCom1AndOverwritesEveryLineSetting) {
    using S = SerialSettings;
    S& odd = line.reportedSettings;
    odd = {115200, 7, S::Parity::Even, S::StopBits::Two, true, true};
    odd.dtr = S::LineControl::Enabled;
    odd.rts = S::LineControl::Handshake;
    odd.xonChar = 'a';
    odd.xoffChar = 'b';
    EXPECT_TRUE(port.OpenCameraPort());
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ(line.opened, Strings{"COM1"});
    EXPECT_TRUE(op.messages.empty());
    ASSERT_EQ(line.settingsSet.size(), 1u);
    S wanted;  // 9600 8N1, no hardware flow control, DTR/RTS off, XON 0x11 / XOFF 0x13
    wanted.xonXoffOutput = wanted.xonXoffInput = true;
    EXPECT_TRUE(Fields(line.settingsSet[0]) == Fields(wanted));
    ASSERT_EQ(line.timeoutsSet.size(), 1u);
    EXPECT_EQ(line.timeoutsSet[0].readIntervalMs, 1);
    EXPECT_GE(op.waitCalls, 1);
    EXPECT_EQ(op.waitDepth, 0);
}

TEST_F(CameraPortTest, FallsBackToCom2SilentlyAndReportsWhenNeitherOpens) {
    line.missingPorts = {"COM1"};
    EXPECT_TRUE(port.OpenCameraPort());
    EXPECT_EQ(line.opened, Strings{"COM2"});
    EXPECT_TRUE(op.messages.empty());

    ScriptedLine none;
    none.missingPorts = {"COM1", "COM2"};
    CameraPort p(none, op, kShort);
    EXPECT_FALSE(p.OpenCameraPort());
    EXPECT_FALSE(p.IsOpen());
    EXPECT_EQ(op.messages, Strings{"COM1/COM2 not opened!"});
    EXPECT_EQ(op.waitDepthAtMessage.at(0), 1);  // the wait cursor spans the whole run
    EXPECT_EQ(op.waitDepth, 0);
    EXPECT_TRUE(none.settingsSet.empty());
}

TEST_F(CameraPortTest, SettingsFailuresReportFalseButKeepThePortOpen) {
    const std::vector<std::tuple<bool ScriptedLine::*, std::string, bool>> cases{
        {&ScriptedLine::failGetSettings, "COMx GetCommState Error!", false},
        {&ScriptedLine::failSetSettings, "COMx SetCommState Error!", false},
        {&ScriptedLine::failSetTimeouts, "COMx COMMTIMEOUTS Error!", true},
    };
    for (const auto& [fault, message, result] : cases) {
        SCOPED_TRACE(message);
        ScriptedLine l;
        RecordingOperator o;
        CameraPort p(l, o, kShort);
        l.*fault = true;
        EXPECT_EQ(p.OpenCameraPort(), result);
        EXPECT_TRUE(p.IsOpen());
        EXPECT_EQ(o.messages, Strings{message});
        if (fault == &ScriptedLine::failGetSettings) {  // nothing written to the port
            EXPECT_TRUE(l.settingsSet.empty());
            EXPECT_TRUE(l.timeoutsSet.empty());
        }
        p.CloseCameraPort();
        EXPECT_EQ(l.closeCalls, 1);
    }
}

TEST_F(CameraPortTest, ClosesOnceAndOnlyWhenOpen) {
    port.CloseCameraPort();
    EXPECT_EQ(line.closeCalls, 0);
    Open();
    port.CloseCameraPort();
    port.CloseCameraPort();
    EXPECT_EQ(line.closeCalls, 1);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_TRUE(port.OpenCameraPort());  // a second showing of the dialog opens again
    EXPECT_EQ(line.opened, (Strings{"COM1", "COM1"}));

    ScriptedLine other;
    {
        CameraPort p(other, op, kShort);
        ASSERT_TRUE(p.OpenCameraPort());
    }
    EXPECT_EQ(other.closeCalls, 1);  // destruction closes an open port
}

TEST_F(CameraPortTest, EveryFamilySendsParsesAndReports) {
    struct Case {
        Call call;
        std::string reply, sent;
        int result;
        std::string message;  // empty: no message
    };
    const std::vector<Case> cases{
        // Selector queries: one letter at a fixed offset of the reply.
        {On(Mode, 0), "MDE CD\r", "MDE?\r", 3, ""},
        {On(Mode, 0), "MDE XX\r", "MDE?\r", 1, "Kamera MDE Error!: MDE XX\r"},
        {On(Mode, 0), "mde cs\r", "MDE?\r", 1, "Kamera MDE Error!: mde cs\r"},
        {On(Mode, 0), "", "MDE?\r", 1, "Kamera MDE Error!: "},
        {On(Shutter, 0), "SHE ON\r", "SHE?\r", 1, ""},
        {On(Shutter, 0), "SHE XO\r", "SHE?\r", 2, ""},
        {On(Shutter, 0), "SHE FC\r", "SHE?\r", 3, ""},
        {On(Shutter, 0), "SHE OF\r", "SHE?\r", 1, "2Kamera SHE Error!: F"},
        {On(Shutter, 0), "SHE\r", "SHE?\r", 1, "2Kamera SHE Error!: "},
        {On(Trigger, 0), "TRM P\r", "TRM?\r", 1, ""},
        {On(Trigger, 0), "TRM OFF\r", "TRM?\r", 3, ""},
        {On(Trigger, 0), "TRM X\r", "TRM?\r", 1, "Kamera TR Error!: TRM X\r"},
        {On(Strobe, 0), "STP N\r", "STP?\r", 2, ""},
        {On(Strobe, 0), "STP\r", "STP?\r", 1, "Kamera STP Error!: STP\r"},
        {On(Defect, 0), "DEF OF\r", "DEF?\r", 2, ""},
        {On(Defect, 0), "DEF O", "DEF?\r", 1, "Kamera DEF Error!: DEF O"},
        // Selector sets: a bare CR acknowledges, anything else is shown.
        {On(Mode, 3), "\r", "MDE CD\r", 3, ""},
        {On(Mode, 2), "ERR\r", "MDE CS\r", 2, "Kamera MDE Error!: ERR\r"},
        {On(Shutter, 2), "E", "SHE OF\r", 2, "Kamera SHE Error!: E"},
        {On(Trigger, 3), "\r", "TRE 1\r", 3, ""},
        {On(Trigger, 1), "NO\r", "TRM P\r", 1, "Kamera TR Error!: NO\r"},
        {On(Strobe, 2), "\r", "STP N\r", 2, ""},
        {On(Defect, 2), "", "DEF OF\r", 2, "Kamera DEF Error!: "},
        // Numeric families.
        {On(Exposure, -1), "EXE 150\r", "EXE?\r", 150, ""},
        {On(Exposure, -1), "EXE abc\r", "EXE?\r", 0, ""},
        {On(Exposure, -1), "EXE\r", "EXE?\r", 200, "Kamera EXE Error!: EXE\r"},
        {On(Exposure, -5), "\r", "EXE -5\r", -5, ""},
        {On(Exposure, 70), "?", "EXE 70\r", 70, "Kamera EXE Error!: ?"},
        {On(Gain, -1), "GAE 12\r", "GAE?\r", 12, ""},
        {On(Gain, -1), "", "GAE?\r", 200, "Kamera GAIN Error!: "},
        {On(Gain, 25), "\r", "GAE 24\r", 24, ""},
        {On(Gain, 7), "\r", "GAE 6\r", 6, ""},
        {On(Gain, -2), "\r", "GAE 0\r", 0, ""},
        {On(Gain, 8), "X\r", "GAE 8\r", 8, "Kamera GAIN Error!: X\r"},
        {On(Black, 5000), "\r", "BKE 2047\r", 2047, ""},
        {On(Black, -5000), "\r", "BKE -2048\r", -2048, ""},
        {On(Black, -1000000), "\r", "BKF\r", -1000000, ""},
        {On(Black, -1000000), "N\r", "BKF\r", -1000000, "Kamera BKF Error!: N\r"},
        {On(Black, 1000000), "BKE -12\r", "BKE?\r", -12, ""},
        {On(Black, 1000000), "bkf\r", "BKE?\r", -1000000, ""},
        {On(Black, 1000000), "BK\r", "BKE?\r", -1000000, "Kamera BKE Error!: BK\r"},
        {Save, "\r", "SAV\r", 0, ""},
        {Save, "bKf\r", "SAV\r", 0, ""},
        {Save, "ERR\r", "SAV\r", 0, "Kamera SAV Error!: ERR\r"},
        {Reset, "ERR\r", "RST\r", 0, "Kamera RST Error!: ERR\r"},
    };
    Open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sent + " <- " + c.reply);
        line.writes.clear();
        line.readSizes.clear();
        op.messages.clear();
        line.QueueReply(c.reply);
        EXPECT_EQ(c.call(port), c.result);
        EXPECT_EQ(line.writes, Strings{c.sent});
        EXPECT_EQ(line.readSizes, std::vector<std::size_t>{32});
        EXPECT_EQ(op.messages, c.message.empty() ? Strings{} : Strings{c.message});
    }
}

TEST_F(CameraPortTest, FailedWritesReportMakeNoReadAndReturnTheArgument) {
    struct Case {
        std::string command;
        std::size_t reported;
        Call call;
        int result;
        std::string message;
    };
    const std::vector<Case> cases{
        {"MDE?\r", 0, On(Mode, 0), 0, "COMx Write Error!"},
        {"SHE FC\r", 2, On(Shutter, 3), 3, "COMx Write Error!"},
        {"EXE?\r", 0, On(Exposure, -1), -1, "COMx Write Error!"},
        {"GAE 24\r", 0, On(Gain, 25), 25, "COMx Write Error!"},
        {"BKF\r", 0, On(Black, -1000000), -1000000, "COMx Write Error!"},
        {"SAV\r", 0, Save, 0, "COMx Write Error!"},
        {"TRM?\r", 3, On(Trigger, 0), 0, "COMx Write Error! (3 Bytes send)"},
        {"STP N\r", 0, On(Strobe, 2), 2, "COMx Write Error! (0 Bytes send)"},
        {"DEF?\r", 4, On(Defect, 0), 0, "COMx Write Error! (4 Bytes send)"},
    };
    Open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        line.failWrites = {{c.command, c.reported}};
        line.QueueReply("\r");  // must stay unread
        op.messages.clear();
        EXPECT_EQ(c.call(port), c.result);
        EXPECT_EQ(op.messages, Strings{c.message});
        EXPECT_TRUE(line.readSizes.empty());
    }
}

TEST_F(CameraPortTest, ClosedPortAndOutOfRangeSelectorsSendNothing) {
    EXPECT_EQ(port.ExchangeStrobePolarity(0), 0);
    EXPECT_EQ(op.messages, Strings{"COMx Write Error! (0 Bytes send)"});
    EXPECT_FALSE(port.QueryIdentity().has_value());
    Open();
    EXPECT_EQ(port.ExchangeMode(4), 4);
    EXPECT_EQ(port.ExchangeStrobePolarity(3), 3);
    EXPECT_EQ(port.ExchangeDefectConceal(-1), -1);
    EXPECT_TRUE(line.writes.empty());
    EXPECT_TRUE(op.messages.empty());
}

TEST_F(CameraPortTest, ReplyFraming) {
    Open();
    // 32 bytes fill the buffer exactly and are shown whole.
    const std::string full = "ERR" + std::string(28, 'x') + "!";
    line.QueueReply(full);
    port.ExchangeMode(1);
    EXPECT_EQ(op.messages.at(0), "Kamera MDE Error!: " + full);

    // A longer reply is cut at 32 bytes; the rest is the start of the next reply.
    op.messages.clear();
    line.QueueReply(full + "MDE CD\r");
    port.ExchangeMode(1);
    EXPECT_EQ(op.messages.at(0), "Kamera MDE Error!: " + full);
    EXPECT_EQ(port.ExchangeMode(0), 3);

    // A zero byte ends the reply for every test.
    op.messages.clear();
    line.QueueReply(std::string("EXE\0 150\r", 9));
    EXPECT_EQ(port.ExchangeExposure(-1), 200);
    EXPECT_EQ(op.messages, Strings{"Kamera EXE Error!: EXE"});
    line.QueueReply(std::string("MDE\0CD\r", 7));
    EXPECT_EQ(port.ExchangeMode(0), 1);
    line.QueueReply(std::string("\r\0garbage", 9));
    op.messages.clear();
    port.ExchangeGain(4);
    EXPECT_TRUE(op.messages.empty());
}

TEST_F(CameraPortTest, IdentityDropsOneTrailingCarriageReturn) {
    Open();
    for (const auto& [reply, text] : std::vector<std::pair<std::string, std::string>>{
             {"CAM-2000 V1.2\r", "CAM-2000 V1.2"},
             {"CAM\r\r", "CAM\r"},
             {"CAM", "CAM"},
             {"", ""},  // silent camera: empty text
             {std::string(64, 'I') + "tail", std::string(64, 'I')}}) {
        line.QueueReply(reply);
        EXPECT_EQ(port.QueryIdentity(), text) << reply;
    }
    EXPECT_EQ(line.writes, Strings(5, "IDN?\r"));
    EXPECT_EQ(line.readSizes, std::vector<std::size_t>(5, 64));

    // The identity query reports nothing when its write fails.
    line.failWrites = {{"IDN?\r", 0}};
    EXPECT_FALSE(port.QueryIdentity().has_value());
    EXPECT_TRUE(op.messages.empty());
}

}  // namespace
}  // namespace qm71
