#include "platform/dib/dib.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string_view>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__GNUC__) && defined(__x86_64__)
#include <immintrin.h>
#define QM71_DIB_X86_64 1
#endif

namespace qm71::dib {

namespace {

std::int32_t ReadI32(const std::byte* p) {
    return static_cast<std::int32_t>(LoadLe32(p));
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
    // Surface columns per source column when that is a whole number above 1
    // (2 for 2:1, 4 for 4:1); 0 otherwise.
    int repeat = 0;
    // For the remaining cases: the source column of each surface column in
    // [begin, end), relative to `first`.
    std::vector<std::uint32_t> offsets;
};

ColumnMap MapColumns(const SourceRect& src, int surfaceWidth, int pictureWidth) {
    auto column = [&](int dx) {
        return std::int64_t(src.x) + std::int64_t(dx) * src.width / surfaceWidth;
    };
    // The first surface column from `from` on whose source column is at least
    // `limit`, found by halving since the source columns never decrease.
    auto firstAtLeast = [&](int from, std::int64_t limit) {
        int lo = from;
        int hi = surfaceWidth;
        while (lo < hi) {
            const int mid = lo + (hi - lo) / 2;
            if (column(mid) < limit) {
                lo = mid + 1;
            } else {
                hi = mid;
            }
        }
        return lo;
    };
    ColumnMap map;
    map.begin = firstAtLeast(0, 0);
    map.end = firstAtLeast(map.begin, pictureWidth);
    if (map.begin == map.end) return map;

    map.first = column(map.begin);
    if (src.width % surfaceWidth == 0) {
        map.step = src.width / surfaceWidth;
    } else if (surfaceWidth % src.width == 0) {
        // `begin` is a multiple of the factor here (0, or -repeat * src.x), so
        // every source column's surface columns start at a multiple of it.
        map.repeat = surfaceWidth / src.width;
    } else {
        map.offsets.resize(std::size_t(map.end - map.begin));
        for (int dx = map.begin; dx < map.end; ++dx) {
            map.offsets[std::size_t(dx - map.begin)] = std::uint32_t(column(dx) - map.first);
        }
    }
    return map;
}

// The row loops write the surface two pixels at a time through a table of
// colour pairs: entry (a | b << 8) holds the colour of value a in its low half
// and that of value b in its high half, so two pixels cost one index and one
// 8-byte load, and two such pairs go out in one 16-byte store. Entry a alone
// (b = 0) gives a single pixel's colour in its low half.
static_assert(std::endian::native == std::endian::little,
              "the pair table and the row loops assume little-endian order");

// The tables the row loops draw with.
struct ColourPairs {
    // 65536 entries, see above.
    const std::uint64_t* pairs;
    // 256 entries: the colour of value v in both halves, for enlarging to
    // twice the width. The same as pairs[v | v << 8], but those 256 entries lie
    // scattered over the big table, each in its own cache line and most on
    // their own page.
    const std::uint64_t* twins;
    // The surface colours split into their bytes: planes[c][v] is byte c
    // (blue, green, red) of the colour of value v; every surface colour is
    // opaque, so its alpha byte is always 0xFF.
    const std::array<std::uint8_t, 256>* planes;
};

// The pair table of the colours drawn last. Building it writes 512 KB, so it is
// kept between drawings and built again only when the 256 surface colours
// differ from those it was built from, which costs comparing 1 KB per drawing.
// One table per thread, so that threads drawing with different colour tables
// neither race nor rebuild each other's table; it is freed when its thread
// ends.
class PairTable {
  public:
    ColourPairs For(const std::array<std::uint32_t, 256>& colours) {
        if (pairs_.empty() || colours != colours_) Build(colours);
        return {pairs_.data(), twins_.data(), planes_.data()};
    }

  private:
    void Build(const std::array<std::uint32_t, 256>& colours) {
        pairs_.resize(std::size_t{1} << 16);
        std::uint64_t* __restrict out = pairs_.data();
        for (std::size_t second = 0; second < 256; ++second) {
            const std::uint64_t high = std::uint64_t(colours[second]) << 32;
            for (std::size_t first = 0; first < 256; ++first) *out++ = high | colours[first];
        }
        for (std::size_t v = 0; v < 256; ++v) {
            twins_[v] = std::uint64_t(colours[v]) << 32 | colours[v];
            for (std::size_t c = 0; c < 3; ++c) planes_[c][v] = std::uint8_t(colours[v] >> 8 * c);
        }
        colours_ = colours;
    }

