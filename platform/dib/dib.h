#pragma once

// Drawing 8-bit and 16-bit device-independent bitmaps into a 32-bit surface.
//
// The programs keep their pictures as Windows-style DIBs: an info header, a
// 256-entry colour table and one byte per pixel with every row padded to four
// bytes, usually stored bottom-up. Frames of deeper cameras come as 16-bit
// DIBs without a colour table, each pixel 5-5-5 RGB as such a bitmap is shown.
// This renderer maps the pixels through the colour table (or expands the
// 5-bit channels) and stretches a part of the picture over a 32-bit buffer with
// nearest-neighbour sampling; the front end then only copies that buffer to the
// screen.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "platform/dib/bitmap_header.h"
#include "platform/dib/rgb_quad.h"

namespace qm71::dib {

// A borrowed 8-bit or 16-bit bitmap. Nothing is owned: the colour table and
// the pixels must outlive the view.
struct DibView {
    int width = 0;
    // As in the info header: positive means the rows are stored bottom-up (the
    // first stored row is the bottom of the picture), negative means top-down.
    int height = 0;
    const RgbQuad* colours = nullptr;      // 256 entries; unused at 16 bits
    const std::uint8_t* pixels = nullptr;  // Rows() rows of Stride() bytes
    // 8: one colour table index per pixel. 16: one little-endian 5-5-5 pixel,
    // red in bits 14..10, green in 9..5, blue in 4..0, bit 15 unused.
    int bitsPerPixel = 8;

    bool BottomUp() const { return height > 0; }
    int Rows() const { return height < 0 ? -height : height; }
    std::size_t Stride() const {
        return RowBytes(width > 0 ? std::size_t(width) : 0, bitsPerPixel);
    }
    // The stored bytes of picture row `y`, counted from the top as the picture
    // is seen, whatever the order in memory. No range check.
    const std::uint8_t* Row(int y) const {
        const int stored = BottomUp() ? Rows() - 1 - y : y;
        return pixels + std::size_t(stored) * Stride();
    }
};

// Makes a view of a packed bitmap: info header (little-endian), colour table,
// pixels. Accepts only what the renderer can draw: header size 40, no
// compression, width > 0, height != 0, and either 8 bits per pixel with a
// colour table of all 256 entries (colours used 0 or 256) or 16 bits per pixel
// without one (colours used 0, the pixels right after the header); and a block
// long enough for the table and every padded row. Anything else gives no view. The planes and
// image-size fields are not looked at.
std::optional<DibView> ViewPackedDib(std::span<const std::byte> block);

// A 32-bit target, rows top-down, each pixel 0xFFRRGGBB (the memory layout of
// Qt's QImage::Format_RGB32 on a little-endian machine).
struct Surface {
    std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;  // in pixels, at least `width`
};

// A rectangle of the picture in picture pixels; (0, 0) is the top-left corner
// of the picture as seen.
struct SourceRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The colour a pixel value of this colour table is drawn with, as 0xFFRRGGBB.
constexpr std::uint32_t SurfaceColour(RgbQuad q) {
    return 0xFF000000u | std::uint32_t(q.red) << 16 | std::uint32_t(q.green) << 8 |
           std::uint32_t(q.blue);
}
inline constexpr std::uint32_t kBlack = 0xFF000000u;

// Stretches `src` over the whole of `dst`. Surface pixel (dx, dy) shows picture
// pixel (src.x + floor(dx * src.width / dst.width),
//        src.y + floor(dy * src.height / dst.height)),
// mapped through the colour table, or at 16 bits with each 5-bit channel v
// widened to (v << 3 | v >> 2). Parts of the source rectangle outside the
// picture are drawn black and never read. An empty source rectangle, an empty
// or malformed surface, or a view without pixels, a row count (height
// INT_MIN), 8 or 16 bits per pixel or, at 8 bits, a colour table draws nothing.
//
// Each drawing thread keeps a 512 KB table built from the colours it drew with
// last and builds it again when the colours change, so drawing stays fast
// while the colour table stays the same; the table goes with its thread.
// 16-bit pictures need no table.
void DrawDib(const DibView& dib, SourceRect src, Surface dst);

}  // namespace qm71::dib
