#include "platform/dib/dib.h"

#include <gtest/gtest.h>

#include <future>
#include <limits>
#include <random>
#include <string>
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

std::uint32_t Argb(RgbQuad q) {
    return 0xFF000000u | std::uint32_t(q.red) << 16 | std::uint32_t(q.green) << 8 | q.blue;
}

int Pattern(int x, int y) {
    return (x * 7 + y * 31 + 3) & 0xFF;
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
        pixels.assign(RowBytes(std::size_t(w)) * std::size_t(Rows()), 0xEE);
        for (int y = 0; y < Rows(); ++y) {
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

// A surface of w x h with a stride of w + padding, all pixels kUntouched.
struct TestSurface {
    int width, height;
    std::ptrdiff_t stride;
    std::vector<std::uint32_t> pixels;

    TestSurface(int w, int h, int padding = 0)
        : width(w), height(h), stride(w + padding), pixels(std::size_t(stride * h), kUntouched) {}
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
            out.push_back(Argb(dib.colours[dib.pixels[dib.Offset(int(sx), int(sy))]]));
        }
    }
    return out;
}

// Draws and compares with the reference; padding columns must stay untouched.
void ExpectMatchesReference(const TestDib& dib, SourceRect src, int dstW, int dstH,
                            bool mirror = false) {
    TestSurface surface(dstW, dstH, 3);
    DrawDib(dib.View(), src, surface.View(), DrawOptions{mirror});
    const std::vector<std::uint32_t> expected = Reference(dib, src, dstW, dstH, mirror);
    for (int y = 0; y < dstH; ++y) {
        for (int x = 0; x < surface.stride; ++x) {
            const std::uint32_t want = x < dstW ? expected[std::size_t(y * dstW + x)] : kUntouched;
            if (surface.At(x, y) == want) continue;
            ADD_FAILURE() << "picture " << dib.width << "x" << dib.height << " source " << src.x
                          << "," << src.y << " " << src.width << "x" << src.height << " surface "
                          << dstW << "x" << dstH << (mirror ? " mirrored" : "") << ": pixel " << x
                          << "," << y << " is " << std::hex << surface.At(x, y) << " not " << want;
            return;
        }
    }
}

TEST(DrawDib, StorageOrderColourTableAndMirror) {
    // Three columns, so each stored row carries one byte of padding.
    for (int height : {2, -2}) {
        const TestDib dib(3, height, [](int x, int y) { return y * 10 + x; });
        ASSERT_EQ(dib.pixels[0], height > 0 ? 10 : 0);  // bottom-up stores the last row first
        ExpectMatchesReference(dib, {0, 0, 3, 2}, 3, 2);
    }
    // Every value goes through the table; the reserved byte never shows.
    TestDib all(16, 16, [](int x, int y) { return y * 16 + x; });
    all.colours[200] = RgbQuad{0x11, 0x22, 0x33, 0xFF};
    ExpectMatchesReference(all, {0, 0, 16, 16}, 16, 16);
    TestSurface surface(16, 16);
    DrawDib(all.View(), {0, 0, 16, 16}, surface.View());
    EXPECT_EQ(surface.At(200 % 16, 200 / 16), 0xFF332211u);

    // Mirrored, the top of the surface shows the bottom rows upside down.
    DrawDib(all.View(), {0, 0, 16, 2}, surface.View(), DrawOptions{.mirrorVertical = true});
    for (int x = 0; x < 16; ++x) {
        EXPECT_EQ(surface.At(x, 0), Argb(all.colours[std::size_t(240 + x)]));
        EXPECT_EQ(surface.At(x, 15), Argb(all.colours[std::size_t(224 + x)]));
    }
}

TEST(DrawDib, ScaledAndPartlyOutsideSourcesMatchTheReference) {
    struct Case {
        SourceRect src;
        int w, h;
    };
    // x 0.25, x 0.5, x 1, x 2, x 4 from inside, no whole factor
    const Case inside[] = {{{0, 0, 32, 24}, 8, 6},   {{0, 0, 36, 28}, 18, 14},
                           {{0, 0, 37, 29}, 37, 29}, {{0, 0, 11, 7}, 22, 14},
                           {{3, 5, 7, 6}, 28, 24},   {{2, 1, 30, 20}, 7, 9}};
    for (int height : {40, -29}) {
        const TestDib dib(48, height, Pattern);
        for (const Case& c : inside) ExpectMatchesReference(dib, c.src, c.w, c.h);
    }
    // Outside the picture is black, and nothing outside it is read: a border
    // all around, left half outside enlarged, right and bottom outside reduced,
    // entirely outside.
    const Case outside[] = {{{-3, -2, 16, 10}, 16, 10},
                            {{-5, 0, 10, 6}, 20, 12},
                            {{4, 3, 12, 8}, 3, 2},
                            {{20, 20, 4, 4}, 4, 4}};
    const TestDib small(10, 6, Pattern);
    for (const Case& c : outside) {
        ExpectMatchesReference(small, c.src, c.w, c.h);
        ExpectMatchesReference(small, c.src, c.w, c.h, true);
    }
    // Extreme coordinates must not overflow into the picture.
    const int big = std::numeric_limits<int>::max();
    TestSurface surface(4, 4);
    DrawDib(small.View(), {big - 2, big - 2, big, big}, surface.View());
    DrawDib(small.View(), {-big, -big, big, big}, surface.View());
    for (std::uint32_t p : surface.pixels) EXPECT_EQ(p, kBlack);
}

