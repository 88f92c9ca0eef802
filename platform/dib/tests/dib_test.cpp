#include "platform/dib/dib.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace qm71::dib {
namespace {

constexpr std::uint32_t kUntouched = 0x12345678u;

// Every pixel value gets its own colour, with the reserved byte set so that a
// renderer passing it through would show.
std::vector<RgbQuad> DistinctColours() {
    std::vector<RgbQuad> table(256);
    for (int v = 0; v < 256; ++v) {
        table[std::size_t(v)] = RgbQuad{std::uint8_t(v ^ 0x5A), std::uint8_t(255 - v),
                                        std::uint8_t(v), std::uint8_t(0x77)};
    }
    return table;
}

// An 8-bit bitmap that owns its memory. The pixel buffer is exactly as large
// as the rows need, so a read past it shows up in the sanitizer build.
struct TestDib {
    int width;
    int height;  // signed as in the header
    std::vector<RgbQuad> colours = DistinctColours();
    std::vector<std::uint8_t> pixels;

    // value(x, y) with y counted from the top of the picture as seen.
    template <typename F>
    TestDib(int w, int h, F value) : width(w), height(h) {
        const int rows = h < 0 ? -h : h;
        pixels.assign(RowBytes(std::size_t(w)) * std::size_t(rows), 0xEE);
        for (int y = 0; y < rows; ++y) {
            for (int x = 0; x < w; ++x) pixels[Offset(x, y)] = std::uint8_t(value(x, y));
        }
    }
    int Rows() const { return height < 0 ? -height : height; }
    std::size_t Offset(int x, int y) const {
        const int stored = height > 0 ? Rows() - 1 - y : y;
        return std::size_t(stored) * RowBytes(std::size_t(width)) + std::size_t(x);
    }
    DibView View() const { return DibView{width, height, colours.data(), pixels.data()}; }
};

int Pattern(int x, int y) {
    return (x * 7 + y * 31 + 3) & 0xFF;
}

struct TestSurface {
    int width;
    int height;
    std::ptrdiff_t stride;
    std::vector<std::uint32_t> pixels;

    TestSurface(int w, int h, int padding = 0)
        : width(w),
          height(h),
          stride(w + padding),
          pixels(std::size_t(stride) * std::size_t(h > 0 ? h : 0), kUntouched) {}
    Surface View() { return Surface{pixels.data(), width, height, stride}; }
    std::uint32_t At(int x, int y) const { return pixels[std::size_t(y * stride + x)]; }
};

// The drawing rule written out pixel by pixel, as plainly as possible.
std::vector<std::uint32_t> Reference(const TestDib& dib, SourceRect src, int dstW, int dstH,
                                     bool mirror = false) {
    std::vector<std::uint32_t> out;
    for (int dy = 0; dy < dstH; ++dy) {
        for (int dx = 0; dx < dstW; ++dx) {
            const long long sx = src.x + (long long)dx * src.width / dstW;
            long long sy = src.y + (long long)dy * src.height / dstH;
            if (sx < 0 || sx >= dib.width || sy < 0 || sy >= dib.Rows()) {
                out.push_back(0xFF000000u);
                continue;
            }
            if (mirror) sy = dib.Rows() - 1 - sy;
            const RgbQuad q = dib.colours[dib.pixels[dib.Offset(int(sx), int(sy))]];
            out.push_back(0xFF000000u | std::uint32_t(q.red) << 16 | std::uint32_t(q.green) << 8 |
                          q.blue);
        }
    }
    return out;
}

// Draws and compares with the reference; padding columns must stay untouched.
void ExpectMatchesReference(const TestDib& dib, SourceRect src, int dstW, int dstH,
                            bool mirror = false) {
    SCOPED_TRACE("picture " + std::to_string(dib.width) + "x" + std::to_string(dib.height) +
                 " source " + std::to_string(src.x) + "," + std::to_string(src.y) + " " +
                 std::to_string(src.width) + "x" + std::to_string(src.height) + " surface " +
                 std::to_string(dstW) + "x" + std::to_string(dstH) + (mirror ? " mirrored" : ""));
    TestSurface surface(dstW, dstH, 3);
    DrawDib(dib.View(), src, surface.View(), DrawOptions{mirror});
    const std::vector<std::uint32_t> expected = Reference(dib, src, dstW, dstH, mirror);
    int wrong = 0;
    for (int y = 0; y < dstH; ++y) {
        for (int x = 0; x < dstW; ++x) {
            const std::uint32_t want = expected[std::size_t(y * dstW + x)];
            if (surface.At(x, y) != want && ++wrong <= 3) {
                ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << surface.At(x, y)
                              << " instead of " << want;
            }
        }
        for (int x = dstW; x < surface.stride; ++x) ASSERT_EQ(surface.At(x, y), kUntouched);
    }
    EXPECT_EQ(wrong, 0);
}

TEST(DrawDib, BottomUpShowsLastStoredRowAtTheTop) {
    // Three columns, so each stored row carries one byte of padding.
    TestDib dib(3, 2, [](int x, int y) { return y * 10 + x; });
    ASSERT_EQ(dib.pixels[0], 10);  // first stored row = bottom row of the picture
    TestSurface surface(3, 2);
    DrawDib(dib.View(), {0, 0, 3, 2}, surface.View());
    const std::vector<RgbQuad> colours = DistinctColours();
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) EXPECT_EQ(surface.At(x, y), SurfaceColour(colours[y * 10 + x]));
    }
}

