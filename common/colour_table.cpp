#include "common/colour_table.h"

#include <algorithm>
#include <cstdint>

namespace qm71 {

namespace {
constexpr RgbQuad Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return {b, g, r, 0};
}
constexpr RgbQuad Grey(int v) {
    const auto g = static_cast<std::uint8_t>(v);
    return {g, g, g, 0};
}
}  // namespace

const std::array<RgbQuad, 20> StaticColorTable{{
    Rgb(0, 0, 0),       Rgb(128, 0, 0),     Rgb(0, 128, 0),     Rgb(128, 128, 0),
    Rgb(0, 0, 128),     Rgb(128, 0, 128),   Rgb(0, 128, 128),   Rgb(192, 192, 192),
    Rgb(192, 220, 192), Rgb(166, 202, 240), Rgb(255, 251, 240), Rgb(160, 160, 164),
    Rgb(128, 128, 128), Rgb(255, 0, 0),     Rgb(0, 255, 0),     Rgb(255, 255, 0),
    Rgb(0, 0, 255),     Rgb(255, 0, 255),   Rgb(0, 255, 255),   Rgb(255, 255, 255),
}};

// The ring's wrap is tested before the step, so that a stored index at the
// end of int wraps like any other index past the ring instead of overflowing.
int NextColour(int c) {
    if (c >= 255) return 0;
    ++c;
    return c == 10 ? 246 : c;
}

int PreviousColour(int c) {
    if (c <= 0) return 255;
    --c;
    return c == 245 ? 9 : c;
}

RgbQuad ColourOfIndex(int index, int fallback) {
    if (!IsColourIndex(index)) index = fallback;
    return StaticColorTable[static_cast<std::size_t>(ColourItem(index))];
}

void FillColorTable(const ColouringSettings& s, std::span<RgbQuad, 256> table) {
    switch (s.lut) {
        case kInverse:
            for (int v = 0; v < 256; ++v)
                table[v] = v < 10 ? Grey(255) : v > 245 ? Grey(0) : Grey(255 - v);
            return;
        case kThreshold: {
            // Band limits in 64 bits so that no stored value can overflow them,
            // then cut to the table.
            const auto thresh =
                static_cast<std::ptrdiff_t>(std::clamp<std::int64_t>(s.thresh, 0, 256));
            const auto end = static_cast<std::ptrdiff_t>(
                std::clamp<std::int64_t>(std::int64_t{s.thresh} + s.mitte, thresh, 256));
            const RgbQuad bg = ColourOfIndex(s.bg, kDefaultBg);
            const RgbQuad mg = ColourOfIndex(s.mg, kDefaultMg);
            const RgbQuad vg = ColourOfIndex(s.vg, kDefaultVg);
            std::fill(table.begin(), table.begin() + thresh, bg);
            std::fill(table.begin() + thresh, table.begin() + end, mg);
            std::fill(table.begin() + end, table.end(), vg);
            return;
        }
        default:
            for (int v = 0; v < 256; ++v)
                table[v] = v < 10 ? Grey(0) : v > 245 ? Grey(255) : Grey(v);
            return;
    }
}

std::array<PaletteEntry, 256> CreateDisplayPalette() {
    std::array<PaletteEntry, 256> palette{};
    for (int i = 0; i < 256; ++i) {
        const RgbQuad c = IsColourIndex(i) ? ColourOfIndex(i, 0) : Grey(i);
        palette[i] = {c.red, c.green, c.blue};
    }
    return palette;
}

}  // namespace qm71
