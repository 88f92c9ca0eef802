#include "sim/camsim/options.h"

#include <gtest/gtest.h>

namespace qm71::sim {
namespace {

TEST(CamsimOptions, FaultsAndLinkInBothSpellings) {
    CamsimOptions o;
    std::string error;
    ASSERT_TRUE(ParseCamsimOptions(
        {"--silent", "--garbage", "--refuse", "--late", "300", "--pieces=20", "--link", "/tmp/x"},
        o, error))
        << error;
    EXPECT_EQ(o.faults, (CameraFaults{true, true, true, 300, 20}));
    EXPECT_EQ(o.link, "/tmp/x");
    EXPECT_FALSE(o.sampleProtocol);

    ASSERT_TRUE(ParseCamsimOptions({}, o, error));
    EXPECT_EQ(o.faults, CameraFaults{});
    ASSERT_TRUE(ParseCamsimOptions({"--sample"}, o, error));
    EXPECT_TRUE(o.sampleProtocol);
}

TEST(CamsimOptions, BadArgumentsAreRefusedWithAReason) {
    const std::vector<std::vector<std::string>> bad = {
        {"--late"}, {"--late", "-1"}, {"--late", "12x"}, {"--pieces", ""}, {"--late", "600001"},
        {"--link"}, {"--link="},      {"--silent=1"},    {"--frobnicate"}, {"extra"},
    };
    for (const auto& args : bad) {
        CamsimOptions o;
        std::string error;
        EXPECT_FALSE(ParseCamsimOptions(args, o, error)) << args.front();
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
}  // namespace qm71::sim