TEST(DrawDib, TopDownShowsFirstStoredRowAtTheTop) {
    TestDib dib(3, -2, [](int x, int y) { return y * 10 + x; });
    ASSERT_EQ(dib.pixels[0], 0);
    TestSurface surface(3, 2);
    DrawDib(dib.View(), {0, 0, 3, 2}, surface.View());
    const std::vector<RgbQuad> colours = DistinctColours();
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) EXPECT_EQ(surface.At(x, y), SurfaceColour(colours[y * 10 + x]));
    }
}

TEST(DrawDib, MapsEveryValueThroughTheColourTableAndIgnoresReservedByte) {
    TestDib dib(16, 16, [](int x, int y) { return y * 16 + x; });
    dib.colours[200] = RgbQuad{0x11, 0x22, 0x33, 0xFF};
    TestSurface surface(16, 16);
    DrawDib(dib.View(), {0, 0, 16, 16}, surface.View());
    EXPECT_EQ(surface.At(200 % 16, 200 / 16), 0xFF332211u);
    for (int v = 0; v < 256; ++v) {
        const RgbQuad q = dib.colours[std::size_t(v)];
        const std::uint32_t want =
            0xFF000000u | std::uint32_t(q.red) << 16 | std::uint32_t(q.green) << 8 | q.blue;
        EXPECT_EQ(surface.At(v % 16, v / 16), want) << "value " << v;
    }
}

TEST(DrawDib, ScalesLikeTheWindowDoes) {
    const TestDib bottomUp(48, 40, Pattern);
    const TestDib topDown(37, -29, Pattern);
    for (const TestDib* dib : {&bottomUp, &topDown}) {
        ExpectMatchesReference(*dib, {0, 0, 32, 24}, 8, 6);    // x 0.25
        ExpectMatchesReference(*dib, {0, 0, 36, 28}, 18, 14);  // x 0.5
        ExpectMatchesReference(*dib, {0, 0, 37, 29}, 37, 29);  // x 1, whole picture
        ExpectMatchesReference(*dib, {0, 0, 13, 9}, 13, 9);    // x 1, top-left part
        ExpectMatchesReference(*dib, {0, 0, 11, 7}, 22, 14);   // x 2
        ExpectMatchesReference(*dib, {3, 5, 7, 6}, 28, 24);    // x 4 from inside
        ExpectMatchesReference(*dib, {2, 1, 30, 20}, 7, 9);    // no whole factor
        ExpectMatchesReference(*dib, {1, 2, 5, 4}, 17, 3);
    }
}