    std::array<std::uint32_t, 256> colours_{};
    std::array<std::uint64_t, 256> twins_{};
    alignas(64) std::array<std::array<std::uint8_t, 256>, 3> planes_{};
    std::vector<std::uint64_t> pairs_;
};

PairTable& ThreadPairTable() {
    thread_local PairTable table;
    return table;
}

void StorePair(std::uint32_t* out, std::uint64_t pair) {
    std::memcpy(out, &pair, sizeof pair);
}

void StoreTwoPairs(std::uint32_t* out, const std::uint64_t* first, const std::uint64_t* second) {
#if defined(__SSE2__)
    const __m128i low = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(first));
    const __m128 both = _mm_loadh_pi(_mm_castsi128_ps(low), reinterpret_cast<const __m64*>(second));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_castps_si128(both));
#else
    StorePair(out, *first);
    StorePair(out + 2, *second);
#endif
}

std::uint32_t Single(const std::uint64_t* pairs, std::uint8_t value) {
    return std::uint32_t(pairs[value]);
}

// A picture row to draw: `in` points at the source column of the first shown
// pixel, `out` at the surface pixel it lands on.
struct RowPair {
    const std::uint8_t* in;
    std::uint32_t* out;
};

// One run of surface pixels from one picture row: `in` points at the source
// column of the first pixel, `out` takes `n` pixels. None of the loops reads
// beyond the source columns the run shows.
struct RowJob {
    const std::uint8_t* __restrict in;
    std::uint32_t* __restrict out;
    int n;
    const std::uint64_t* __restrict pairs;
    const std::uint64_t* __restrict twins;
};

// Every source column, in order (1:1): two neighbouring source bytes read as
// one 16-bit little-endian number are already the pair index, so one 8-byte
// load gives the indices of four pairs.
void MapRowCopy(RowJob job) {
    int i = 0;
    for (; i + 8 <= job.n; i += 8) {
        std::uint64_t v;
        std::memcpy(&v, job.in + i, sizeof v);
        StoreTwoPairs(job.out + i, job.pairs + (v & 0xFFFF), job.pairs + ((v >> 16) & 0xFFFF));
        StoreTwoPairs(job.out + i + 4, job.pairs + ((v >> 32) & 0xFFFF), job.pairs + (v >> 48));
    }
    for (; i + 2 <= job.n; i += 2) {
        std::uint16_t index;
        std::memcpy(&index, job.in + i, sizeof index);
        StorePair(job.out + i, job.pairs[index]);
    }
    if (i < job.n) job.out[i] = Single(job.pairs, job.in[i]);
}

// Every source column twice (2:1): one table entry per source byte, eight
// source bytes per load.
void MapRowDoubled(RowJob job) {
    const int whole = job.n / 2;
    int j = 0;
    for (; j + 8 <= whole; j += 8) {
        std::uint64_t v;
        std::memcpy(&v, job.in + j, sizeof v);
        std::uint32_t* out = job.out + 2 * j;
        StoreTwoPairs(out, job.twins + (v & 0xFF), job.twins + ((v >> 8) & 0xFF));
        StoreTwoPairs(out + 4, job.twins + ((v >> 16) & 0xFF), job.twins + ((v >> 24) & 0xFF));
        StoreTwoPairs(out + 8, job.twins + ((v >> 32) & 0xFF), job.twins + ((v >> 40) & 0xFF));
        StoreTwoPairs(out + 12, job.twins + ((v >> 48) & 0xFF), job.twins + (v >> 56));
    }
    for (; j < whole; ++j) StorePair(job.out + 2 * j, job.twins[job.in[j]]);
    if (job.n % 2 != 0) job.out[job.n - 1] = Single(job.pairs, job.in[whole]);
}

// Every source column `k` times (k:1 with k > 2): one table entry per source
// byte, stored as often as it is shown.
void MapRowRepeated(RowJob job, int k) {
    const int whole = job.n / k;
    std::uint32_t* out = job.out;
    for (int j = 0; j < whole; ++j, out += k) {
        const std::uint64_t pair = job.twins[job.in[j]];
        int m = 0;
#if defined(__SSE2__)
        const __m128i four = _mm_set1_epi64x(static_cast<long long>(pair));
        for (; m + 4 <= k; m += 4) _mm_storeu_si128(reinterpret_cast<__m128i*>(out + m), four);
#endif
        for (; m + 2 <= k; m += 2) StorePair(out + m, pair);
        if (m < k) out[m] = std::uint32_t(pair);
    }
    if (whole * k < job.n) std::fill(out, job.out + job.n, std::uint32_t(job.twins[job.in[whole]]));
}

