#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "platform/dib/rgb_quad.h"

namespace qm71 {

// The twenty fixed display colours. Entry e is palette index e for e < 10 and
// palette index e + 236 for e >= 10.
extern const std::array<RgbQuad, 20> StaticColorTable;

inline constexpr int kColourCount = 20;

// Palette indices that name a fixed colour: 0..9 and 246..255.
constexpr bool IsColourIndex(int c) {
    return (c >= 0 && c <= 9) || (c >= 246 && c <= 255);
}
// Position of a colour index in the list of twenty (0..19), and back.
constexpr int ColourItem(int index) {
    return index <= 9 ? index : index - 236;
}
constexpr int ColourIndexOfItem(int item) {
    return item <= 9 ? item : item + 236;
}

// Stepping through the twenty colours as a ring: 0..9, 246..255, 0, ...
// Any index from 255 up steps to 0, any index from 0 down to 255.
int NextColour(int c);
int PreviousColour(int c);

enum Colouring : int { kNormal = 0, kInverse = 1, kThreshold = 2 };

// The colouring settings that a lookup is built from. The stored values may be
// anything a settings file or an edit field held.
struct ColouringSettings {
    int lut = kNormal;
    int thresh = 128;
    int mitte = 10;
    int bg = 0;
    int mg = 8;
    int vg = 255;
};

// Default colour of each band, used when a stored index names no fixed colour.
inline constexpr int kDefaultBg = 0;
inline constexpr int kDefaultMg = 8;
inline constexpr int kDefaultVg = 255;

// Colour of a palette index; an index outside the fixed colours gives the
// colour of `fallback`.
RgbQuad ColourOfIndex(int index, int fallback);

// Fills the 256-entry lookup from pixel value to colour. Whatever THRESH and
// MITTE hold, only the 256 entries are written.
void FillColorTable(const ColouringSettings& settings, std::span<RgbQuad, 256> table);

// One colour of the fixed display palette.
struct PaletteEntry {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};

// The fixed 256-entry palette: the twenty colours at their indices and a grey
// ramp 10..245 between them, so that every colour a lookup produces is in it.
std::array<PaletteEntry, 256> CreateDisplayPalette();

}  // namespace qm71