TEST(DrawDib, ShowsTheTopLeftPartWhenTheWindowIsSmaller) {
    // A 760 x 480 client at x 0.25 of a 3072 x 2056 picture: the rightmost 32
    // columns and the bottom 136 rows are not shown.
    const TestDib dib(3072, 2056, [](int x, int y) { return (x >= 3040 || y >= 1920) ? 1 : 2; });
    TestSurface surface(760, 480);
    DrawDib(dib.View(), {0, 0, 3040, 1920}, surface.View());
    const std::uint32_t shown = SurfaceColour(dib.colours[2]);
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 760; ++x) ASSERT_EQ(surface.At(x, y), shown) << x << "," << y;
    }
}

TEST(DrawDib, SourceOutsideThePictureIsBlackAndNeverRead) {
    const TestDib dib(10, 6, Pattern);
    ExpectMatchesReference(dib, {-3, -2, 16, 10}, 16, 10);  // a border all around
    ExpectMatchesReference(dib, {-5, 0, 10, 6}, 20, 12);    // left half outside, enlarged
    ExpectMatchesReference(dib, {4, 3, 12, 8}, 3, 2);       // right and bottom outside, reduced
    ExpectMatchesReference(dib, {-7, -1, 13, 9}, 5, 7);     // no whole factor
    ExpectMatchesReference(dib, {-3, -2, 16, 10}, 16, 10, true);
    ExpectMatchesReference(dib, {20, 20, 4, 4}, 4, 4);  // entirely outside
    ExpectMatchesReference(dib, {-100, 0, 50, 6}, 5, 6);

    // Extreme coordinates must not overflow into the picture.
    const int big = std::numeric_limits<int>::max();
    TestSurface surface(4, 4);
    DrawDib(dib.View(), {big - 2, big - 2, big, big}, surface.View());
    DrawDib(dib.View(), {-big, -big, big, big}, surface.View());
    for (std::uint32_t p : surface.pixels) EXPECT_EQ(p, kBlack);
}

TEST(DrawDib, RandomRectanglesMatchTheReference) {
    std::mt19937 random(71);
    auto between = [&](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(random);
    };
    for (int round = 0; round < 300; ++round) {
        const int w = between(1, 23);
        const int h = between(1, 17) * (between(0, 1) ? 1 : -1);
        const TestDib dib(w, h, Pattern);
        const SourceRect src{between(-6, w + 2), between(-6, 20), between(1, 30), between(1, 30)};
        ExpectMatchesReference(dib, src, between(1, 40), between(1, 25), between(0, 1) == 1);
        if (HasFailure()) return;
    }
}

TEST(DrawDib, MirrorShowsTheBottomRowsUpsideDown) {
    // Rows 0..3 from the top; stored bottom-up, so row 3 is stored first.
    const TestDib dib(4, 4, [](int x, int y) { return y * 4 + x; });
    TestSurface surface(4, 2);
    DrawDib(dib.View(), {0, 0, 4, 2}, surface.View(), DrawOptions{.mirrorVertical = true});
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(surface.At(x, 0), SurfaceColour(dib.colours[std::size_t(12 + x)]));
        EXPECT_EQ(surface.At(x, 1), SurfaceColour(dib.colours[std::size_t(8 + x)]));
    }
    // Without the option the same rectangle shows the top rows the right way up.
    DrawDib(dib.View(), {0, 0, 4, 2}, surface.View());
    EXPECT_EQ(surface.At(0, 0), SurfaceColour(dib.colours[0]));
    EXPECT_EQ(surface.At(0, 1), SurfaceColour(dib.colours[4]));
}

TEST(DrawDib, EveryPairOfNeighbouringValuesGetsItsOwnColours) {
    // Shown 1:1, surface columns 2k and 2k + 1 of row y show the values k and
    // y: every one of the 65536 pairs appears once.
    const TestDib dib(512, -256, [](int x, int y) { return x % 2 == 0 ? x / 2 : y; });
    ExpectMatchesReference(dib, {0, 0, 512, 256}, 512, 256);
    // Shifted by one column, so that the pairs start on odd source columns.
    ExpectMatchesReference(dib, {1, 0, 511, 256}, 511, 256);
    ExpectMatchesReference(dib, {-1, 0, 513, 256}, 513, 256);
}