// Reductions and other ratios are drawn in two steps through a small buffer:
// first the bytes of the shown source columns are picked out of the row, then
// the picked bytes are mapped like a 1:1 row. Picking is cheap, and the mapping
// then needs neither the column positions nor a per-pixel index composition.
// The buffer holds an even number of bytes, so pairs never straddle two chunks.
constexpr int kPickChunk = 2048;

// out[i] = in[i * step] for i < n: the ratios without a loop of their own,
// and short rows.
void PickEvery(const std::uint8_t* __restrict in, std::uint8_t* __restrict out, int n,
               std::ptrdiff_t step) {
    for (int i = 0; i < n; ++i) out[i] = in[i * step];
}

// out[i] = in[offsets[i]] for i < n.
void PickListed(const std::uint8_t* __restrict in, std::uint8_t* __restrict out, int n,
                const std::uint32_t* __restrict offsets) {
    for (int i = 0; i < n; ++i) out[i] = in[offsets[i]];
}

#if defined(__SSE2__)
// Reductions by 2, 4 and 8 pick the values of a row's shown columns in blocks:
// blocks follow one another while a further pixel follows them, and the last
// block takes its values from the bytes that end at the last shown column
// (the last byte of every step bytes) and is stored over the end of the block
// before it, so that no row reads past its last shown column. The picked
// values are then mapped like a 1:1 row.

// The next row after `r` starts far from row r, where the processor does not
// look ahead by itself: its first 128 * step bytes are fetched while row r is
// drawn.
__attribute__((always_inline)) inline void FetchNextRow(std::span<const RowPair> rows,
                                                        std::size_t r, int step) {
    if (r + 1 == rows.size()) return;
#pragma GCC unroll 16
    for (int h = 0; h < 2 * step; ++h) {
        _mm_prefetch(reinterpret_cast<const char*>(rows[r + 1].in + 64 * h), _MM_HINT_T0);
    }
}

// The 16 values p[kStep * j + at] (j < 16) as bytes, where `at` is 0 or, for
// the last block, kStep - 1: each value is masked or shifted down to the
// bottom of its kStep-byte lane, and the lanes packed down to bytes.
template <int kStep, bool kLast>
__m128i SixteenValues(const std::uint8_t* p) {
    auto lane = [p](int at) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at));
        if constexpr (kStep == 2) {
            return kLast ? _mm_srli_epi16(v, 8) : _mm_and_si128(v, _mm_set1_epi16(0xFF));
        } else if constexpr (kStep == 4) {
            return kLast ? _mm_srli_epi32(v, 24) : _mm_and_si128(v, _mm_set1_epi32(0xFF));
        } else {
            static_assert(kStep == 8);
            return kLast ? _mm_srli_epi64(v, 56) : _mm_and_si128(v, _mm_set1_epi64x(0xFF));
        }
    };
    if constexpr (kStep == 2) return _mm_packus_epi16(lane(0), lane(16));
    // Four values, one in each 32-bit lane.
    auto four = [&](int at) {
        if constexpr (kStep == 4) {
            return lane(at);
        } else {
            return _mm_packs_epi32(lane(at), lane(at + 16));
        }
    };
    return _mm_packus_epi16(_mm_packs_epi32(four(0), four(4 * kStep)),
                            _mm_packs_epi32(four(8 * kStep), four(12 * kStep)));
}

// out[i] = in[i * kStep] for i < n, n > 16, in blocks of 16.
template <int kStep>
void PickBlocksSse2(const std::uint8_t* __restrict in, std::uint8_t* __restrict out, int n) {
    auto store = [](std::uint8_t* at, __m128i values) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(at), values);
    };
    for (int i = 0; i + 16 < n; i += 16) {
        store(out + i, SixteenValues<kStep, false>(in + std::ptrdiff_t(kStep) * i));
    }
    store(out + n - 16,
          SixteenValues<kStep, true>(in + std::ptrdiff_t(n - 1) * kStep - (16 * kStep - 1)));
}

// Every row of `rows` with `n` pixels, each picked by `pick` (which needs more
// pixels than one of its blocks) into a buffer and mapped from there. A row
// wider than the buffer goes in pieces of half of it, so that the last piece
// still holds more than half.
template <int kStep>
void MapRowsPicked(std::span<const RowPair> rows, int n, const std::uint64_t* pairs,
                   void (*pick)(const std::uint8_t*, std::uint8_t*, int)) {
    std::array<std::uint8_t, kPickChunk> picked;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        FetchNextRow(rows, r, kStep);
        for (int at = 0; at < n;) {
            const int m = n - at <= kPickChunk ? n - at : kPickChunk / 2;
            pick(rows[r].in + std::ptrdiff_t(kStep) * at, picked.data(), m);
            MapRowCopy({picked.data(), rows[r].out + at, m, pairs, nullptr});
            at += m;
        }
    }
}
#endif

