#pragma once

#include <array>

#include "common/colour_table.h"

namespace qm71 {

// What the colours dialog needs from the window that opens it. The viewer and
// the line demo each implement it over their own settings.
class ColoursHost {
  public:
    virtual ~ColoursHost() = default;
    // The settings the dialog edits in place: bg, mg, vg, thresh and mitte,
    // and lut when it ends with OK.
    virtual ColouringSettings& Colouring() = 0;
    // Recomputes the lookup from the settings and repaints the picture.
    virtual void BuildColorTable() = 0;
    // The fixed display palette; the colour lists show their colours from it.
    virtual const std::array<PaletteEntry, 256>& DisplayPalette() const = 0;
};

}  // namespace qm71
