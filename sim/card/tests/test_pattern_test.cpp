#include "sim/card/test_pattern.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

namespace qm71::sim {
namespace {

using Bytes = std::vector<std::byte>;

Bytes Row(const TestPattern& p, std::uint32_t frame, int row) {
    Bytes out(static_cast<std::size_t>(p.RowBytes()));
    p.Render(frame, row, out.data(), out.size());
    return out;
}
int At(const Bytes& b, std::size_t x) {
    return std::to_integer<int>(b[x]);
}

class TestPatternTest : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(TestPatternTest, RampBarsAndCounterAreRecognisable) {
    const TestPattern p(GetParam().first, GetParam().second);
    const int band = p.BandRows();

    // Ramp, below the moving block.
    const Bytes ramp = Row(p, 3, band - 1);
    EXPECT_EQ(At(ramp, 0), 0);
    EXPECT_EQ(std::to_integer<int>(ramp.back()), 255);
    EXPECT_TRUE(
        std::is_sorted(ramp.begin(), ramp.end(), [](std::byte a, std::byte b) { return a < b; }));

    // The block moves from frame to frame within its rows.
    const int blockRow = band / 4 + 1;
    EXPECT_NE(Row(p, 0, blockRow), Row(p, 1, blockRow));
    EXPECT_NE(Row(p, 0, blockRow), ramp);

    // Bars: eight levels, moving.
    const Bytes bars = Row(p, 0, band + 1);
    std::set<int> levels;
    for (auto b : bars) levels.insert(std::to_integer<int>(b));
    EXPECT_EQ(levels, (std::set<int>{0, 36, 72, 109, 145, 182, 218, 255}));
    EXPECT_NE(Row(p, 1, band + 1), bars);

    // Counter: 88888 lights every segment that 11111 lights, and more.
    long long lit8 = 0, lit1 = 0, lit1in8 = 0;
    for (int row = 2 * band; row < 3 * band; ++row) {
        const Bytes eights = Row(p, 88888, row);
        const Bytes ones = Row(p, 11111, row);
        for (std::size_t x = 0; x < eights.size(); ++x) {
            const bool on8 = At(eights, x) == TestPattern::kDigitValue;
            const bool on1 = At(ones, x) == TestPattern::kDigitValue;
            lit8 += on8;
            lit1 += on1;
            lit1in8 += on1 && on8;
            ASSERT_TRUE(on8 || At(eights, x) == TestPattern::kCounterGround);
        }
    }
    EXPECT_GT(lit1, 0);
    EXPECT_EQ(lit1in8, lit1);
    EXPECT_GT(lit8, 2 * lit1);
    // The counter wraps at five digits.
    EXPECT_EQ(Row(p, 100007, 2 * band + band / 2), Row(p, 7, 2 * band + band / 2));
}

INSTANTIATE_TEST_SUITE_P(Geometries, TestPatternTest,
                         ::testing::Values(std::pair{2056, 3072}, std::pair{640, 5000},
                                           std::pair{64, 100}));

TEST(TestPatternTest, WritesOnlyTheBytesAskedEvenInTinyGeometries) {
    const struct {
        int rows, width;
        std::size_t asked;
    } cases[] = {{1, 1, 2}, {3, 2, 3}, {8, 16, 17}, {640, 5000, 1000}};  // asked more or less
    for (const auto& c : cases) {
        const TestPattern p(c.rows, c.width);
        for (int row = 0; row < c.rows; ++row) {
            Bytes b(static_cast<std::size_t>(c.width) + 1, std::byte{0xAA});
            p.Render(99999, row, b.data(), c.asked);
            const auto end = std::min(c.asked, static_cast<std::size_t>(c.width));
            ASSERT_TRUE(std::all_of(b.begin() + static_cast<std::ptrdiff_t>(end), b.end(),
                                    [](std::byte v) { return v == std::byte{0xAA}; }))
                << c.rows << "x" << c.width << " row " << row;
        }
    }
}

}  // namespace
}  // namespace qm71::sim
