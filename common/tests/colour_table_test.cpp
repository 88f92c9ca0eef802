#include "common/colour_table.h"

#include <gtest/gtest.h>

namespace qm71 {
namespace {

std::array<RgbQuad, 256> Fill(ColouringSettings s) {
    std::array<RgbQuad, 256> t{};
    FillColorTable(s, t);
    return t;
}

RgbQuad Grey(int v) {
    const auto g = static_cast<std::uint8_t>(v);
    return {g, g, g, 0};
}

TEST(ColourTable, GreyModesClipTheTwentyFixedColoursAtBothEnds) {
    const auto normal = Fill({.lut = kNormal});
    EXPECT_EQ(normal[9], Grey(0));
    EXPECT_EQ(normal[10], Grey(10));
    EXPECT_EQ(normal[245], Grey(245));
    EXPECT_EQ(normal[246], Grey(255));
    const auto inverse = Fill({.lut = kInverse});
    EXPECT_EQ(inverse[0], Grey(255));
    EXPECT_EQ(inverse[10], Grey(245));
    EXPECT_EQ(inverse[245], Grey(10));
    EXPECT_EQ(inverse[255], Grey(0));
    // Any other mode colours as normal.
    EXPECT_EQ(Fill({.lut = 7}), normal);
}

TEST(ColourTable, ThresholdBandsWithDefaults) {
    const auto t = Fill({.lut = kThreshold});
    EXPECT_EQ(t[127], (RgbQuad{0, 0, 0, 0}));
    EXPECT_EQ(t[128], (RgbQuad{192, 220, 192, 0}));
    EXPECT_EQ(t[137], (RgbQuad{192, 220, 192, 0}));
    EXPECT_EQ(t[138], Grey(255));
}

TEST(ColourTable, ThresholdBandEdges) {
    const RgbQuad red = StaticColorTable[13];
    auto t = Fill({.lut = kThreshold, .thresh = 0, .mitte = 10, .mg = 249});
    EXPECT_EQ(t[0], red);
    EXPECT_EQ(t[9], red);
    EXPECT_EQ(t[10], Grey(255));

    t = Fill({.lut = kThreshold, .thresh = 250, .mitte = 10, .bg = 1});
    EXPECT_EQ(t[249], StaticColorTable[1]);
    EXPECT_EQ(t[250], StaticColorTable[8]);
    EXPECT_EQ(t[255], StaticColorTable[8]);
}

TEST(ColourTable, OutOfRangeSettingsStayInsideTheTable) {
    // Values a settings file or an edit field may hold.
    for (int thresh : {-1000, -1, 256, 300, INT32_MAX, INT32_MIN}) {
        for (int mitte : {-5, 0, 10, 1000, INT32_MAX, INT32_MIN}) {
            const auto t = Fill(
                {.lut = kThreshold, .thresh = thresh, .mitte = mitte, .bg = 1, .mg = 2, .vg = 3});
            for (const RgbQuad& e : t) {
                EXPECT_TRUE(e == StaticColorTable[1] || e == StaticColorTable[2] ||
                            e == StaticColorTable[3]);
            }
        }
    }
    auto t = Fill({.lut = kThreshold, .thresh = 300, .bg = 4});
    EXPECT_EQ(t[255], StaticColorTable[4]);
    t = Fill({.lut = kThreshold, .thresh = -5, .mitte = 10, .mg = 5});
    EXPECT_EQ(t[4], StaticColorTable[5]);
    EXPECT_EQ(t[5], Grey(255));
}

TEST(ColourTable, InvalidColourIndexColoursAsTheBandsDefault) {
    const auto t =
        Fill({.lut = kThreshold, .thresh = 100, .mitte = 10, .bg = 10, .mg = 245, .vg = 256});
    EXPECT_EQ(t[0], StaticColorTable[0]);
    EXPECT_EQ(t[100], StaticColorTable[8]);
    EXPECT_EQ(t[200], StaticColorTable[19]);
}

TEST(ColourTable, StepsRunThroughTheTwentyColoursAsARing) {
    EXPECT_EQ(NextColour(9), 246);
    EXPECT_EQ(PreviousColour(246), 9);
    EXPECT_EQ(NextColour(255), 0);
    EXPECT_EQ(PreviousColour(0), 255);
    int c = 0;
    for (int i = 0; i < kColourCount; ++i) {
        EXPECT_TRUE(IsColourIndex(c));
        EXPECT_EQ(PreviousColour(NextColour(c)), c);
        c = NextColour(c);
    }
    EXPECT_EQ(c, 0);
}

TEST(ColourTable, DisplayPaletteHoldsEveryColourALookupProduces) {
    const auto palette = CreateDisplayPalette();
    EXPECT_EQ(palette[8], (PaletteEntry{192, 220, 192, kPcNoCollapse}));
    EXPECT_EQ(palette[128], (PaletteEntry{128, 128, 128, kPcNoCollapse}));
    EXPECT_EQ(palette[249], (PaletteEntry{255, 0, 0, kPcNoCollapse}));
    for (int lut : {kNormal, kInverse}) {
        for (const RgbQuad& e : Fill({.lut = lut})) {
            bool found = false;
            for (const auto& p : palette)
                found |= p.red == e.red && p.green == e.green && p.blue == e.blue;
            EXPECT_TRUE(found);
        }
    }
}

}  // namespace
}  // namespace qm71
