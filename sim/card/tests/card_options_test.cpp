#include "sim/card/card_options.h"

#include <gtest/gtest.h>

namespace qm71::sim {
namespace {

TEST(CardOptionsTest, ReadsEveryKey) {
    CardOptions o;
    std::string error;
    ASSERT_TRUE(ParseCardOptions(
        " fps=7.5, base=0x720,download-error=3:2 ,stall-after-rows=100,no-trigger,", o, error))
        << error;
    EXPECT_DOUBLE_EQ(o.fps, 7.5);
    EXPECT_EQ(o.reportedBase, 0x720);
    EXPECT_EQ(o.downloadError, 3);
    EXPECT_EQ(o.downloadAttempts, 2);
    EXPECT_EQ(o.stallAfterRows, 100);
    EXPECT_TRUE(o.noTrigger);

    ASSERT_TRUE(ParseCardOptions("base=1824,fps=0,no-trigger=0", o, error)) << error;
    EXPECT_EQ(o.reportedBase, 0x720);
    EXPECT_EQ(o.fps, 0);
    EXPECT_FALSE(o.noTrigger);
    ASSERT_TRUE(ParseCardOptions("no-trigger=1", o, error));
    EXPECT_TRUE(o.noTrigger);

    o = LineCameraOptions();
    ASSERT_TRUE(ParseCardOptions("", o, error));
    ASSERT_TRUE(ParseCardOptions(" , ", o, error));
    EXPECT_EQ(o.rowBytes, 5000) << "empty text changes nothing";
    EXPECT_EQ(o.rowsPerFrame, 640);
    EXPECT_TRUE(o.lineCamera);
}

TEST(CardOptionsTest, RejectsBadTextNamingTheKeyAndKeepsTheOptions) {
    // Each text names its key before the '='.
    for (const std::string text :
         {"speed=3", "fps=-1", "fps=fast", "fps=15x", "fps", "fps=inf", "base=0x10000", "base=0x",
          "base=-5", "download-error=3", "download-error=3:256", "download-error=:2",
          "stall-after-rows=-1", "stall-after-rows=", "no-trigger=yes"}) {
        CardOptions o;
        std::string error;
        EXPECT_FALSE(ParseCardOptions("base=0x720," + text, o, error)) << text;
        EXPECT_NE(error.find(text.substr(0, text.find('='))), std::string::npos) << error;
        EXPECT_EQ(o.reportedBase, 0x320) << text << ": a failed parse must leave the options alone";
    }
}

}  // namespace
}  // namespace qm71::sim