#if defined(QM71_DIB_X86_64)
// Reductions by 2, 4 and 8 where the processor can look up 64 bytes at once
// (AVX-512 VBMI): a block of 64 surface pixels takes its values out of
// 64 * kStep row bytes with one two-register byte permute per 128 bytes, then
// looks each of the colours' blue, green and red bytes up in its 256-byte
// plane (two permutes over 128 entries each, chosen by the value's top bit)
// and interleaves them with the opaque alpha into 64 pixels. No value goes
// through memory, and the table stays in registers: the loops over the
// constants are unrolled, so that each names its register.

// The byte permutes' constants for one step: group g picks the values that lie
// in bytes [128 g, 128 g + 128) of the block. The interleaving works within
// 16-byte lanes, so byte 16 l + 4 j + m of the picked values holds pixel
// 16 j + 4 l + m, which lands where it belongs.
struct PickPermutes {
    std::array<std::array<std::uint8_t, 64>, 4> index{};
    std::array<std::uint64_t, 4> mask{};
};

constexpr PickPermutes MakePickPermutes(int step) {
    PickPermutes p;
    for (int q = 0; q < 64; ++q) {
        const int l = q / 16;
        const int j = q % 16 / 4;
        const int pixel = 16 * j + 4 * l + q % 4;
        const int at = pixel * step;
        p.index[std::size_t(at / 128)][std::size_t(q)] = std::uint8_t(at % 128);
        p.mask[std::size_t(at / 128)] |= std::uint64_t{1} << q;
    }
    return p;
}

// Bytes [0, count) of a 64-byte load, or pixels [0, count) of a 16-pixel
// store, as a mask: none for a count of 0 or less, all from the width on.
constexpr std::uint64_t FirstBits(std::int64_t count, int width) {
    if (count <= 0) return 0;
    if (count >= width) return width == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << width) - 1;
    return (std::uint64_t{1} << count) - 1;
}

// The constants of one reduction, loaded once for all rows of a drawing: the
// pick permutes' indices and the three colour planes.
template <int kStep>
struct EveryConstants {
    static constexpr int kGroups = kStep / 2;
    __m512i pickIndex[kGroups];
    __m512i table[3][4];
};

// Maps one block of up to 64 pixels whose values lie in the 64 * kStep bytes
// from `p`. Masked: only the bytes in `loads` are read (one mask per 64-byte
// load) and only the pixels in `stores` written (one per 16 pixels).
template <int kStep, bool kMasked>
__attribute__((target("avx512f,avx512bw,avx512vbmi"), always_inline)) inline void MapBlockAvx512(
    const std::uint8_t* p, std::uint32_t* out, const EveryConstants<kStep>& k,
    const __mmask64* loads, const __mmask16* stores) {
    static constexpr PickPermutes kPick = MakePickPermutes(kStep);
    __m512i values = _mm512_setzero_si512();
#pragma GCC unroll 16
    for (int g = 0; g < EveryConstants<kStep>::kGroups; ++g) {
        const std::uint8_t* at = p + 128 * g;
        __m512i low, high;
        if constexpr (kMasked) {
            low = _mm512_maskz_loadu_epi8(loads[2 * g], at);
            high = _mm512_maskz_loadu_epi8(loads[2 * g + 1], at + 64);
        } else {
            low = _mm512_loadu_si512(at);
            high = _mm512_loadu_si512(at + 64);
        }
        values = _mm512_or_si512(values, _mm512_maskz_permutex2var_epi8(kPick.mask[std::size_t(g)],
                                                                        low, k.pickIndex[g], high));
    }
    const __mmask64 upper = _mm512_movepi8_mask(values);
    __m512i bytes[3];
#pragma GCC unroll 16
    for (int c = 0; c < 3; ++c) {
        bytes[c] = _mm512_mask_blend_epi8(
            upper, _mm512_permutex2var_epi8(k.table[c][0], values, k.table[c][1]),
            _mm512_permutex2var_epi8(k.table[c][2], values, k.table[c][3]));
    }
    const __m512i alpha = _mm512_set1_epi8(-1);
    const __m512i blueGreenLow = _mm512_unpacklo_epi8(bytes[0], bytes[1]);
    const __m512i blueGreenHigh = _mm512_unpackhi_epi8(bytes[0], bytes[1]);
    const __m512i redAlphaLow = _mm512_unpacklo_epi8(bytes[2], alpha);
    const __m512i redAlphaHigh = _mm512_unpackhi_epi8(bytes[2], alpha);
    const __m512i pixels[4] = {_mm512_unpacklo_epi16(blueGreenLow, redAlphaLow),
                               _mm512_unpackhi_epi16(blueGreenLow, redAlphaLow),
                               _mm512_unpacklo_epi16(blueGreenHigh, redAlphaHigh),
                               _mm512_unpackhi_epi16(blueGreenHigh, redAlphaHigh)};
#pragma GCC unroll 16
    for (int s = 0; s < 4; ++s) {
        if constexpr (kMasked) {
            _mm512_mask_storeu_epi32(out + 16 * s, stores[s], pixels[s]);
        } else {
            _mm512_storeu_si512(out + 16 * s, pixels[s]);
        }
    }
}