TEST(DrawDib, RandomRectanglesMatchTheReference) {
    std::mt19937 random(71);
    auto between = [&](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(random);
    };
    for (int round = 0; round < 300 && !HasFailure(); ++round) {
        const int w = between(1, 23);
        const int h = between(1, 17) * (between(0, 1) ? 1 : -1);
        const TestDib dib(w, h, Pattern);
        const SourceRect src{between(-6, w + 2), between(-6, 20), between(1, 30), between(1, 30)};
        ExpectMatchesReference(dib, src, between(1, 40), between(1, 25), between(0, 1) == 1);
    }
}

TEST(DrawDib, WideAndLongRowsReadOnlyTheShownColumns) {
    // Top-down, width a multiple of four: the last stored row ends exactly at
    // the end of the pixel buffer, so reading past the last shown column of
    // the bottom row shows up in the sanitizer build.
    const TestDib dib(200, -9, Pattern);
    for (int step : {2, 3, 4, 5}) {
        for (int n : {1, 17, 33, 40}) {
            if ((n - 1) * step >= 200) continue;
            const int x = 199 - (n - 1) * step;  // last shown column is the last one
            ExpectMatchesReference(dib, {x, 0, n * step, 9}, n, 9);
        }
    }
    ExpectMatchesReference(dib, {13, 0, 187, 9}, 49, 3);   // no whole step
    ExpectMatchesReference(dib, {101, 0, 99, 9}, 198, 9);  // x 2 ending on the edge
    // More columns than one pass through the renderer's working buffer holds.
    const TestDib wide(7000, -3, Pattern);
    ExpectMatchesReference(wide, {0, 0, 7000, 3}, 5000, 3);
    ExpectMatchesReference(wide, {0, 0, 6000, 3}, 3000, 3);
    ExpectMatchesReference(wide, {0, 0, 5001, 3}, 5001, 3);
    ExpectMatchesReference(wide, {0, 0, 2501, 3}, 5002, 3);
}

TEST(DrawDib, PairTablesFollowTheColourTable) {
    // Shown 1:1, surface columns 2k and 2k + 1 of row y show the values k and
    // y: every one of the 65536 pairs appears, also starting on odd columns.
    const TestDib pairs(512, -256, [](int x, int y) { return x % 2 == 0 ? x / 2 : y; });
    ExpectMatchesReference(pairs, {0, 0, 512, 256}, 512, 256);
    ExpectMatchesReference(pairs, {1, 0, 511, 256}, 511, 256);

    // A changed colour table must not be drawn with the old colours.
    TestDib dib(40, 12, Pattern);
    ExpectMatchesReference(dib, {0, 0, 40, 12}, 40, 12);
    dib.colours[std::size_t(Pattern(5, 5))] = RgbQuad{1, 2, 3, 0};
    ExpectMatchesReference(dib, {0, 0, 40, 12}, 40, 12);
    ExpectMatchesReference(dib, {0, 0, 40, 12}, 20, 6);
    ExpectMatchesReference(dib, {0, 0, 20, 12}, 40, 12);
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
    auto drawMany = [](const TestDib& dib) {
        const std::vector<std::uint32_t> want = Reference(dib, {0, 0, 64, 32}, 64, 32);
        std::vector<std::uint32_t> got(64 * 32);
        for (int round = 0; round < 50; ++round) {
            DrawDib(dib.View(), {0, 0, 64, 32}, Surface{got.data(), 64, 32, 64});
            if (got != want) return false;
        }
        return true;
    };
    auto other = std::async(std::launch::async, drawMany, std::cref(second));
    EXPECT_TRUE(drawMany(first));
    EXPECT_TRUE(other.get());
}

