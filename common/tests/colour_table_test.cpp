#include "common/colour_table.h"

#include <gtest/gtest.h>

#include <climits>
#include <tuple>

namespace qm71 {
namespace {

constexpr int kMin = INT_MIN, kMax = INT_MAX;

std::array<RgbQuad, 256> Fill(ColouringSettings s) {
    std::array<RgbQuad, 256> t{};
    FillColorTable(s, t);
    return t;
}

const auto Grey = [](int v) {
    return RgbQuad{std::uint8_t(v), std::uint8_t(v), std::uint8_t(v), 0};
};

TEST(ColourTable, GreyModesClipTheFixedColoursAtBothEnds) {
    const auto normal = Fill({.lut = kNormal}), inverse = Fill({.lut = kInverse});
    const std::tuple<int, int, int> cases[] = {
        {0, 0, 255}, {9, 0, 255}, {10, 10, 245}, {245, 245, 10}, {246, 255, 0}, {255, 255, 0},
    };
    for (const auto& [v, n, i] : cases)
        EXPECT_EQ(std::pair(normal[v], inverse[v]), std::pair(Grey(n), Grey(i))) << v;
    EXPECT_EQ(Fill({.lut = 7}), normal);
    // The display palette holds every grey and fixed colour a lookup gives.
    const auto palette = CreateDisplayPalette();
    for (int i : {0, 8, 10, 128, 245, 249, 255}) {
        const RgbQuad e = i < 10 || i > 245 ? ColourOfIndex(i, 0) : Grey(i);
        EXPECT_EQ(palette[i], (PaletteEntry{e.red, e.green, e.blue})) << i;
    }
}

// Threshold colouring with whatever a settings file or an edit field holds:
// BG colours the first `bg` entries, MG the next `mg`, VG the rest.
TEST(ColourTable, ThresholdBandsStayInsideTheTable) {
    const struct {
        int thresh, mitte, bg, mg;
    } cases[] = {
        {128, 10, 128, 10},   {0, 10, 0, 10},       {250, 10, 250, 6},   {300, 5, 256, 0},
        {-5, 10, 0, 5},       {100, -5, 100, 0},    {kMin, kMax, 0, 0},  {kMin, kMin, 0, 0},
        {kMax, kMax, 256, 0}, {kMax, kMin, 256, 0}, {255, kMax, 255, 1}, {1, 2, 1, 2},
    };
    for (const auto& c : cases) {
        const auto t = Fill(
            {.lut = kThreshold, .thresh = c.thresh, .mitte = c.mitte, .bg = 1, .mg = 249, .vg = 3});
        for (int v = 0; v < 256; ++v) {
            const int colour = v < c.bg ? 1 : v < c.bg + c.mg ? 13 : 3;
            ASSERT_EQ(t[v], StaticColorTable[colour]) << c.thresh << "/" << c.mitte << " at " << v;
        }
    }
    // Indices that name none of the twenty colours give the band's default.
    const auto d = Fill({.lut = kThreshold, .bg = 10, .mg = 245, .vg = kMin});
    const RgbQuad mg{192, 220, 192, 0};
    EXPECT_EQ(std::tuple(d[127], d[128], d[137], d[138]), std::tuple(Grey(0), mg, mg, Grey(255)));
}

TEST(ColourTable, StepsRunThroughTheTwentyColoursAsARing) {
    const std::tuple<int, int, int> cases[] = {
        {9, 246, 8}, {246, 247, 9},       {255, 0, 254},
        {0, 1, 255}, {kMax, 0, kMax - 1}, {kMin, kMin + 1, 255},
    };
    for (const auto& [c, next, previous] : cases)
        EXPECT_EQ(std::pair(NextColour(c), PreviousColour(c)), std::pair(next, previous)) << c;
}

}  // namespace
}  // namespace qm71
