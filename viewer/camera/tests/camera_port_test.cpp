#include "viewer/camera/camera_port.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/testing/recording_operator.h"
#include "viewer/camera/tests/scripted_line.h"

namespace qm71 {
namespace {

using testing::RecordingOperator;
using testing::ScriptedLine;
using Strings = std::vector<std::string>;

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

// --- opening and closing --------------------------------------------------

TEST_F(CameraPortTest, OpensCom1WithTheCameraLineSettings) {
    // The port reports odd settings; every field the camera needs is overwritten.
    line.reportedSettings.baudRate = 115200;
    line.reportedSettings.dataBits = 7;
    line.reportedSettings.parity = SerialSettings::Parity::Even;
    line.reportedSettings.stopBits = SerialSettings::StopBits::Two;
    line.reportedSettings.ctsOutputFlow = true;
    line.reportedSettings.dsrOutputFlow = true;
    line.reportedSettings.dtr = SerialSettings::LineControl::Enabled;
    line.reportedSettings.rts = SerialSettings::LineControl::Handshake;
    line.reportedSettings.xonChar = 'a';
    line.reportedSettings.xoffChar = 'b';

    EXPECT_TRUE(port.OpenCameraPort());
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ(line.opened, Strings{"COM1"});
    EXPECT_TRUE(op.messages.empty());
    ASSERT_EQ(line.settingsSet.size(), 1u);
    const SerialSettings& s = line.settingsSet[0];
    EXPECT_EQ(s.baudRate, 9600u);
    EXPECT_EQ(s.dataBits, 8);
    EXPECT_EQ(s.parity, SerialSettings::Parity::None);
    EXPECT_EQ(s.stopBits, SerialSettings::StopBits::One);
    EXPECT_FALSE(s.ctsOutputFlow);
    EXPECT_FALSE(s.dsrOutputFlow);
    EXPECT_EQ(s.dtr, SerialSettings::LineControl::Disabled);
    EXPECT_EQ(s.rts, SerialSettings::LineControl::Disabled);
    EXPECT_TRUE(s.xonXoffOutput);
    EXPECT_TRUE(s.xonXoffInput);
    EXPECT_EQ(s.xonChar, 0x11);
    EXPECT_EQ(s.xoffChar, 0x13);
    ASSERT_EQ(line.timeoutsSet.size(), 1u);
    EXPECT_EQ(line.timeoutsSet[0].readIntervalMs, 1);
    EXPECT_GE(op.waitCalls, 1);
    EXPECT_EQ(op.waitDepth, 0);
}

TEST_F(CameraPortTest, FallsBackToCom2Silently) {
    line.missingPorts = {"COM1"};
    EXPECT_TRUE(port.OpenCameraPort());
    EXPECT_EQ(line.opened, Strings{"COM2"});
    EXPECT_TRUE(op.messages.empty());
}

TEST_F(CameraPortTest, NeitherPortLeavesItClosed) {
    line.missingPorts = {"COM1", "COM2"};
    EXPECT_FALSE(port.OpenCameraPort());
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(op.messages, Strings{"COM1/COM2 not opened!"});
    EXPECT_EQ(op.waitDepthAtMessage.at(0), 1);  // the wait cursor spans the whole run
    EXPECT_EQ(op.waitDepth, 0);
    EXPECT_TRUE(line.settingsSet.empty());
}

TEST_F(CameraPortTest, SettingsFailuresReportFalseButKeepThePortOpen) {
    struct Case {
        std::function<void(ScriptedLine&)> fault;
        std::string message;
        bool result;
    };
    const std::vector<Case> cases{
        {[](ScriptedLine& l) { l.failGetSettings = true; }, "COMx GetCommState Error!", false},
        {[](ScriptedLine& l) { l.failSetSettings = true; }, "COMx SetCommState Error!", false},
        {[](ScriptedLine& l) { l.failSetTimeouts = true; }, "COMx COMMTIMEOUTS Error!", true},
    };
    for (const Case& c : cases) {
        ScriptedLine l;
        RecordingOperator o;
        CameraPort p(l, o, kShort);
        c.fault(l);
        EXPECT_EQ(p.OpenCameraPort(), c.result) << c.message;
        EXPECT_TRUE(p.IsOpen()) << c.message;
        EXPECT_EQ(o.messages, Strings{c.message});
        p.CloseCameraPort();
        EXPECT_EQ(l.closeCalls, 1) << c.message;
    }
    // A failed GetSettings writes nothing to the port.
    line.failGetSettings = true;
    port.OpenCameraPort();
    EXPECT_TRUE(line.settingsSet.empty());
    EXPECT_TRUE(line.timeoutsSet.empty());
}

TEST_F(CameraPortTest, ClosesOnceAndOnlyWhenOpen) {
    port.CloseCameraPort();
    EXPECT_EQ(line.closeCalls, 0);
    Open();
    port.CloseCameraPort();
    port.CloseCameraPort();
    EXPECT_EQ(line.closeCalls, 1);
    EXPECT_FALSE(port.IsOpen());
    // A second showing of the dialog opens again.
    EXPECT_TRUE(port.OpenCameraPort());
    EXPECT_EQ(line.opened, (Strings{"COM1", "COM1"}));
}

TEST_F(CameraPortTest, DestructionClosesAnOpenPort) {
    {
        CameraPort p(line, op, kShort);
        ASSERT_TRUE(p.OpenCameraPort());
    }
    EXPECT_EQ(line.closeCalls, 1);
}

// --- exchanges --------------------------------------------------------------

struct Exchange {
    const char* name;
    std::function<int(CameraPort&)> call;
    std::string reply;
    std::string sent;
    int result;
    std::string message;  // empty: no message
};

void PrintTo(const Exchange& e, std::ostream* os) {
    *os << e.name;
}

class CameraExchangeTest : public CameraPortTest, public ::testing::WithParamInterface<Exchange> {};

TEST_P(CameraExchangeTest, SendsParsesAndReports) {
    const Exchange& e = GetParam();
    Open();
    line.QueueReply(e.reply);
    EXPECT_EQ(e.call(port), e.result);
    EXPECT_EQ(line.writes, Strings{e.sent});
    EXPECT_EQ(line.readSizes, std::vector<std::size_t>{32});
    if (e.message.empty()) {
        EXPECT_TRUE(op.messages.empty()) << op.messages.at(0);
    } else {
        EXPECT_EQ(op.messages, Strings{e.message});
    }
}

auto Mode(int s) {
    return [s](CameraPort& p) { return p.ExchangeMode(s); };
}
auto Shutter(int s) {
    return [s](CameraPort& p) { return p.ExchangeShutter(s); };
}
auto Trigger(int s) {
    return [s](CameraPort& p) { return p.ExchangeTriggerPolarity(s); };
}
auto Strobe(int s) {
    return [s](CameraPort& p) { return p.ExchangeStrobePolarity(s); };
}
auto Defect(int s) {
    return [s](CameraPort& p) { return p.ExchangeDefectConceal(s); };
}
auto Exposure(int v) {
    return [v](CameraPort& p) { return p.ExchangeExposure(v); };
}
auto Gain(int v) {
    return [v](CameraPort& p) { return p.ExchangeGain(v); };
}
auto Black(int v) {
    return [v](CameraPort& p) { return p.ExchangeBlackLevel(v); };
}
auto Save() {
    return [](CameraPort& p) {
        p.SaveToCamera();
        return 0;
    };
}
auto Reset() {
    return [](CameraPort& p) {
        p.ResetCamera();
        return 0;
    };
}

INSTANTIATE_TEST_SUITE_P(
    SelectorQueries, CameraExchangeTest,
    ::testing::Values(
        Exchange{"mode_CD", Mode(0), "MDE CD\r", "MDE?\r", 3, ""},
        Exchange{"mode_XX", Mode(0), "MDE XX\r", "MDE?\r", 1, "Kamera MDE Error!: MDE XX\r"},
        Exchange{"mode_lower", Mode(0), "mde cs\r", "MDE?\r", 1, "Kamera MDE Error!: mde cs\r"},
        Exchange{"mode_silent", Mode(0), "", "MDE?\r", 1, "Kamera MDE Error!: "},
        Exchange{"shutter_O_at_5", Shutter(0), "SHE XO\r", "SHE?\r", 2, ""},
        Exchange{"shutter_FC", Shutter(0), "SHE FC\r", "SHE?\r", 3, ""},
        Exchange{"shutter_OF", Shutter(0), "SHE OF\r", "SHE?\r", 1, "2Kamera SHE Error!: F"},
        Exchange{"shutter_short", Shutter(0), "SHE\r", "SHE?\r", 1, "2Kamera SHE Error!: "},
        Exchange{"trigger_P", Trigger(0), "TRM P\r", "TRM?\r", 1, ""},
        Exchange{"trigger_OFF", Trigger(0), "TRM OFF\r", "TRM?\r", 3, ""},
        Exchange{"trigger_bad", Trigger(0), "TRM X\r", "TRM?\r", 1, "Kamera TR Error!: TRM X\r"},
        Exchange{"strobe_N", Strobe(0), "STP N\r", "STP?\r", 2, ""},
        Exchange{"strobe_bad", Strobe(0), "STP\r", "STP?\r", 1, "Kamera STP Error!: STP\r"},
        Exchange{"defect_OF", Defect(0), "DEF OF\r", "DEF?\r", 2, ""},
        Exchange{"defect_bad", Defect(0), "DEF O", "DEF?\r", 1, "Kamera DEF Error!: DEF O"}),
    [](const auto& p) { return std::string(p.param.name); });

INSTANTIATE_TEST_SUITE_P(
    SelectorSets, CameraExchangeTest,
    ::testing::Values(
        Exchange{"mode_controlled", Mode(3), "\r", "MDE CD\r", 3, ""},
        Exchange{"mode_refused", Mode(2), "ERR\r", "MDE CS\r", 2, "Kamera MDE Error!: ERR\r"},
        Exchange{"shutter_refused", Shutter(2), "E", "SHE OF\r", 2, "Kamera SHE Error!: E"},
        Exchange{"trigger_disabled", Trigger(3), "\r", "TRE 1\r", 3, ""},
        Exchange{"trigger_refused", Trigger(1), "NO\r", "TRM P\r", 1, "Kamera TR Error!: NO\r"},
        Exchange{"strobe_negative", Strobe(2), "\r", "STP N\r", 2, ""},
        Exchange{"defect_off_silent", Defect(2), "", "DEF OF\r", 2, "Kamera DEF Error!: "}),
    [](const auto& p) { return std::string(p.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Numeric, CameraExchangeTest,
    ::testing::Values(
        Exchange{"exposure_150", Exposure(-1), "EXE 150\r", "EXE?\r", 150, ""},
        Exchange{"exposure_abc", Exposure(-1), "EXE abc\r", "EXE?\r", 0, ""},
        Exchange{"exposure_short", Exposure(-1), "EXE\r", "EXE?\r", 200,
                 "Kamera EXE Error!: EXE\r"},
        Exchange{"exposure_set_negative", Exposure(-5), "\r", "EXE -5\r", -5, ""},
        Exchange{"exposure_refused", Exposure(70), "?", "EXE 70\r", 70, "Kamera EXE Error!: ?"},
        Exchange{"gain_query", Gain(-1), "GAE 12\r", "GAE?\r", 12, ""},
        Exchange{"gain_silent", Gain(-1), "", "GAE?\r", 200, "Kamera GAIN Error!: "},
        Exchange{"gain_25", Gain(25), "\r", "GAE 24\r", 24, ""},
        Exchange{"gain_7", Gain(7), "\r", "GAE 6\r", 6, ""},
        Exchange{"gain_minus_2", Gain(-2), "\r", "GAE 0\r", 0, ""},
        Exchange{"gain_minus_3", Gain(-3), "\r", "GAE 0\r", 0, ""},
        Exchange{"gain_refused", Gain(8), "X\r", "GAE 8\r", 8, "Kamera GAIN Error!: X\r"},
        Exchange{"black_5000", Black(5000), "\r", "BKE 2047\r", 2047, ""},
        Exchange{"black_minus_5000", Black(-5000), "\r", "BKE -2048\r", -2048, ""},
        Exchange{"black_factory", Black(-1000000), "\r", "BKF\r", -1000000, ""},
        Exchange{"black_factory_refused", Black(-1000000), "N\r", "BKF\r", -1000000,
                 "Kamera BKF Error!: N\r"},
        Exchange{"black_query", Black(1000000), "BKE -12\r", "BKE?\r", -12, ""},
        Exchange{"black_query_bkf", Black(1000000), "bkf\r", "BKE?\r", -1000000, ""},
        Exchange{"black_query_short", Black(1000000), "BK\r", "BKE?\r", -1000000,
                 "Kamera BKE Error!: BK\r"},
        Exchange{"save_cr", Save(), "\r", "SAV\r", 0, ""},
        Exchange{"save_bkf", Save(), "bKf\r", "SAV\r", 0, ""},
        Exchange{"save_err", Save(), "ERR\r", "SAV\r", 0, "Kamera SAV Error!: ERR\r"},
        Exchange{"reset_err", Reset(), "ERR\r", "RST\r", 0, "Kamera RST Error!: ERR\r"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(CameraPortTest, FailedWritesReportMakeNoReadAndReturnTheArgument) {
    Open();
    struct Case {
        std::string command;
        std::size_t reported;
        std::function<int(CameraPort&)> call;
        int result;
        std::string message;
    };
    const std::vector<Case> cases{
        {"MDE?\r", 0, Mode(0), 0, "COMx Write Error!"},
        {"SHE FC\r", 2, Shutter(3), 3, "COMx Write Error!"},
        {"EXE?\r", 0, Exposure(-1), -1, "COMx Write Error!"},
        {"GAE?\r", 0, Gain(-1), -1, "COMx Write Error!"},
        {"GAE 24\r", 0, Gain(25), 25, "COMx Write Error!"},
        {"BKE?\r", 0, Black(1000000), -1000000, "COMx Write Error!"},
        {"BKF\r", 0, Black(-1000000), -1000000, "COMx Write Error!"},
        {"SAV\r", 0, Save(), 0, "COMx Write Error!"},
        {"TRM?\r", 3, Trigger(0), 0, "COMx Write Error! (3 Bytes send)"},
        {"STP N\r", 0, Strobe(2), 2, "COMx Write Error! (0 Bytes send)"},
        {"DEF?\r", 4, Defect(0), 0, "COMx Write Error! (4 Bytes send)"},
    };
    for (const Case& c : cases) {
        line.failWrites = {{c.command, c.reported}};
        line.QueueReply("\r");  // must stay unread
        op.messages.clear();
        EXPECT_EQ(c.call(port), c.result) << c.command;
        EXPECT_EQ(op.messages, Strings{c.message}) << c.command;
        EXPECT_TRUE(line.readSizes.empty()) << c.command;
    }
}

TEST_F(CameraPortTest, ClosedPortCountsAsFailedWrite) {
    EXPECT_EQ(port.ExchangeStrobePolarity(0), 0);
    EXPECT_EQ(op.messages, Strings{"COMx Write Error! (0 Bytes send)"});
    EXPECT_TRUE(line.writes.empty());
    EXPECT_FALSE(port.QueryIdentity().has_value());
}

TEST_F(CameraPortTest, SelectorsOutsideTheFamilySendNothing) {
    Open();
    EXPECT_EQ(port.ExchangeMode(4), 4);
    EXPECT_EQ(port.ExchangeStrobePolarity(3), 3);
    EXPECT_EQ(port.ExchangeDefectConceal(-1), -1);
    EXPECT_TRUE(line.writes.empty());
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
    line.QueueReply("CAM-2000 V1.2\r");
    EXPECT_EQ(port.QueryIdentity(), "CAM-2000 V1.2");
    line.QueueReply("CAM\r\r");
    EXPECT_EQ(port.QueryIdentity(), "CAM\r");
    line.QueueReply("CAM");
    EXPECT_EQ(port.QueryIdentity(), "CAM");
    EXPECT_EQ(port.QueryIdentity(), "");  // silent camera: empty text
    EXPECT_EQ(line.writes, Strings(4, "IDN?\r"));
    EXPECT_EQ(line.readSizes, std::vector<std::size_t>(4, 64));

    const std::string long64(64, 'I');
    line.QueueReply(long64 + "tail");
    EXPECT_EQ(port.QueryIdentity(), long64);

    // The identity query reports nothing when its write fails.
    line.failWrites = {{"IDN?\r", 0}};
    EXPECT_FALSE(port.QueryIdentity().has_value());
    EXPECT_TRUE(op.messages.empty());
}

}  // namespace
}  // namespace qm71