// Every row of `rows` with `n` pixels: whole blocks of 64, then the last 1 to
// 64 pixels through masks, so that no row reads past its last shown column
// or writes past its run.
template <int kStep>
__attribute__((target("avx512f,avx512bw,avx512vbmi"))) void MapRowsEveryAvx512(
    std::span<const RowPair> rows, int n, const std::array<std::uint8_t, 256>* planes) {
    static constexpr PickPermutes kPick = MakePickPermutes(kStep);
    EveryConstants<kStep> k;
#pragma GCC unroll 16
    for (int g = 0; g < k.kGroups; ++g) k.pickIndex[g] = _mm512_loadu_si512(kPick.index[g].data());
#pragma GCC unroll 16
    for (int c = 0; c < 3; ++c) {
#pragma GCC unroll 16
        for (int t = 0; t < 4; ++t) k.table[c][t] = _mm512_loadu_si512(planes[c].data() + 64 * t);
    }
    const int last = (n - 1) / 64 * 64;
    const int lastPixels = n - last;
    const std::int64_t lastBytes = std::int64_t(lastPixels - 1) * kStep + 1;
    __mmask64 loads[2 * k.kGroups];
#pragma GCC unroll 16
    for (int h = 0; h < 2 * k.kGroups; ++h) loads[h] = FirstBits(lastBytes - 64 * h, 64);
    __mmask16 stores[4];
#pragma GCC unroll 16
    for (int s = 0; s < 4; ++s) stores[s] = __mmask16(FirstBits(lastPixels - 16 * s, 16));

    for (std::size_t r = 0; r < rows.size(); ++r) {
        FetchNextRow(rows, r, kStep);
        const RowPair& row = rows[r];
        for (int i = 0; i < last; i += 64) {
            MapBlockAvx512<kStep, false>(row.in + std::ptrdiff_t(kStep) * i, row.out + i, k,
                                         nullptr, nullptr);
        }
        MapBlockAvx512<kStep, true>(row.in + std::ptrdiff_t(kStep) * last, row.out + last, k, loads,
                                    stores);
    }
}

// Picking with AVX2: a block of 32 values out of 32 * kStep row bytes, one
// byte shuffle per 32-byte load and one interleave of the two 16-byte halves.

using Shuffles = std::array<std::array<std::uint8_t, 32>, 8>;

// The byte shuffles of loads 0 to step - 1 of a block, for values at byte `at`
// of every `step` bytes. A shuffle works within 16-byte lanes: each lane of
// load q holds 16 / step values, which go to bytes [q * 16 / step,
// (q + 1) * 16 / step) of their lane, the others being zero. Lane 0 then holds
// the values' units 0, 2, 4, ... and lane 1 units 1, 3, 5, ..., and
// interleaving the lanes unit by unit puts the block in order.
constexpr Shuffles MakeShuffles(int step, int at) {
    Shuffles s{};
    const int perLane = 16 / step;
    for (int q = 0; q < step; ++q) {
        for (int b = 0; b < 32; ++b) {
            const int j = b % 16 - perLane * q;
            s[std::size_t(q)][std::size_t(b)] =
                j >= 0 && j < perLane ? std::uint8_t(j * step + at) : std::uint8_t(0x80);
        }
    }
    return s;
}

