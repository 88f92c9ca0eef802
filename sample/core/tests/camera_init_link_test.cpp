// The camera set-up over the real serial line, against qm71-camsim playing
// the sample program's camera on COM2, with shortened time-outs.
#include <gtest/gtest.h>

#include "sample/core/camera_init.h"
#include "testing/camsim.h"
#include "testing/recording_operator.h"

namespace qm71::sample {
namespace {

std::string ResponseError(int first, int read) {
    return "KameraInit: Camera Response Error\nInit " + std::to_string(first) + " (" +
           std::to_string(read) + " gelesen)!";
}

TEST(SampleCameraLink, InitAgainstTheEmulator) {
    const std::string refused = ResponseError(-1, 1);
    const struct {
        std::vector<std::string> options, messages;
        std::size_t frameSizeMessages;  // from a later frame-size command
    } cases[] = {
        {{"--sample"}, {}, 0},  // every frame well formed: all accepted
        {{"--sample", "--silent"},
         {ResponseError(2, 0), ResponseError(3, 0), ResponseError(3, 0), ResponseError(3, 0),
          ResponseError(4, 0)},
         1},
        {{"--sample", "--refuse-command", "10"}, {refused}, 0},
        {{"--sample", "--refuse"}, {refused, refused, refused, refused, refused}, 1},
    };
    for (const auto& c : cases) {
        testing::Camsim camsim("COM2", c.options);
        const auto line = testing::MakeSystemSerialLine();
        testing::RecordingOperator op;
        // 1000 ms a byte + 1000 ms shortened to 150 ms for the one reply byte.
        SampleCamera camera(*line, op, {20, 50, 100, 10, 100});
        std::vector<std::string> titles;
        camera.KameraInit(256, 256, [&](const std::string& t) { titles.push_back(t); });
        EXPECT_EQ(op.messages, c.messages) << c.options.back();
        EXPECT_EQ(titles, (std::vector<std::string>{"KameraInit", "QM71 is ready."}));
        // Later layout changes go out on the same line.
        op.messages.clear();
        camera.SetCameraFrameSize(640, 240);
        EXPECT_EQ(op.messages.size(), c.frameSizeMessages) << c.options.back();
        camera.Close();
    }
}

}  // namespace
}  // namespace qm71::sample
