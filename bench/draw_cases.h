#pragma once

// Drawing benchmarks shared by the programs' pictures: one 8-bit picture drawn
// with our DIB renderer and with QPainter into the same client areas, each
// drawing beside the copy baseline of the 32-bit pixels it writes (client area
// x 4 bytes), with their ratios.

#include <span>
#include <string>
#include <vector>

#include "platform/dib/dib.h"

namespace qm71::bench {

struct Picture {
    int width = 0;
    int height = 0;
    // Stored bottom-up, as the programs keep their images.
    std::vector<std::uint8_t> pixels;
    // The same picture stored top-down, the only order a QImage knows, so that
    // QPainter is given the same picture rather than the image upside down.
    std::vector<std::uint8_t> topDown;
    std::vector<RgbQuad> colours;
};

// A picture with a busy pattern, coloured the way the programs start.
Picture MakePicture(int width, int height);

// One drawing: this part of the picture stretched over a client area.
struct DrawCase {
    std::string name;  // e.g. "x0.25"
    dib::SourceRect source;
    int width;  // of the client area
    int height;
};

struct DrawBenchmarks {
    std::string prefix;           // benchmark names: BM_<prefix>DrawDib/<case>, ...
    const Picture& (*picture)();  // made on first use, not at start-up
    std::vector<DrawCase> cases;
    // At most this many times the copy of the bytes a drawing writes.
    double baselineBudget = 1.5;
    double qpainterFactor = 5;  // QPainter takes at least this many times as long
};

// Registers both drawings of every case, their baselines and the ratios.
// Always returns true, so that it can initialise a static.
bool RegisterDrawBenchmarks(const DrawBenchmarks& set);

}  // namespace qm71::bench
