#include "sim/camera/sample_camera_protocol.h"

#include <gtest/gtest.h>

#include <initializer_list>

#include "sim/camera/emulated_serial_line.h"

namespace qm71::sim {
namespace {

std::vector<std::byte> Bytes(std::initializer_list<int> values) {
    std::vector<std::byte> out;
    for (int v : values) out.push_back(static_cast<std::byte>(v));
    return out;
}

std::vector<std::byte> Feed(CameraProtocol& p, std::initializer_list<int> values) {
    std::vector<std::byte> out;
    p.Receive(Bytes(values), out);
    return out;
}

TEST(SampleCameraProtocol, InitialisationSequenceIsAcceptedFrameByFrame) {
    SampleCameraProtocol p;
    // Frames as the sample sends them, the first split, the rest joined.
    EXPECT_TRUE(Feed(p, {2, 9}).empty());
    EXPECT_EQ(Feed(p, {0}), Bytes({0}));
    EXPECT_EQ(Feed(p, {3, 10, 16, 1, 3, 11, 0, 1, 3, 12, 8, 0, 4, 7, 1, 255, 255}),
              Bytes({0, 0, 0, 0}));
    EXPECT_EQ(p.FrameWidth(), 512);
    EXPECT_EQ(p.FrameHeight(), 256);
    EXPECT_EQ(p.LastParameters(12), Bytes({8, 0}));
    EXPECT_FALSE(p.LastParameters(8).has_value());
    EXPECT_EQ(p.TakeExchanges().size(), 5u);
}

TEST(SampleCameraProtocol, BadFramesGetANonZeroStatusAndFramingGoesOn) {
    SampleCameraProtocol p;
    EXPECT_EQ(Feed(p, {2, 8, 0}), Bytes({SampleCameraProtocol::kUnknownCommand}));
    EXPECT_EQ(Feed(p, {3, 9, 0, 0}), Bytes({SampleCameraProtocol::kBadLength}));
    EXPECT_EQ(Feed(p, {0}), Bytes({SampleCameraProtocol::kBadLength}));
    EXPECT_EQ(Feed(p, {0x80}), Bytes({SampleCameraProtocol::kBadLength}));  // n = -128
    EXPECT_EQ(Feed(p, {4, 7, 0, 0, 0}), Bytes({0}));
    EXPECT_EQ(p.FrameWidth(), 1);
    EXPECT_EQ(p.FrameHeight(), 1);
}

TEST(SampleCameraProtocol, FaultsOverAnEmulatedLine) {
    SampleCameraProtocol p;
    EmulatedSerialLine line(p, {"COM2"});
    ASSERT_TRUE(line.Open("COM2"));
    std::size_t written = 0;
    std::byte reply{0x55};
    for (const bool silent : {true, false}) {
        p.SetFaults({.silent = silent, .refuse = !silent});
        ASSERT_TRUE(line.Write(Bytes({3, 10, 16, 1}), written));
        ASSERT_EQ(line.Read(std::span(&reply, 1)), silent ? 0u : 1u);
    }
    EXPECT_EQ(static_cast<std::int8_t>(reply), -1);  // refused
}

}  // namespace
}  // namespace qm71::sim