// Stores the 32 values that lie in the 32 * kStep bytes from `p`, shuffled
// out by `shuffles`, at `out`.
template <int kStep>
__attribute__((target("avx2"), always_inline)) inline void PickBlockAvx2(const std::uint8_t* p,
                                                                         std::uint8_t* out,
                                                                         const __m256i* shuffles) {
    __m256i values = _mm256_setzero_si256();
#pragma GCC unroll 16
    for (int q = 0; q < kStep; ++q) {
        const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32 * q));
        values = _mm256_or_si256(values, _mm256_shuffle_epi8(bytes, shuffles[q]));
    }
    const __m128i even = _mm256_castsi256_si128(values);
    const __m128i odd = _mm256_extracti128_si256(values, 1);
    __m128i ordered[2];
    if constexpr (kStep == 2) {
        ordered[0] = _mm_unpacklo_epi64(even, odd);
        ordered[1] = _mm_unpackhi_epi64(even, odd);
    } else if constexpr (kStep == 4) {
        ordered[0] = _mm_unpacklo_epi32(even, odd);
        ordered[1] = _mm_unpackhi_epi32(even, odd);
    } else {
        static_assert(kStep == 8);
        ordered[0] = _mm_unpacklo_epi16(even, odd);
        ordered[1] = _mm_unpackhi_epi16(even, odd);
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), ordered[0]);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16), ordered[1]);
}

// out[i] = in[i * kStep] for i < n, n > 32, in blocks of 32.
template <int kStep>
__attribute__((target("avx2"))) void PickBlocksAvx2(const std::uint8_t* __restrict in,
                                                    std::uint8_t* __restrict out, int n) {
    static constexpr Shuffles kFirst = MakeShuffles(kStep, 0);
    static constexpr Shuffles kLast = MakeShuffles(kStep, kStep - 1);
    __m256i first[kStep];
    __m256i last[kStep];
#pragma GCC unroll 16
    for (int q = 0; q < kStep; ++q) {
        first[q] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(kFirst[q].data()));
        last[q] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(kLast[q].data()));
    }
    for (int i = 0; i + 32 < n; i += 32) {
        PickBlockAvx2<kStep>(in + std::ptrdiff_t(kStep) * i, out + i, first);
    }
    PickBlockAvx2<kStep>(in + std::ptrdiff_t(n - 1) * kStep - (32 * kStep - 1), out + n - 32, last);
}

// The widest reduction loops the processor has. QM71_DIB_ISA=sse2 or =avx2
// chooses a narrower one, for measuring and testing it; a name the processor
// lacks gets the widest it has.
enum class Isa { kSse2, kAvx2, kAvx512Vbmi };

Isa ChooseIsa() {
    const char* named = std::getenv("QM71_DIB_ISA");
    const std::string_view wanted = named != nullptr ? named : "";
    const bool avx2 = __builtin_cpu_supports("avx2");
    if (wanted == "sse2") return Isa::kSse2;
    if (wanted == "avx2" && avx2) return Isa::kAvx2;
    if (__builtin_cpu_supports("avx512vbmi") && __builtin_cpu_supports("avx512bw")) {
        return Isa::kAvx512Vbmi;
    }
    return avx2 ? Isa::kAvx2 : Isa::kSse2;
}

const Isa kIsa = ChooseIsa();

#endif

// Draws the rows of a reduction by kStep in blocks where the processor and the
// row's width allow; false when they do not, and nothing is drawn.
template <int kStep>
bool MapRowsEvery([[maybe_unused]] std::span<const RowPair> rows, [[maybe_unused]] int n,
                  [[maybe_unused]] const ColourPairs& tables) {
#if defined(QM71_DIB_X86_64)
    if (kIsa == Isa::kAvx512Vbmi) {
        MapRowsEveryAvx512<kStep>(rows, n, tables.planes);
        return true;
    }
    if (kIsa == Isa::kAvx2 && n > 32) {
        MapRowsPicked<kStep>(rows, n, tables.pairs, PickBlocksAvx2<kStep>);
        return true;
    }
#endif
#if defined(__SSE2__)
    if (n > 16) {
        MapRowsPicked<kStep>(rows, n, tables.pairs, PickBlocksSse2<kStep>);
        return true;
    }
#endif
    return false;
}

// The same for a reduction by 2, 4 or 8; false for other steps.
bool MapRowsEveryInBlocks(std::span<const RowPair> rows, int n, std::int64_t step,
                          const ColourPairs& tables) {
    switch (step) {
        case 2:
            return MapRowsEvery<2>(rows, n, tables);
        case 4:
            return MapRowsEvery<4>(rows, n, tables);
        case 8:
            return MapRowsEvery<8>(rows, n, tables);
        default:
            return false;
    }
}

