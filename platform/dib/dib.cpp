#include "platform/dib/dib.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>
#include <vector>

namespace qm71::dib {

namespace {

std::uint32_t ReadU32(const std::byte* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

std::uint16_t ReadU16(const std::byte* p) {
    return std::uint16_t(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8);
}

std::int32_t ReadI32(const std::byte* p) {
    const std::uint32_t u = ReadU32(p);
    return u <= 0x7FFFFFFFu ? std::int32_t(u) : -std::int32_t(~u) - 1;
}

// Where each surface column takes its pixel from. Source columns grow with the
// surface column, so the columns that land inside the picture are one run
// [begin, end); those left and right of it are black.
struct ColumnMap {
    int begin = 0;
    int end = 0;
    // Source column of surface column `begin`.
    std::int64_t first = 0;
    // Source columns per surface column when that is a whole number (1 for 1:1,
    // 2 for 1:2, ...); 0 when the columns follow no fixed step.
    std::int64_t step = 0;
    // True when every source column is shown twice (2:1).
    bool doubled = false;
    // For the remaining cases: the source column of each surface column in
    // [begin, end), relative to `first`.
    std::vector<std::uint32_t> offsets;
};

ColumnMap MapColumns(const SourceRect& src, int surfaceWidth, int pictureWidth) {
    auto column = [&](int dx) {
        return std::int64_t(src.x) + std::int64_t(dx) * src.width / surfaceWidth;
    };
    ColumnMap map;
    while (map.begin < surfaceWidth && column(map.begin) < 0) ++map.begin;
    map.end = map.begin;
    while (map.end < surfaceWidth && column(map.end) < pictureWidth) ++map.end;
    if (map.begin == map.end) return map;

    map.first = column(map.begin);
    if (src.width % surfaceWidth == 0) {
        map.step = src.width / surfaceWidth;
    } else if (std::int64_t(surfaceWidth) == 2 * std::int64_t(src.width)) {
        // `begin` is even here (0, or -2 * src.x), so the pairs line up.
        map.doubled = true;
    } else {
        map.offsets.resize(std::size_t(map.end - map.begin));
        for (int dx = map.begin; dx < map.end; ++dx) {
            map.offsets[std::size_t(dx - map.begin)] = std::uint32_t(column(dx) - map.first);
        }
    }
    return map;
}

// The row loops below are unrolled by hand in the way that measured fastest
// with plain x86-64 code generation: for 1:1 and 2:1 one 8-byte load gives
// eight source pixels; for reductions the pixels are written in pairs.
static_assert(std::endian::native == std::endian::little,
              "the row loops take bytes and pixel pairs in little-endian order");

std::uint64_t Load64(const std::uint8_t* p) {
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

void StorePair(std::uint32_t* out, std::uint32_t first, std::uint32_t second) {
    const std::uint64_t pair = std::uint64_t(first) | std::uint64_t(second) << 32;
    std::memcpy(out, &pair, sizeof pair);
}

std::uint8_t Byte(std::uint64_t v, int i) {
    return std::uint8_t(v >> (8 * i));
}

// One run of surface pixels from one picture row: `in` points at the source
// column of the first pixel, `out` takes `n` pixels. None of the loops reads
// beyond the source columns the run shows.
struct RowJob {
    const std::uint8_t* in;
    std::uint32_t* out;
    int n;
    const std::uint32_t* lut;
};

// Every source column, in order (1:1).
void MapRowCopy(RowJob job) {
    int i = 0;
    for (; i + 8 <= job.n; i += 8) {
        const std::uint64_t v = Load64(job.in + i);
        std::uint32_t* out = job.out + i;
        out[0] = job.lut[Byte(v, 0)];
        out[1] = job.lut[Byte(v, 1)];
        out[2] = job.lut[Byte(v, 2)];
        out[3] = job.lut[Byte(v, 3)];
        out[4] = job.lut[Byte(v, 4)];
        out[5] = job.lut[Byte(v, 5)];
        out[6] = job.lut[Byte(v, 6)];
        out[7] = job.lut[Byte(v, 7)];
    }
    for (; i < job.n; ++i) job.out[i] = job.lut[job.in[i]];
}

// Every step-th source column (2 for 1:2, 4 for 1:4, ...).
void MapRowStep(RowJob job, std::ptrdiff_t step) {
    int i = 0;
    for (; i + 2 <= job.n; i += 2) {
        StorePair(job.out + i, job.lut[job.in[i * step]], job.lut[job.in[(i + 1) * step]]);
    }
    if (i < job.n) job.out[i] = job.lut[job.in[i * step]];
}

// Every source column twice (2:1).
void MapRowDoubled(RowJob job) {
    int i = 0;
    auto twice = [&job](std::uint32_t* out, std::uint8_t value) {
        const std::uint32_t c = job.lut[value];
        out[0] = c;
        out[1] = c;
    };
    for (; i + 16 <= job.n; i += 16) {
        const std::uint64_t v = Load64(job.in + i / 2);
        std::uint32_t* out = job.out + i;
        twice(out, Byte(v, 0));
        twice(out + 2, Byte(v, 1));
        twice(out + 4, Byte(v, 2));
        twice(out + 6, Byte(v, 3));
        twice(out + 8, Byte(v, 4));
        twice(out + 10, Byte(v, 5));
        twice(out + 12, Byte(v, 6));
        twice(out + 14, Byte(v, 7));
    }
    for (; i < job.n; ++i) job.out[i] = job.lut[job.in[i / 2]];
}

// Any other ratio: the source column of each pixel from the column map.
void MapRowTable(RowJob job, const std::vector<std::uint32_t>& offsets) {
    for (int i = 0; i < job.n; ++i) job.out[i] = job.lut[job.in[offsets[std::size_t(i)]]];
}

}  // namespace

std::optional<DibView> ViewPackedDib(std::span<const std::byte> block) {
    if (block.size() < kInfoHeaderSize) return std::nullopt;
    const std::byte* header = block.data();
    const std::uint32_t headerSize = ReadU32(header);
    const std::int32_t width = ReadI32(header + 4);
    const std::int32_t height = ReadI32(header + 8);
    const std::uint16_t bitsPerPixel = ReadU16(header + 14);
    const std::uint32_t compression = ReadU32(header + 16);
    const std::uint32_t coloursUsed = ReadU32(header + 32);
    if (headerSize != kInfoHeaderSize || bitsPerPixel != 8 || compression != 0) return std::nullopt;
    if (width <= 0 || height == 0 || height == std::numeric_limits<std::int32_t>::min()) {
        return std::nullopt;
    }
    // A shorter table would put the pixels elsewhere and leave pixel values
    // without a colour; our programs always write all 256 entries.
    if (coloursUsed != 0 && coloursUsed != 256) return std::nullopt;

    const std::uint64_t rows =
        height < 0 ? std::uint64_t(-std::int64_t(height)) : std::uint64_t(height);
    // In 64 bits, so that no header can wrap the size on a 32-bit build.
    const std::uint64_t rowBytes = (std::uint64_t(width) + 3) & ~std::uint64_t{3};
    const std::uint64_t pixelBytes = rows * rowBytes;
    const std::uint64_t available = block.size() - kInfoHeaderSize;
    if (available < kColourTableSize || available - kColourTableSize < pixelBytes) {
        return std::nullopt;
    }

    DibView view;
    view.width = width;
    view.height = height;
    // RgbQuad is four single bytes, so the table can be read in place.
    view.colours = reinterpret_cast<const RgbQuad*>(header + kInfoHeaderSize);
    view.pixels =
        reinterpret_cast<const std::uint8_t*>(header + kInfoHeaderSize + kColourTableSize);
    return view;
}

void DrawDib(const DibView& dib, SourceRect src, Surface dst, DrawOptions options) {
    if (src.width <= 0 || src.height <= 0) return;
    if (dst.pixels == nullptr || dst.width <= 0 || dst.height <= 0 || dst.stride < dst.width) {
        return;
    }
    if (dib.pixels == nullptr || dib.colours == nullptr) return;
    if (dib.height == std::numeric_limits<int>::min()) return;  // no row count

    std::array<std::uint32_t, 256> lut;
    for (std::size_t v = 0; v < lut.size(); ++v) lut[v] = SurfaceColour(dib.colours[v]);

    const int pictureWidth = std::max(dib.width, 0);
    const int pictureRows = dib.Rows();
    const ColumnMap columns = MapColumns(src, dst.width, pictureWidth);
    const int run = columns.end - columns.begin;
    const std::size_t rowBytes = std::size_t(dst.width) * sizeof(std::uint32_t);

    std::int64_t previousY = std::numeric_limits<std::int64_t>::min();
    const std::uint32_t* previousRow = nullptr;
    for (int dy = 0; dy < dst.height; ++dy) {
        std::uint32_t* out = dst.pixels + std::ptrdiff_t(dy) * dst.stride;
        const std::int64_t sy = std::int64_t(src.y) + std::int64_t(dy) * src.height / dst.height;
        // Enlarging shows each picture row on several surface rows: copy the
        // one already drawn.
        if (sy == previousY) {
            std::memcpy(out, previousRow, rowBytes);
            continue;
        }
        previousY = sy;
        previousRow = out;

        if (sy < 0 || sy >= pictureRows || run == 0) {
            std::fill(out, out + dst.width, kBlack);
            continue;
        }
        const int y = options.mirrorVertical ? pictureRows - 1 - int(sy) : int(sy);
        const RowJob job{dib.Row(y) + columns.first, out + columns.begin, run, lut.data()};

        std::fill(out, out + columns.begin, kBlack);
        if (columns.step == 1) {
            MapRowCopy(job);
        } else if (columns.step > 1) {
            MapRowStep(job, std::ptrdiff_t(columns.step));
        } else if (columns.doubled) {
            MapRowDoubled(job);
        } else {
            MapRowTable(job, columns.offsets);
        }
        std::fill(out + columns.end, out + dst.width, kBlack);
    }
}

}  // namespace qm71::dib