TEST(DrawDib, WideReductionsMatchTheReferenceAndReadOnlyTheShownColumns) {
    // Top-down, width a multiple of four: the last stored row ends exactly at
    // the end of the pixel buffer, so reading past the last shown column of
    // the bottom row shows up in the sanitizer build.
    const TestDib dib(200, -9, Pattern);
    for (int step : {2, 3, 4, 5}) {
        for (int n : {1, 16, 17, 31, 33, 40}) {
            if ((n - 1) * step >= 200) continue;
            const int x = 199 - (n - 1) * step;  // last shown column is the last one
            ExpectMatchesReference(dib, {x, 0, n * step, 9}, n, 9);
            ExpectMatchesReference(dib, {0, 0, n * step, 9}, n, 9);
        }
    }
    // Ratios without a whole step, and an enlargement by 2 ending on the edge.
    ExpectMatchesReference(dib, {1, 0, 199, 9}, 70, 5);
    ExpectMatchesReference(dib, {13, 0, 187, 9}, 49, 3);
    ExpectMatchesReference(dib, {100, 0, 100, 9}, 200, 18);
    ExpectMatchesReference(dib, {101, 0, 99, 9}, 198, 9);
}

TEST(DrawDib, LongRowsAreDrawnInFullPastTheWorkingBuffer) {
    // 5000 shown columns at ratios without a whole step need more than one
    // pass through the renderer's buffer of picked columns.
    const TestDib dib(7000, -3, Pattern);
    ExpectMatchesReference(dib, {0, 0, 7000, 3}, 5000, 3);
    ExpectMatchesReference(dib, {0, 0, 6000, 3}, 3000, 3);  // step 2
    ExpectMatchesReference(dib, {0, 0, 5001, 3}, 5001, 3);  // 1:1
    ExpectMatchesReference(dib, {0, 0, 2501, 3}, 5002, 3);  // 2:1
}

TEST(DrawDib, ColourChangesBetweenDrawingsAreShown) {
    // The renderer keeps tables built from the colours drawn last; a changed
    // colour table must not be drawn with the old colours.
    TestDib dib(40, 12, Pattern);
    ExpectMatchesReference(dib, {0, 0, 40, 12}, 40, 12);
    dib.colours[std::size_t(Pattern(5, 5))] = RgbQuad{1, 2, 3, 0};
    ExpectMatchesReference(dib, {0, 0, 40, 12}, 40, 12);
    ExpectMatchesReference(dib, {0, 0, 40, 12}, 20, 6);   // reduction
    ExpectMatchesReference(dib, {0, 0, 20, 12}, 40, 12);  // enlargement by 2
    // Only the unused byte differs: same colours, same picture.
    dib.colours[7].reserved ^= 0xFF;
    ExpectMatchesReference(dib, {0, 0, 40, 12}, 40, 12);

    // Two pictures with different tables in turn, as two windows would draw.
    TestDib other(40, 12, Pattern);
    for (RgbQuad& q : other.colours) q = RgbQuad{q.red, q.blue, q.green, 0};
    for (int round = 0; round < 2; ++round) {
        ExpectMatchesReference(dib, {0, 0, 40, 12}, 40, 12);
        ExpectMatchesReference(other, {0, 0, 40, 12}, 40, 12);
    }
}

