#include "sim/camera/area_camera.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "sim/camera/area_camera_protocol.h"

namespace qm71::sim {
namespace {

// The host's way of reading replies: fixed byte offsets, as if every reply
// began with the mnemonic and one blank. Kept here on purpose so the camera
// is checked against the rules, not against another implementation.
int SelectorAt(std::string_view reply, std::size_t offset, std::string_view letters) {
    if (reply.size() <= offset) return 0;
    const auto pos = letters.find(reply[offset]);
    return pos == std::string_view::npos ? 0 : static_cast<int>(pos) + 1;
}
int ModeOf(std::string_view r) {
    return SelectorAt(r, 5, "RSD");
}
int ShutterOf(std::string_view r) {
    return SelectorAt(r, 5, "NOC");
}
int TriggerOf(std::string_view r) {
    return SelectorAt(r, 4, "PNO");
}
int StrobeOf(std::string_view r) {
    return SelectorAt(r, 4, "PN");
}
int DefectOf(std::string_view r) {
    return SelectorAt(r, 5, "NF");
}
std::optional<int> NumberOf(std::string_view r) {
    if (r.size() <= 4) return std::nullopt;
    return std::atoi(std::string(r.substr(4)).c_str());
}
bool IsFactoryBlack(std::string_view r) {
    return r.size() >= 3 && (r[0] | 0x20) == 'b' && (r[1] | 0x20) == 'k' && (r[2] | 0x20) == 'f';
}

TEST(AreaCamera, SelectorRepliesReadBackEveryStateThatWasSet) {
    AreaCamera cam;
    const char* modes[] = {"MDE TR", "MDE CS", "MDE CD"};
    for (int s = 1; s <= 3; ++s) {
        ASSERT_EQ(cam.Execute(modes[s - 1]), "\r");
        EXPECT_EQ(ModeOf(cam.Execute("MDE?")), s) << modes[s - 1];
    }
    const char* shutters[] = {"SHE ON", "SHE OF", "SHE FC"};
    for (int s = 1; s <= 3; ++s) {
        ASSERT_EQ(cam.Execute(shutters[s - 1]), "\r");
        EXPECT_EQ(ShutterOf(cam.Execute("SHE?")), s) << shutters[s - 1];
    }
    const char* triggers[] = {"TRM P", "TRM N", "TRE 1"};
    for (int s = 1; s <= 3; ++s) {
        ASSERT_EQ(cam.Execute(triggers[s - 1]), "\r");
        EXPECT_EQ(TriggerOf(cam.Execute("TRM?")), s) << triggers[s - 1];
    }
    ASSERT_EQ(cam.Execute("STP N"), "\r");
    EXPECT_EQ(StrobeOf(cam.Execute("STP?")), 2);
    ASSERT_EQ(cam.Execute("STP P"), "\r");
    EXPECT_EQ(StrobeOf(cam.Execute("STP?")), 1);
    ASSERT_EQ(cam.Execute("DEF OF"), "\r");
    EXPECT_EQ(DefectOf(cam.Execute("DEF?")), 2);
    ASSERT_EQ(cam.Execute("DEF ON"), "\r");
    EXPECT_EQ(DefectOf(cam.Execute("DEF?")), 1);
}

TEST(AreaCamera, ExactReplyTexts) {
    AreaCamera cam;
    EXPECT_EQ(cam.Execute("MDE?"), "MDE CS\r");
    EXPECT_EQ(cam.Execute("SHE?"), "SHE ON\r");
    cam.Execute("SHE OF");
    EXPECT_EQ(cam.Execute("SHE?"), "SHE FO\r");
    EXPECT_EQ(cam.Execute("TRM?"), "TRM P\r");
    cam.Execute("TRE 1");
    EXPECT_EQ(cam.Execute("TRM?"), "TRM OFF\r");
    cam.Execute("TRE 0");  // polarity survives disabling
    EXPECT_EQ(cam.Execute("TRM?"), "TRM P\r");
    EXPECT_EQ(cam.Execute("BKE?"), "BKF\r");
    cam.Execute("EXE 150");
    EXPECT_EQ(cam.Execute("EXE?"), "EXE 150\r");
    EXPECT_EQ(cam.Execute("IDN?"), std::string(AreaCamera::kIdentity) + "\r");
}

TEST(AreaCamera, NumericSettingsKeepTheirLimitsAndParseWithHostRules) {
    AreaCamera cam;
    EXPECT_EQ(cam.Execute("GAE 24"), "\r");
    EXPECT_EQ(NumberOf(cam.Execute("GAE?")), 24);
    EXPECT_EQ(cam.Execute("GAE 0"), "\r");
    EXPECT_EQ(cam.Execute("GAE 25"), "ERR\r");
    EXPECT_EQ(cam.Execute("GAE -2"), "ERR\r");
    EXPECT_EQ(NumberOf(cam.Execute("GAE?")), 0);

    EXPECT_EQ(cam.Execute("BKE -2048"), "\r");
    EXPECT_EQ(NumberOf(cam.Execute("BKE?")), -2048);
    EXPECT_EQ(cam.Execute("BKE 2047"), "\r");
    EXPECT_FALSE(IsFactoryBlack(cam.Execute("BKE?")));
    EXPECT_EQ(NumberOf(cam.Execute("BKE?")), 2047);
    EXPECT_EQ(cam.Execute("BKE 2048"), "ERR\r");
    EXPECT_EQ(cam.Execute("BKE -2049"), "ERR\r");
    EXPECT_EQ(cam.Execute("BKF"), "\r");
    EXPECT_TRUE(IsFactoryBlack(cam.Execute("BKE?")));

    EXPECT_EQ(cam.Execute("EXE -5"), "ERR\r");
    EXPECT_EQ(cam.Execute("EXE 1000000"), "\r");
    EXPECT_EQ(NumberOf(cam.Execute("EXE?")), 1000000);
    EXPECT_EQ(cam.Execute("EXE 99999999999"), "ERR\r");  // would overflow int
}

TEST(AreaCamera, MalformedCommandsAreRefusedAndChangeNothing) {
    AreaCamera cam;
    const AreaCameraSettings before = cam.Settings();
    for (const char* bad : {"",        "XY",   "FOO?",    "FOO 1",  "MDE XX", "MDE", "MDE  TR",
                            "MDE TR ", "mde?", "GAE abc", "GAE 1x", "GAE ",   "GAE", "EXE +",
                            "BKF 1",   "SAV?", "SHE OO",  "TRE 2",  "DEF",    "IDN", "STP X"}) {
        EXPECT_EQ(cam.Execute(bad), "ERR\r") << '"' << bad << '"';
    }
    EXPECT_EQ(cam.Settings(), before);
}

TEST(AreaCamera, SaveMakesPowerOnSetupAndResetReturnsToIt) {
    AreaCamera cam;
    const AreaCameraSettings factory = cam.Settings();
    cam.Execute("GAE 12");
    cam.Execute("RST");
    EXPECT_EQ(cam.Settings(), factory);  // nothing saved yet: factory set-up

    cam.Execute("GAE 12");
    cam.Execute("BKE -20");
    cam.Execute("MDE TR");
    EXPECT_EQ(cam.Execute("SAV"), "\r");
    const AreaCameraSettings saved = cam.Settings();
    cam.Execute("GAE 2");
    cam.Execute("BKF");
    cam.Execute("MDE CD");
    EXPECT_EQ(cam.Execute("RST"), "\r");
    EXPECT_EQ(cam.Settings(), saved);
    EXPECT_EQ(cam.Execute("BKE?"), "BKE -20\r");

    cam.Execute("GAE 4");
    cam.PowerCycle();
    EXPECT_EQ(cam.Settings(), saved);
}

// ---- line framing and faults ----

std::string Feed(CameraProtocol& p, std::string_view bytes) {
    std::vector<std::byte> out;
    p.Receive(ToBytes(bytes), out);
    return ToText(out);
}

TEST(AreaCameraProtocol, CommandsMayBeSplitAndJoinedAnyhow) {
    AreaCameraProtocol p;
    EXPECT_EQ(Feed(p, "MD"), "");
    EXPECT_EQ(Feed(p, "E"), "");
    EXPECT_EQ(Feed(p, "?"), "");
    EXPECT_EQ(Feed(p, "\rGAE 1"), "MDE CS\r");
    EXPECT_EQ(Feed(p, "2\rGAE?\rDEF?\rST"), "\rGAE 12\rDEF ON\r");
    EXPECT_EQ(Feed(p, "P?\r"), "STP P\r");

    const auto log = p.TakeExchanges();
    ASSERT_EQ(log.size(), 5u);
    EXPECT_EQ(ToText(log[0].command), "MDE?\r");
    EXPECT_EQ(ToText(log[1].command), "GAE 12\r");
    EXPECT_EQ(ToText(log[1].reply), "\r");
    EXPECT_TRUE(p.TakeExchanges().empty());
}

TEST(AreaCameraProtocol, FlowControlLineFeedsAndEmptyLinesAreNotCommands) {
    AreaCameraProtocol p;
    EXPECT_EQ(Feed(p, "\x11MDE\x13?\r\nSHE?\r\r\r"), "MDE CS\rSHE ON\r");
    EXPECT_EQ(p.TakeExchanges().size(), 2u);
}

TEST(AreaCameraProtocol, OverlongCommandIsRefusedAndFramingRecovers) {
    AreaCameraProtocol p;
    const std::string longLine(AreaCameraProtocol::kMaxCommandLength + 50, 'A');
    EXPECT_EQ(Feed(p, longLine), "");
    EXPECT_EQ(Feed(p, "\rMDE?\r"), "ERR\rMDE CS\r");
}

TEST(AreaCameraProtocol, ContentFaults) {
    AreaCameraProtocol p;
    p.SetFaults({.silent = true});
    EXPECT_EQ(Feed(p, "GAE 12\rMDE?\r"), "");
    ASSERT_EQ(p.TakeExchanges().size(), 2u);  // heard, but not answered

    p.SetFaults({.refuse = true});
    EXPECT_EQ(Feed(p, "GAE 12\rMDE?\r"), "ERR\rERR\r");

    p.SetFaults({.garbage = true});
    for (int i = 0; i < 200; ++i) {
        const std::string reply = Feed(p, "MDE?\r");
        ASSERT_FALSE(reply.empty());
        EXPECT_EQ(reply.find_first_of("\x11\x13\r"), std::string::npos);
    }
    // None of the misbehaving cameras acted on what it was told.
    EXPECT_EQ(p.Camera().Settings().gain, 0);

    p.SetFaults({});
    EXPECT_EQ(Feed(p, "GAE 12\rGAE?\r"), "\rGAE 12\r");
}

}  // namespace
}  // namespace qm71::sim
