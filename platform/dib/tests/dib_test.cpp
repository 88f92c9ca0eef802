#include "platform/dib/dib.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <vector>

#include "platform/little_endian.h"

namespace qm71::dib {
namespace {

constexpr std::uint32_t kUntouched = 0x12345678u;
constexpr int kBig = std::numeric_limits<int>::max();

// An 8-bit picture owning exactly the bytes its rows need, so that a read past
// them shows in the sanitizer build. Every value has its own colour, with the
// reserved byte set so that passing it through would show. With `pairs`,
// columns 2k and 2k + 1 of stored row y hold k and y: shown 1:1 at 512 x 256,
// every pair of values appears. At 16 bits the bytes make pixels with every
// channel value and bit 15 both set and clear.
struct TestDib {
    int width, height;  // height signed as in the header
    int bits = 8;
    std::vector<RgbQuad> colours;
    std::vector<std::uint8_t> pixels;

    TestDib(int w, int h, bool pairs = false, int bitsPerPixel = 8)
        : width(w), height(h), bits(bitsPerPixel) {
        for (int v = 0; v < 256; ++v)
            colours.push_back(
                {std::uint8_t(v ^ 0x5A), std::uint8_t(255 - v), std::uint8_t(v), 0x77});
        const std::size_t stride = RowBytes(std::size_t(w), bits);
        pixels.resize(stride * std::size_t(Rows()));
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            const std::size_t x = i % stride, y = i / stride;
            pixels[i] = std::uint8_t(pairs ? (x % 2 ? y : x / 2) : x * 7 + y * 31 + 3);
        }
    }
    int Rows() const { return height < 0 ? -height : height; }
    DibView View() const { return DibView{width, height, colours.data(), pixels.data(), bits}; }
};

// The drawing rule written out pixel by pixel, as plainly as possible, on a
// surface three pixels wider than drawn: those columns must stay untouched.
void ExpectMatchesReference(const TestDib& dib, SourceRect src, int w, int h) {
    const int stride = w + 3;
    std::vector<std::uint32_t> got(std::size_t(stride * h), kUntouched);
    DrawDib(dib.View(), src, Surface{got.data(), w, h, stride});
    for (int dy = 0; dy < h; ++dy) {
        for (int dx = 0; dx < stride; ++dx) {
            const long long sx = src.x + (long long)dx * src.width / w;
            const long long sy = src.y + (long long)dy * src.height / h;  // from the top
            // Stored rows count from the bottom, unless top-down.
            const long long stored = dib.height > 0 ? dib.Rows() - 1 - sy : sy;
            std::uint32_t want = kUntouched;
            if (dx < w && (sx < 0 || sx >= dib.width || sy < 0 || sy >= dib.Rows())) {
                want = kBlack;
            } else if (dx < w && dib.bits == 8) {
                const RgbQuad q = dib.colours[dib.pixels[std::size_t(
                    stored * (long long)RowBytes(std::size_t(dib.width)) + sx)]];
                want =
                    0xFF000000u | std::uint32_t(q.red) << 16 | std::uint32_t(q.green) << 8 | q.blue;
            } else if (dx < w) {
                const std::uint8_t* p = &dib.pixels[std::size_t(
                    stored * (long long)RowBytes(std::size_t(dib.width), 16) + 2 * sx)];
                const std::uint32_t v = p[0] | p[1] << 8;
                want = 0xFF000000u;
                for (int shift : {10, 5, 0}) {
                    const std::uint32_t c = (v >> shift) & 31;
                    want |= c * 33 / 4
                            << (shift / 5 * 8);  // the top bits repeated below: 31 -> 255
                }
            }
            ASSERT_EQ(got[std::size_t(dy * stride + dx)], want)
                << dib.width << "x" << dib.height << " from " << src.x << "," << src.y << " "
                << src.width << "x" << src.height << " on " << w << "x" << h << " at " << dx << ","
                << dy;
        }
    }
}

TEST(DrawDib, EveryScaleEdgeAndColourTableMatchesTheReference) {
    const struct {
        int width, height;
        SourceRect src;
        int w, h;
        bool pairs = false;
    } cases[] = {
        {3, 2, {0, 0, 3, 2}, 3, 2},                       // rows with a padding byte, bottom-up
        {3, -2, {0, 0, 3, 2}, 3, 2},                      // and top-down
        {3072, 2056, {0, 0, 3072, 2056}, 768, 514},       // the viewer at x 0.25
        {5000, 640, {0, 0, 5000, 640}, 625, 80},          // the line demo at 1:8
        {5000, 640, {0, 0, 5000, 640}, 1250, 160},        // and at 1:4
        {3072, 2056, {1000, 600, 640, 512}, 1280, 1024},  // at x 2, a part
        {48, 40, {0, 0, 36, 28}, 18, 14},                 // x 0.5
        {48, -29, {3, 5, 7, 6}, 28, 24},                  // x 4
        {48, 40, {2, 1, 30, 20}, 7, 9},                   // no whole factor
        {16, 16, {0, 14, 16, 2}, 16, 16},                 // the bottom rows enlarged
        {10, 6, {-3, -2, 16, 10}, 16, 10},                // a black border all around
        {10, 6, {-5, 0, 10, 6}, 20, 12},                  // left half outside, enlarged
        {10, 6, {-2, 1, 7, 4}, 21, 12},                   // x 3, left border
        {10, 6, {4, 3, 12, 8}, 3, 2},                     // right and bottom outside, reduced
        {10, 6, {20, 20, 4, 4}, 4, 4},                    // entirely outside
        {200, -9, {4, 0, 196, 9}, 40, 9},                 // the last column shown is the last one
        {200, -9, {101, 0, 99, 9}, 198, 9},               // x 2 ending on the edge
        {7000, -3, {0, 0, 7000, 3}, 5000, 3},             // wider than one pass of the renderer
        {7000, -3, {0, 0, 2501, 3}, 5002, 3},
        {512, -256, {0, 0, 512, 256}, 512, 256, true},
        {512, -256, {1, 0, 511, 256}, 511, 256, true},  // pairs from odd columns
        {37, 21, {-3, 2, 37, 21}, 37, 21},
        {300, -5, {1, 0, 298, 5}, 149, 5},     // x 0.5 from an odd column
        {264, -1, {7, 0, 264, 1}, 33, 1},      // 1:8 up to the last byte of the picture
        {5000, -2, {1, 0, 4998, 2}, 2499, 2},  // x 0.5, wider than one pass
    };
    // At 16 bits odd widths leave a padding pair, and the pairs give every
    // value of both bytes.
    for (const auto& c : cases)
        for (const int bits : {8, 16})
            ExpectMatchesReference(TestDib(c.width, c.height, c.pairs, bits), c.src, c.w, c.h);

    std::mt19937 random(71);
    const auto between = [&](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(random);
    };
    for (int round = 0; round < 300 && !HasFailure(); ++round) {
        const int w = between(1, 23);
        const TestDib dib(w, between(1, 17) * (between(0, 1) ? 1 : -1));
        const SourceRect src{between(-6, w + 2), between(-6, 20), between(1, 30), between(1, 30)};
        ExpectMatchesReference(dib, src, between(1, 40), between(1, 25));
    }
    // A changed colour table is not drawn with the old colours, also when two
    // pictures are drawn in turn, as two windows would.
    TestDib dib(40, 12), other(40, 12);
    for (RgbQuad& q : other.colours) q = RgbQuad{q.red, q.blue, q.green, 0};
    ExpectMatchesReference(dib, {0, 0, 40, 12}, 40, 12);
    dib.colours[dib.pixels[5]] = RgbQuad{1, 2, 3, 0};
    for (int round = 0; round < 2; ++round) {
        ExpectMatchesReference(dib, {0, 0, 40, 12}, 20, 6);
        ExpectMatchesReference(other, {0, 0, 20, 12}, 40, 12);
    }
}

TEST(DrawDib, DrawsNothingWithoutSomethingToDrawAndNothingOutsideThePicture) {
    const TestDib dib(8, 8);
    const struct {
        SourceRect src;
        int w;  // on a surface of 4 x 4
        std::uint32_t drawn;
    } cases[] = {{{0, 0, 0, 8}, 4, kUntouched},
                 {{0, 0, 8, -8}, 4, kUntouched},
                 {{0, 0, 8, 8}, 0, kUntouched},
                 {{0, 0, 8, 8}, 5, kUntouched},  // wider than its stride
                 {{kBig - 2, kBig - 2, kBig, kBig}, 4, kBlack},
                 {{-kBig, -kBig, kBig, kBig}, 4, kBlack}};
    for (const auto& c : cases) {
        std::vector<std::uint32_t> surface(16, kUntouched);
        DrawDib(dib.View(), c.src, {surface.data(), c.w, 4, 4});
        EXPECT_EQ(surface, std::vector<std::uint32_t>(16, c.drawn)) << c.src.x << " " << c.w;
    }
}

TEST(ViewPackedDib, FindsTableAndPixelsWhereTheBlockHoldsThem) {
    // 6 x 4, top-down: header, table, four rows of 8 bytes, and a spare byte.
    std::vector<std::byte> block(40 + 1024 + 4 * 8 + 1);
    const auto put = [&](std::size_t at, std::uint32_t v) { StoreLe32(block.data() + at, v); };
    for (const auto& [at, value] : {std::pair{0, 40}, {4, 6}, {8, -4}, {12, 0x00080001}, {32, 256}})
        put(std::size_t(at), std::uint32_t(value));
    const std::optional<DibView> view = ViewPackedDib(block);
    ASSERT_TRUE(view.has_value());
    EXPECT_EQ(std::tuple(view->height, static_cast<const void*>(view->colours),
                         static_cast<const void*>(view->pixels)),
              std::tuple(-4, block.data() + 40, block.data() + 1064));
    // A block that does not hold every row gives no view.
    put(8, 5);
    EXPECT_FALSE(ViewPackedDib(block).has_value());

    // At 16 bits the same 6 x 4 takes rows of 12 bytes right after the header,
    // and there is no colour table to point at.
    for (const auto& [at, value] : {std::pair{8, -4}, {12, 0x00100001}, {32, 0}})
        put(std::size_t(at), std::uint32_t(value));
    block.resize(40 + 4 * 12);
    const std::optional<DibView> wide = ViewPackedDib(block);
    ASSERT_TRUE(wide.has_value());
    EXPECT_EQ(std::tuple(wide->bitsPerPixel, wide->colours, static_cast<const void*>(wide->pixels)),
              std::tuple(16, nullptr, block.data() + 40));
    block.pop_back();
    EXPECT_FALSE(ViewPackedDib(block).has_value());
    block.push_back({});
    put(32, 256);  // a 16-bit bitmap with a colour table is not one of ours
    EXPECT_FALSE(ViewPackedDib(block).has_value());
}

}  // namespace
}  // namespace qm71::dib