TEST(DrawDib, ThreadsWithDifferentColourTablesDrawTheirOwnColours) {
    TestDib first(64, 32, Pattern);
    TestDib second(64, 32, Pattern);
    for (RgbQuad& q : second.colours) q = RgbQuad{std::uint8_t(~q.blue), q.red, q.green, 0};
    auto drawMany = [](const TestDib* dib, bool* same) {
        const std::vector<std::uint32_t> want = Reference(*dib, {0, 0, 64, 32}, 64, 32);
        *same = true;
        for (int round = 0; round < 50 && *same; ++round) {
            std::vector<std::uint32_t> got(64 * 32);
            DrawDib(dib->View(), {0, 0, 64, 32}, Surface{got.data(), 64, 32, 64});
            *same = got == want;
        }
    };
    bool firstSame = false;
    bool secondSame = false;
    std::thread other(drawMany, &second, &secondSame);
    drawMany(&first, &firstSame);
    other.join();
    EXPECT_TRUE(firstSame);
    EXPECT_TRUE(secondSame);
}

TEST(DrawDib, DrawsNothingWithoutSomethingToDraw) {
    const TestDib dib(8, 8, Pattern);
    auto untouchedAfter = [&](const DibView& view, SourceRect src, int w, int h) {
        TestSurface surface(4, 4);
        DrawDib(view, src, Surface{surface.pixels.data(), w, h, 4});
        for (std::uint32_t p : surface.pixels) {
            if (p != kUntouched) return false;
        }
        return true;
    };
    EXPECT_TRUE(untouchedAfter(dib.View(), {0, 0, 0, 8}, 4, 4));
    EXPECT_TRUE(untouchedAfter(dib.View(), {0, 0, 8, 0}, 4, 4));
    EXPECT_TRUE(untouchedAfter(dib.View(), {0, 0, -8, 8}, 4, 4));
    EXPECT_TRUE(untouchedAfter(dib.View(), {0, 0, 8, 8}, 0, 4));
    EXPECT_TRUE(untouchedAfter(dib.View(), {0, 0, 8, 8}, 4, -1));
    EXPECT_TRUE(untouchedAfter(dib.View(), {0, 0, 8, 8}, 5, 4));  // stride 4 < width 5
    DibView noPixels = dib.View();
    noPixels.pixels = nullptr;
    EXPECT_TRUE(untouchedAfter(noPixels, {0, 0, 8, 8}, 4, 4));
    DibView noColours = dib.View();
    noColours.colours = nullptr;
    EXPECT_TRUE(untouchedAfter(noColours, {0, 0, 8, 8}, 4, 4));
    DibView noRowCount = dib.View();
    noRowCount.height = std::numeric_limits<int>::min();
    EXPECT_TRUE(untouchedAfter(noRowCount, {0, 0, 8, 8}, 4, 4));
    DrawDib(dib.View(), {0, 0, 8, 8}, Surface{nullptr, 4, 4, 4});  // must simply return
}

// A packed bitmap as the programs keep it: header, colour table, pixels.
struct PackedDib {
    std::vector<std::byte> bytes;

    PackedDib(std::int32_t width, std::int32_t height, std::size_t extraBytes = 0) {
        const std::size_t rows = std::size_t(height < 0 ? -std::int64_t(height) : height);
        const std::size_t pixelBytes = width > 0 ? RowBytes(std::size_t(width)) * rows : 0;
        bytes.resize(kInfoHeaderSize + kColourTableSize + pixelBytes + extraBytes);
        Put32(0, 40);
        Put32(4, std::uint32_t(width));
        Put32(8, std::uint32_t(height));
        Put16(12, 1);
        Put16(14, 8);
        for (std::size_t v = 0; v < 256; ++v) {
            bytes[kInfoHeaderSize + 4 * v] = std::byte(v);            // blue
            bytes[kInfoHeaderSize + 4 * v + 2] = std::byte(255 - v);  // red
        }
        for (std::size_t i = kInfoHeaderSize + kColourTableSize; i < bytes.size(); ++i) {
            bytes[i] = std::byte(i * 13);
        }
    }
    void Put16(std::size_t at, std::uint16_t v) {
        bytes[at] = std::byte(v & 0xFF);
        bytes[at + 1] = std::byte(v >> 8);
    }
    void Put32(std::size_t at, std::uint32_t v) {
        for (std::size_t i = 0; i < 4; ++i) bytes[at + i] = std::byte((v >> (8 * i)) & 0xFF);
    }
    std::optional<DibView> View() const { return ViewPackedDib(bytes); }
};

