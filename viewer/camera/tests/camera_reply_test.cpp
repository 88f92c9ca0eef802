#include "viewer/camera/camera_reply.h"

#include <gtest/gtest.h>

#include <climits>

namespace qm71 {
namespace {

TEST(CameraReplyTest, LeadingIntReadsLikeStrtol) {
    EXPECT_EQ(ParseLeadingInt("150\r"), 150);
    EXPECT_EQ(ParseLeadingInt("  -42x"), -42);
    EXPECT_EQ(ParseLeadingInt("\t+7"), 7);
    EXPECT_EQ(ParseLeadingInt("abc"), 0);
    EXPECT_EQ(ParseLeadingInt("-"), 0);
    EXPECT_EQ(ParseLeadingInt(""), 0);
    EXPECT_EQ(ParseLeadingInt("- 5"), 0);
    EXPECT_EQ(ParseLeadingInt("2147483647"), INT_MAX);
    EXPECT_EQ(ParseLeadingInt("-2147483648"), INT_MIN);
    EXPECT_EQ(ParseLeadingInt("99999999999999999999999"), INT_MAX);
    EXPECT_EQ(ParseLeadingInt("-99999999999999999999999"), INT_MIN);
}

TEST(CameraReplyTest, Limits) {
    EXPECT_EQ(LimitGain(INT_MIN), 0);
    EXPECT_EQ(LimitGain(INT_MAX), 24);
    EXPECT_EQ(LimitGain(23), 22);
    EXPECT_EQ(LimitGain(1), 0);
    EXPECT_EQ(LimitBlackLevel(INT_MIN), -2048);
    EXPECT_EQ(LimitBlackLevel(2047), 2047);
}

TEST(CameraReplyTest, SelectorNeedsTheLetterInsideTheText) {
    EXPECT_EQ(ParseSelectorReply("MDE CS", 5, "RSD"), 2);
    EXPECT_EQ(ParseSelectorReply("MDE C", 5, "RSD"), std::nullopt);
    EXPECT_EQ(ParseSelectorReply(ReplyText(std::string_view("MDE \0S", 6)), 5, "RSD"),
              std::nullopt);
}

}  // namespace
}  // namespace qm71