// 16-bit 5-5-5 pixels, `n` of them from `in` (little-endian, any alignment),
// each widened to 0xFFRRGGBB. A 5-bit channel v becomes v << 3 | v >> 2, so
// that 0 stays 0 and 31 becomes 255, as a display widens it.
void Widen555(const std::uint8_t* __restrict in, std::uint32_t* __restrict out, int n) {
    int i = 0;
#if defined(__SSE2__)
    // Eight pixels at a time in 16-bit lanes: blue | green << 8 and red | 0xFF00,
    // interleaved into four 32-bit pixels twice.
    const __m128i five = _mm_set1_epi16(0x1F);
    const __m128i alpha = _mm_set1_epi16(std::int16_t(0xFF00));
    auto widen = [](__m128i v) { return _mm_or_si128(_mm_slli_epi16(v, 3), _mm_srli_epi16(v, 2)); };
    for (; i + 8 <= n; i += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 2 * i));
        const __m128i blue = widen(_mm_and_si128(v, five));
        const __m128i green = widen(_mm_and_si128(_mm_srli_epi16(v, 5), five));
        const __m128i red = widen(_mm_and_si128(_mm_srli_epi16(v, 10), five));
        const __m128i low = _mm_or_si128(blue, _mm_slli_epi16(green, 8));
        const __m128i high = _mm_or_si128(red, alpha);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_unpacklo_epi16(low, high));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 4), _mm_unpackhi_epi16(low, high));
    }
#endif
    for (; i < n; ++i) {
        const std::uint32_t v = std::uint32_t(in[2 * i]) | std::uint32_t(in[2 * i + 1]) << 8;
        auto channel = [v](int shift) {
            const std::uint32_t c = v >> shift & 0x1F;
            return c << 3 | c >> 2;
        };
        out[i] = 0xFF000000u | channel(10) << 16 | channel(5) << 8 | channel(0);
    }
}

// One run of a 16-bit row: `in` points at the source column of the first
// pixel. 1:1 widens straight from the row; every other ratio picks the shown
// pixels into a small buffer first, which is rare enough not to need more.
void MapRow555(const std::uint8_t* in, std::uint32_t* out, int n, const ColumnMap& columns) {
    if (columns.step == 1) {
        Widen555(in, out, n);
        return;
    }
    std::array<std::uint8_t, 2 * kPickChunk> picked;
    for (int at = 0; at < n; at += kPickChunk) {
        const int m = std::min(kPickChunk, n - at);
        for (int i = 0; i < m; ++i) {
            const int k = at + i;
            const std::int64_t column = columns.step > 1     ? std::int64_t(k) * columns.step
                                        : columns.repeat > 1 ? k / columns.repeat
                                                             : columns.offsets[std::size_t(k)];
            std::memcpy(&picked[std::size_t(2 * i)], in + 2 * column, 2);
        }
        Widen555(picked.data(), out + at, m);
    }
}

// Draws `rows`, each a run of `n` pixels, the way `columns` says.
void MapRows(std::span<const RowPair> rows, int n, const ColumnMap& columns, bool wide,
             const ColourPairs& tables) {
    if (wide) {
        for (const RowPair& row : rows) MapRow555(row.in, row.out, n, columns);
        return;
    }
    if (columns.step > 1 && MapRowsEveryInBlocks(rows, n, columns.step, tables)) return;
    std::array<std::uint8_t, kPickChunk> picked;
    for (const RowPair& row : rows) {
        const RowJob job{row.in, row.out, n, tables.pairs, tables.twins};
        if (columns.step == 1) {
            MapRowCopy(job);
        } else if (columns.repeat == 2) {
            MapRowDoubled(job);
        } else if (columns.repeat > 2) {
            MapRowRepeated(job, columns.repeat);
        } else {
            for (int at = 0; at < n; at += kPickChunk) {
                const int m = std::min(kPickChunk, n - at);
                if (columns.step > 1) {
                    PickEvery(row.in + std::ptrdiff_t(at) * columns.step, picked.data(), m,
                              std::ptrdiff_t(columns.step));
                } else {
                    PickListed(row.in, picked.data(), m, columns.offsets.data() + at);
                }
                MapRowCopy({picked.data(), row.out + at, m, tables.pairs, tables.twins});
            }
        }
    }
}

}  // namespace

