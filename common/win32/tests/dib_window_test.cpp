#include "common/win32/dib_window.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/dib/dib.h"
#include "testing/dib_picture.h"

namespace qm71::win32 {
namespace {

constexpr int kClientW = 48;
constexpr int kClientH = 24;
constexpr std::uint32_t kUnpainted = 0x123456;

// A 32-bit top-down DIB section to paint on, as a window's client area.
struct Canvas {
    Canvas() {
        BITMAPINFO info{};
        info.bmiHeader = {
            sizeof(BITMAPINFOHEADER), kClientW, -kClientH, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        pixels = static_cast<std::uint32_t*>(bits);
        dc = CreateCompatibleDC(nullptr);
        old = SelectObject(dc, bitmap);
        std::fill(pixels, pixels + kClientW * kClientH, kUnpainted);
    }
    ~Canvas() {
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    std::uint32_t At(int x, int y) const { return pixels[y * kClientW + x] & 0xFFFFFF; }
    void Paint(const Drawing& d) {
        DibWindow::Paint(dc, {0, 0, kClientW, kClientH}, d, buffer);
        GdiFlush();
    }

    HBITMAP bitmap;
    HDC dc;
    HGDIOBJ old;
    std::uint32_t* pixels = nullptr;
    std::vector<std::uint32_t> buffer;
};

TEST(DibWindowPaint, ThePictureLandsInItsPlacePixelForPixelWithBlackAround) {
    const auto block = testing::DibPicture();
    // Columns 2..13 of rows 1..6, doubled, at (5, 3).
    const Drawing d{.picture = block, .source = {2, 1, 14, 7}, .destination = {5, 3, 29, 15}};
    std::vector<std::uint32_t> expected(24 * 12);
    dib::DrawDib(*dib::ViewPackedDib(block), {2, 1, 12, 6}, {expected.data(), 24, 12, 24});

    Canvas canvas;
    canvas.Paint(d);
    for (int y = 0; y < kClientH; ++y) {
        for (int x = 0; x < kClientW; ++x) {
            const bool inside = x >= 5 && x < 29 && y >= 3 && y < 15;
            const std::uint32_t want = inside ? expected[(y - 3) * 24 + (x - 5)] & 0xFFFFFF : 0;
            ASSERT_EQ(canvas.At(x, y), want) << x << "," << y;
        }
    }
}

TEST(DibWindowPaint, TextIsBlackOnWhiteAtItsPlaceAndWithoutAPictureAllElseIsBlack) {
    Canvas canvas;
    canvas.Paint({.text = "Idle 7", .textAt = {20, 4}});
    int white = 0;
    int black = 0;
    for (int y = 0; y < kClientH; ++y) {
        for (int x = 0; x < kClientW; ++x) {
            const std::uint32_t c = canvas.At(x, y);
            if (x < 20 || y < 4) {
                ASSERT_EQ(c, 0u) << x << "," << y;
            }
            white += c == 0xFFFFFF;
            black += c == 0 && x >= 20 && y >= 4;
        }
    }
    EXPECT_GT(white, 20);
    EXPECT_GT(black, 5);
}

}  // namespace
}  // namespace qm71::win32
