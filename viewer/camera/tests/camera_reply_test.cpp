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

}  // namespace
}  // namespace qm71