TEST(DrawDib, DrawsNothingWithoutSomethingToDraw) {
    const TestDib dib(8, 8, Pattern);
    DibView noPixels = dib.View(), noColours = dib.View(), noRowCount = dib.View();
    noPixels.pixels = nullptr;
    noColours.colours = nullptr;
    noRowCount.height = std::numeric_limits<int>::min();
    struct Case {
        DibView view;
        SourceRect src;
        int w, h;
    };
    const SourceRect all{0, 0, 8, 8};
    // clang-format off
    const Case cases[] = {
        {dib.View(), {0, 0, 0, 8}, 4, 4}, {dib.View(), {0, 0, 8, 0}, 4, 4},
        {dib.View(), {0, 0, -8, 8}, 4, 4}, {dib.View(), all, 0, 4}, {dib.View(), all, 4, -1},
        {dib.View(), all, 5, 4} /* stride 4 < width 5 */,
        {noPixels, all, 4, 4}, {noColours, all, 4, 4}, {noRowCount, all, 4, 4},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        TestSurface surface(4, 4);
        DrawDib(cases[i].view, cases[i].src, {surface.pixels.data(), cases[i].w, cases[i].h, 4});
        EXPECT_EQ(surface.pixels, TestSurface(4, 4).pixels) << "case " << i;
    }
    DrawDib(dib.View(), {0, 0, 8, 8}, Surface{nullptr, 4, 4, 4});  // must simply return
}

// A packed bitmap as the programs keep it: header, colour table, pixels.
struct PackedDib {
    std::vector<std::byte> bytes;

    PackedDib(std::int32_t width, std::int32_t height, std::size_t extraBytes = 0) {
        const std::size_t rows = std::size_t(height < 0 ? -std::int64_t(height) : height);
        bytes.resize(kInfoHeaderSize + kColourTableSize + RowBytes(std::size_t(width)) * rows +
                     extraBytes);
        Put(0, 40);
        Put(4, std::uint32_t(width));
        Put(8, std::uint32_t(height));
        Put(12, 0x00080001);  // one plane, 8 bits per pixel
        for (std::size_t v = 0; v < 256; ++v) {
            bytes[kInfoHeaderSize + 4 * v] = std::byte(v);            // blue
            bytes[kInfoHeaderSize + 4 * v + 2] = std::byte(255 - v);  // red
        }
        for (std::size_t i = kInfoHeaderSize + kColourTableSize; i < bytes.size(); ++i) {
            bytes[i] = std::byte(i * 13);
        }
    }
    void Put(std::size_t at, std::uint32_t v) {
        for (std::size_t i = 0; i < 4; ++i) bytes[at + i] = std::byte((v >> (8 * i)) & 0xFF);
    }
    std::optional<DibView> View() const { return ViewPackedDib(bytes); }
};

TEST(ViewPackedDib, FindsTableAndPixelsInTheBlock) {
    PackedDib block(5, -3);  // rows padded to 8 bytes, full colour count given
    block.Put(32, 256);
    const std::optional<DibView> view = block.View();
    ASSERT_TRUE(view.has_value());
    EXPECT_EQ(view->height, -3);
    EXPECT_EQ(static_cast<const void*>(view->colours), block.bytes.data() + 40);
    EXPECT_EQ(static_cast<const void*>(view->pixels), block.bytes.data() + 1064);
    TestSurface surface(5, 3);
    DrawDib(*view, {0, 0, 5, 3}, surface.View());
    // Top-down: picture row 1 is stored row 1, 8 bytes in.
    const std::uint8_t value = std::uint8_t(std::to_integer<int>(block.bytes[1064 + 8 + 2]));
    EXPECT_EQ(surface.At(2, 1), 0xFF000000u | std::uint32_t(255 - value) << 16 | value);
    EXPECT_TRUE(PackedDib(6, 4, 100).View().has_value());  // trailing bytes are fine
}

TEST(ViewPackedDib, RejectsBadHeadersAndShortBlocks) {
    struct Case {
        std::size_t at;
        std::uint32_t value;
        const char* what;
    };
    // clang-format off
    const Case cases[] = {
        {0, 12, "old core header"}, {0, 124, "newer header: table elsewhere"},
        {14, 16, "16 bits per pixel"}, {14, 24, "24 bits per pixel"},
        {16, 1, "run-length compressed"},
        {4, 0, "no width"}, {4, std::uint32_t(-6), "negative width"}, {4, 0x7FFFFFFF, "huge width"},
        {8, 0, "no rows"}, {8, 0x80000000u, "height that cannot be negated"},
        {8, 5, "one more row than the block holds"}, {8, 0x7FFFFFFF, "huge height"},
        {32, 16, "short colour table"},
    };
    // clang-format on
    const PackedDib good(6, 4);
    ASSERT_TRUE(good.View().has_value());
    for (const Case& c : cases) {
        PackedDib bad = good;
        bad.Put(c.at, c.value);
        EXPECT_FALSE(bad.View().has_value()) << c.what;
    }
    for (std::size_t size :
         {good.bytes.size() - 1, std::size_t{1063}, std::size_t{39}, std::size_t{0}}) {
        EXPECT_FALSE(ViewPackedDib(std::span(good.bytes).first(size)).has_value()) << size;
    }
}

}  // namespace
}  // namespace qm71::dib
