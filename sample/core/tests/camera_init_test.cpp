#include "sample/core/camera_init.h"

#include <gtest/gtest.h>

#include "testing/recording_operator.h"
#include "testing/scripted_line.h"

namespace qm71::sample {
namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s.push_back(static_cast<char>(v));
    return s;
}

struct Fixture {
    testing::ScriptedLine line;
    testing::RecordingOperator op;
    SampleCamera camera{line, op};
    std::vector<std::string> titles;
    Fixture() { line.otherReply = Bytes({0}); }
    void Init(int w = 256, int h = 256) {
        camera.KameraInit(w, h, [this](const std::string& t) { titles.push_back(t); });
    }
};

TEST(SampleCamera, FrameSizeBytes) {
    const struct {
        int w, h;
        std::string frame;
    } cases[] = {
        {512, 256, Bytes({4, 7, 1, 255, 255})},
        {1, 1, Bytes({4, 7, 0, 0, 0})},
        {640, 240, Bytes({4, 7, 2, 127, 239})},
        {256, 257, Bytes({4, 7, 0, 255, 0})},  // heights above 256 wrap
    };
    Fixture f;
    ASSERT_TRUE(f.line.Open("COM2"));
    for (const auto& c : cases) {
        f.camera.SetCameraFrameSize(c.w, c.h);
        EXPECT_EQ(f.line.writes.back(), c.frame) << c.w << "x" << c.h;
    }
    EXPECT_TRUE(f.op.messages.empty());
}

TEST(SampleCamera, SetUpFailures) {
    const struct {
        std::function<void(testing::ScriptedLine&)> fault;
        std::string message;  // empty: none
        std::size_t writes;   // 0: stopped at the open
    } cases[] = {
        {[](auto& l) { l.missingPorts.insert("COM2"); }, "KameraInit: OpenComm (COM2)!", 0},
        {[](auto& l) { l.failGetSettings = true; }, "KameraInit: COM2 GetCommState", 0},
        {[](auto& l) { l.failSetSettings = true; }, "KameraInit: SetCommState (COM2)!", 0},
        {[](auto& l) { l.failSetTimeouts = true; }, "COMx COMMTIMEOUTS Error!", 5},
        {[](auto& l) { l.reportedSettings.xonXoffInput = true; }, "", 5},
    };
    for (const auto& c : cases) {
        Fixture f;
        c.fault(f.line);
        f.Init();
        const std::size_t shown = c.message.empty() ? 0 : 1;
        EXPECT_EQ(f.op.messages, std::vector(shown, c.message));
        EXPECT_EQ(f.op.captions, std::vector<std::string>(shown, "Error"));
        EXPECT_EQ(f.op.styles, std::vector<MessageStyle>(
                                   shown, {MessageStyle::Icon::Error, MessageStyle::Owner::None}));
        EXPECT_EQ(f.line.writes.size(), c.writes) << c.message;
        EXPECT_EQ(f.titles.back(), c.writes == 0 ? "KameraInit" : "QM71 is ready.") << c.message;
    }
    // Set up in full: the port's own settings are replaced, then the sequence.
    Fixture f;
    f.Init();
    EXPECT_EQ(f.line.settingsSet, std::vector<SerialSettings>{CameraLineSettings()});
    EXPECT_EQ(f.line.timeoutsSet, std::vector<SerialTimeouts>{kCameraTimeouts});
    EXPECT_EQ(f.line.writes, (std::vector<std::string>{Bytes({2, 9, 0}), Bytes({3, 10, 16, 1}),
                                                       Bytes({3, 11, 0, 1}), Bytes({3, 12, 8, 0}),
                                                       Bytes({4, 7, 0, 255, 255})}));
    // With COM2 never opened, a later frame size cannot go out.
    Fixture closed;
    closed.camera.SetCameraFrameSize(512, 256);
    EXPECT_EQ(closed.op.messages, std::vector<std::string>{"COM2 Write!"});
}

TEST(SampleCamera, ALateReplyIsNotTheNextCommandsStatus) {
    Fixture f;
    ASSERT_TRUE(f.line.Open("COM2"));
    f.line.replies[Bytes({4, 7, 0, 255, 255})] = Bytes({0});
    f.line.Arrive(Bytes({0xFF}));  // the previous command's answer, too late
    f.camera.SetCameraFrameSize(256, 256);
    EXPECT_TRUE(f.op.messages.empty());

    f.line.replies[Bytes({4, 7, 0, 255, 255})] = Bytes({0xFE});
    f.camera.SetCameraFrameSize(256, 256);
    EXPECT_EQ(f.op.messages,
              std::vector<std::string>{"KameraInit: Camera Response Error\nInit -2 (1 gelesen)!"});

    // A read that fails is no silence.
    f.line.failReads = true;
    f.camera.SetCameraFrameSize(256, 256);
    EXPECT_EQ(f.op.messages.back(), "COM2 Read!");
}

}  // namespace
}  // namespace qm71::sample