TEST(ViewPackedDib, ReadsTheImageBlockOfTheViewer) {
    const PackedDib block(3072, 2056);
    ASSERT_EQ(block.bytes.size(), 6'317'096u);
    const std::optional<DibView> view = block.View();
    ASSERT_TRUE(view.has_value());
    EXPECT_EQ(view->width, 3072);
    EXPECT_EQ(view->height, 2056);
    EXPECT_TRUE(view->BottomUp());
    EXPECT_EQ(static_cast<const void*>(view->colours), block.bytes.data() + 40);
    EXPECT_EQ(static_cast<const void*>(view->pixels), block.bytes.data() + 1064);
    EXPECT_EQ(view->colours[7], (RgbQuad{7, 0, 248, 0}));
}

TEST(ViewPackedDib, AcceptsTopDownPaddedRowsAndAFullColourCount) {
    PackedDib block(5, -3);  // rows padded to 8 bytes
    EXPECT_EQ(block.bytes.size(), 1064u + 24u);
    block.Put32(32, 256);
    const std::optional<DibView> view = block.View();
    ASSERT_TRUE(view.has_value());
    EXPECT_FALSE(view->BottomUp());
    EXPECT_EQ(view->Rows(), 3);

    TestSurface surface(5, 3);
    DrawDib(*view, {0, 0, 5, 3}, surface.View());
    // Top-down: picture row 1 is stored row 1, 8 bytes in.
    const std::uint8_t value = std::uint8_t(std::to_integer<int>(block.bytes[1064 + 8 + 2]));
    EXPECT_EQ(surface.At(2, 1), 0xFF000000u | std::uint32_t(255 - value) << 16 | value);
}

TEST(ViewPackedDib, RejectsWhatItCannotDraw) {
    auto rejected = [](PackedDib block, std::size_t at, std::uint32_t value, bool wide = true) {
        wide ? block.Put32(at, value) : block.Put16(at, std::uint16_t(value));
        return !block.View().has_value();
    };
    const PackedDib good(6, 4);
    ASSERT_TRUE(good.View().has_value());
    EXPECT_TRUE(rejected(good, 0, 12));          // old core header
    EXPECT_TRUE(rejected(good, 0, 124));         // newer header: table elsewhere
    EXPECT_TRUE(rejected(good, 14, 16, false));  // 16 bits per pixel
    EXPECT_TRUE(rejected(good, 14, 24, false));
    EXPECT_TRUE(rejected(good, 16, 1));                 // run-length compressed
    EXPECT_TRUE(rejected(good, 4, 0));                  // no width
    EXPECT_TRUE(rejected(good, 4, std::uint32_t(-6)));  // negative width
    EXPECT_TRUE(rejected(good, 8, 0));                  // no rows
    EXPECT_TRUE(rejected(good, 8, 0x80000000u));        // height that cannot be negated
    EXPECT_TRUE(rejected(good, 32, 16));                // short colour table
    EXPECT_TRUE(rejected(good, 8, 5));                  // one more row than the block holds
    EXPECT_TRUE(rejected(good, 4, 0x7FFFFFFF));         // huge width
    EXPECT_TRUE(rejected(good, 8, 0x7FFFFFFF));         // huge height

    PackedDib shortBlock = good;
    shortBlock.bytes.pop_back();
    EXPECT_FALSE(shortBlock.View().has_value());
    EXPECT_FALSE(ViewPackedDib(std::span(good.bytes).first(39)).has_value());
    EXPECT_FALSE(ViewPackedDib(std::span(good.bytes).first(1063)).has_value());
    EXPECT_FALSE(ViewPackedDib({}).has_value());
    EXPECT_TRUE(PackedDib(6, 4, 100).View().has_value());  // trailing bytes are fine
}

}  // namespace
}  // namespace qm71::dib
