#include "sim/camera/area_camera.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sim/camera/area_camera_protocol.h"

namespace qm71::sim {
namespace {

using Script = std::vector<std::pair<std::string, std::string>>;  // command, reply

void ExpectReplies(AreaCamera& cam, const Script& script) {
    for (const auto& [command, reply] : script) EXPECT_EQ(cam.Execute(command), reply) << command;
}

TEST(AreaCamera, SelectorRepliesReadBackAtTheHostsOffsets) {
    // The host reads the state as one letter at a fixed offset; kept here on
    // purpose so the camera is checked against that rule, not another parser.
    struct Case {
        const char *set, *query;
        std::size_t offset;
        std::string_view letters;
        std::size_t selector;
    };
    const Case cases[] = {
        {"MDE TR", "MDE?", 5, "RSD", 0}, {"MDE CS", "MDE?", 5, "RSD", 1},
        {"MDE CD", "MDE?", 5, "RSD", 2}, {"SHE ON", "SHE?", 5, "NOC", 0},
        {"SHE OF", "SHE?", 5, "NOC", 1}, {"SHE FC", "SHE?", 5, "NOC", 2},
        {"TRM P", "TRM?", 4, "PNO", 0},  {"TRM N", "TRM?", 4, "PNO", 1},
        {"TRE 1", "TRM?", 4, "PNO", 2},  {"STP N", "STP?", 4, "PN", 1},
        {"STP P", "STP?", 4, "PN", 0},   {"DEF OF", "DEF?", 5, "NF", 1},
        {"DEF ON", "DEF?", 5, "NF", 0},
    };
    AreaCamera cam;
    for (const Case& c : cases) {
        ASSERT_EQ(cam.Execute(c.set), "\r") << c.set;
        const std::string reply = cam.Execute(c.query);
        ASSERT_GT(reply.size(), c.offset) << c.set;
        EXPECT_EQ(c.letters.find(reply[c.offset]), c.selector) << c.set << " -> " << reply;
    }
}

TEST(AreaCamera, RepliesAndLimits) {
    AreaCamera cam;
    ExpectReplies(cam, {{"MDE?", "MDE CS\r"}, {"SHE?", "SHE ON\r"}, {"SHE OF", "\r"}});
    ExpectReplies(cam, {{"SHE?", "SHE FO\r"}, {"TRM?", "TRM P\r"}, {"TRE 1", "\r"}});
    // The trigger polarity survives disabling.
    ExpectReplies(cam, {{"TRM?", "TRM OFF\r"}, {"TRE 0", "\r"}, {"TRM?", "TRM P\r"}});
    EXPECT_EQ(cam.Execute("IDN?"), std::string(AreaCamera::kIdentity) + "\r");
    ExpectReplies(cam, {{"GAE 24", "\r"}, {"GAE?", "GAE 24\r"}, {"GAE 0", "\r"}});
    ExpectReplies(cam, {{"GAE 25", "ERR\r"}, {"GAE -2", "ERR\r"}, {"GAE?", "GAE 0\r"}});
    ExpectReplies(cam, {{"BKE?", "BKF\r"}, {"BKE -2048", "\r"}, {"BKE?", "BKE -2048\r"}});
    ExpectReplies(cam, {{"BKE 2047", "\r"}, {"BKE?", "BKE 2047\r"}, {"BKE 2048", "ERR\r"}});
    ExpectReplies(cam, {{"BKE -2049", "ERR\r"}, {"BKF", "\r"}, {"BKE?", "BKF\r"}});
    ExpectReplies(cam, {{"EXE -5", "ERR\r"}, {"EXE 1000000", "\r"}, {"EXE?", "EXE 1000000\r"}});
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
    ExpectReplies(cam, {{"GAE 12", "\r"}, {"RST", "\r"}});
    EXPECT_EQ(cam.Settings(), factory);  // nothing saved yet: factory set-up

    ExpectReplies(cam, {{"GAE 12", "\r"}, {"BKE -20", "\r"}, {"MDE TR", "\r"}, {"SAV", "\r"}});
    const AreaCameraSettings saved = cam.Settings();
    ExpectReplies(cam, {{"GAE 2", "\r"}, {"BKF", "\r"}, {"MDE CD", "\r"}, {"RST", "\r"}});
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

TEST(AreaCameraProtocol, FramingOfSplitJoinedAndOddInput) {
    AreaCameraProtocol p;
    for (const char* piece : {"MD", "E", "?"}) EXPECT_EQ(Feed(p, piece), "");
    EXPECT_EQ(Feed(p, "\rGAE 1"), "MDE CS\r");
    EXPECT_EQ(Feed(p, "2\rGAE?\rDEF?\rST"), "\rGAE 12\rDEF ON\r");
    EXPECT_EQ(Feed(p, "P?\r"), "STP P\r");
    const auto log = p.TakeExchanges();
    ASSERT_EQ(log.size(), 5u);
    EXPECT_EQ(ToText(log[0].command), "MDE?\r");
    EXPECT_EQ(ToText(log[1].command), "GAE 12\r");
    EXPECT_EQ(ToText(log[1].reply), "\r");
    EXPECT_TRUE(p.TakeExchanges().empty());

    // Flow control bytes, line feeds and empty lines are not commands.
    EXPECT_EQ(Feed(p, "\x11MDE\x13?\r\nSHE?\r\r\r"), "MDE CS\rSHE ON\r");
    EXPECT_EQ(p.TakeExchanges().size(), 2u);

    // An overlong command is refused and framing recovers.
    EXPECT_EQ(Feed(p, std::string(AreaCameraProtocol::kMaxCommandLength + 50, 'A')), "");
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