std::optional<DibView> ViewPackedDib(std::span<const std::byte> block) {
    if (block.size() < kInfoHeaderSize) return std::nullopt;
    const std::byte* header = block.data();
    const std::uint32_t headerSize = LoadLe32(header);
    const std::int32_t width = ReadI32(header + 4);
    const std::int32_t height = ReadI32(header + 8);
    const std::uint16_t bitsPerPixel = LoadLe16(header + 14);
    const std::uint32_t compression = LoadLe32(header + 16);
    const std::uint32_t coloursUsed = LoadLe32(header + 32);
    if (headerSize != kInfoHeaderSize || (bitsPerPixel != 8 && bitsPerPixel != 16) ||
        compression != 0) {
        return std::nullopt;
    }
    if (width <= 0 || height == 0 || height == std::numeric_limits<std::int32_t>::min()) {
        return std::nullopt;
    }
    // A shorter table would put the pixels elsewhere and leave pixel values
    // without a colour; our programs always write all 256 entries. A 16-bit
    // bitmap with a table is not one of ours either.
    const std::uint64_t tableBytes = bitsPerPixel == 8 ? kColourTableSize : 0;
    if (coloursUsed != 0 && (coloursUsed != 256 || bitsPerPixel != 8)) return std::nullopt;

    const std::uint64_t rows =
        height < 0 ? std::uint64_t(-std::int64_t(height)) : std::uint64_t(height);
    // In 64 bits, so that no header can wrap the size on a 32-bit build.
    const std::uint64_t rowBytes =
        (std::uint64_t(width) * (bitsPerPixel / 8) + 3) & ~std::uint64_t{3};
    const std::uint64_t pixelBytes = rows * rowBytes;
    const std::uint64_t available = block.size() - kInfoHeaderSize;
    if (available < tableBytes || available - tableBytes < pixelBytes) return std::nullopt;

    DibView view;
    view.width = width;
    view.height = height;
    view.bitsPerPixel = bitsPerPixel;
    // RgbQuad is four single bytes, so the table can be read in place.
    if (tableBytes != 0) view.colours = reinterpret_cast<const RgbQuad*>(header + kInfoHeaderSize);
    view.pixels = reinterpret_cast<const std::uint8_t*>(header + kInfoHeaderSize + tableBytes);
    return view;
}

void DrawDib(const DibView& dib, SourceRect src, Surface dst) {
    if (src.width <= 0 || src.height <= 0) return;
    if (dst.pixels == nullptr || dst.width <= 0 || dst.height <= 0 || dst.stride < dst.width) {
        return;
    }
    const bool wide = dib.bitsPerPixel == 16;
    if (!wide && dib.bitsPerPixel != 8) return;
    if (dib.pixels == nullptr || (!wide && dib.colours == nullptr)) return;
    if (dib.height == std::numeric_limits<int>::min()) return;  // no row count

    ColourPairs tables{nullptr, nullptr, nullptr};
    if (!wide) {
        std::array<std::uint32_t, 256> colours;
        for (std::size_t v = 0; v < colours.size(); ++v) {
            colours[v] = SurfaceColour(dib.colours[v]);
        }
        tables = ThreadPairTable().For(colours);
    }
    const std::int64_t pixelBytes = wide ? 2 : 1;

    const int pictureWidth = std::max(dib.width, 0);
    const int pictureRows = dib.Rows();
    const ColumnMap columns = MapColumns(src, dst.width, pictureWidth);
    const int run = columns.end - columns.begin;
    const std::size_t rowBytes = std::size_t(dst.width) * sizeof(std::uint32_t);

    // The picture row shown on surface row `dy`, and where its first shown
    // column is stored (nullptr when the row lies outside the picture).
    auto sourceRow = [&](int dy) {
        return std::int64_t(src.y) + std::int64_t(dy) * src.height / dst.height;
    };
    auto sourceBytes = [&](std::int64_t sy) -> const std::uint8_t* {
        if (sy < 0 || sy >= pictureRows || run == 0) return nullptr;
        return dib.Row(int(sy)) + columns.first * pixelBytes;
    };

    // Rows to draw are gathered and drawn together, so that the row loops set
    // up once for many rows.
    std::array<RowPair, 256> batch;
    std::size_t pending = 0;
    auto drawPending = [&] {
        if (pending > 0) MapRows(std::span(batch.data(), pending), run, columns, wide, tables);
        pending = 0;
    };
    std::int64_t previousY = std::numeric_limits<std::int64_t>::min();
    const std::uint32_t* previousRow = nullptr;
    for (int dy = 0; dy < dst.height; ++dy) {
        std::uint32_t* out = dst.pixels + std::ptrdiff_t(dy) * dst.stride;
        const std::int64_t sy = sourceRow(dy);
        // Enlarging shows each picture row on several surface rows: copy the
        // one already drawn.
        if (sy == previousY) {
            drawPending();
            std::memcpy(out, previousRow, rowBytes);
            continue;
        }
        previousY = sy;
        previousRow = out;

        const std::uint8_t* in = sourceBytes(sy);
        if (in == nullptr) {
            std::fill(out, out + dst.width, kBlack);
            continue;
        }
        std::fill(out, out + columns.begin, kBlack);
        std::fill(out + columns.end, out + dst.width, kBlack);
        batch[pending++] = {in, out + columns.begin};
        if (pending == batch.size()) drawPending();
    }
    drawPending();
}

}  // namespace qm71::dib
