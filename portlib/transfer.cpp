#include "portlib/transfer.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstring>
#include <memory>
#include <new>

#include "platform/card_service.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif
#if defined(__GNUC__) && defined(__x86_64__)
#include <immintrin.h>
#endif

namespace qm71::portlib {
namespace {

constexpr std::uint32_t kSizeLimit = 65536;

// Rows are read through this many words on the stack when they cannot go
// straight into the caller's memory (unaligned, or summed up).
constexpr std::size_t kChunkWords = 2048;

Qm71Ports g_ports{};
Qm71RowReader g_rows = nullptr;
std::atomic<int> g_framePending{0};
std::atomic<int> g_keepSums{0};

bool Installed() {
    return g_ports.call != nullptr && g_ports.in32Block != nullptr;
}

std::uint32_t Call(ServiceFunction function, std::uint32_t cx, std::uint32_t dx) {
    return g_ports.call(g_ports.context, static_cast<std::uint8_t>(function), cx, dx);
}

// Reads `words` values from the port into `dest`, which need not be aligned.
void ReadWords(std::uint16_t port, std::byte* dest, std::size_t words) {
    if (reinterpret_cast<std::uintptr_t>(dest) % alignof(std::uint32_t) == 0) {
        g_ports.in32Block(g_ports.context, port, reinterpret_cast<std::uint32_t*>(dest), words);
        return;
    }
    std::uint32_t chunk[kChunkWords];
    while (words > 0) {
        const std::size_t n = std::min(words, kChunkWords);
        g_ports.in32Block(g_ports.context, port, chunk, n);
        std::memcpy(dest, chunk, n * sizeof(std::uint32_t));
        dest += n * sizeof(std::uint32_t);
        words -= n;
    }
}

// Averaging adds the frames to 16-bit sums twice a frame's size, which stay
// in no first-level cache: reading and writing the sums is what it costs. So
// the frames are added in groups: the first ones of a group are read whole
// into spare frames, as a plain grab reads them, and the last one is added
// together with them, chunk by chunk, in one pass over the sums.
constexpr unsigned kGroupFrames = 4;
// Spare frames are only taken while they need no more memory than this;
// larger frames are added one by one.
constexpr std::size_t kSpareBytesLimit = std::size_t{16} << 20;

// One pass of adding, sums[i] += last[i] + spare[0][i] + ... +
// spare[kSpares - 1][i] modulo 65536 for i < n. The sums live in the
// caller's buffer and may be unaligned.
template <int kSpares>
struct AddJob {
    const std::uint8_t* last;
    const std::uint8_t* spare[kSpares > 0 ? kSpares : 1];
    std::byte* sums;
};

#if defined(__GNUC__) && defined(__x86_64__)
// The pass with wider registers where the processor has them: the adding is
// bound by storing the sums, and wider stores need fewer of them. Each
// returns how many bytes it added.
__attribute__((target("avx512f,avx512bw"), always_inline)) inline __m512i Widen512(
    const std::uint8_t* p) {
    return _mm512_cvtepu8_epi16(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)));
}
__attribute__((target("avx2"), always_inline)) inline __m256i Widen256(const std::uint8_t* p) {
    return _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
}
template <int kSpares>
__attribute__((target("avx512f,avx512bw"))) std::size_t AddAvx512(const AddJob<kSpares>& job,
                                                                  std::size_t n) {
    std::size_t i = 0;
    for (; i + 32 <= n; i += 32) {
        __m512i v = Widen512(job.last + i);
#pragma GCC unroll 4
        for (int j = 0; j < kSpares; ++j) v = _mm512_add_epi16(v, Widen512(job.spare[j] + i));
        std::byte* s = job.sums + 2 * i;
        _mm512_storeu_si512(s, _mm512_add_epi16(_mm512_loadu_si512(s), v));
    }
    return i;
}
template <int kSpares>
__attribute__((target("avx2"))) std::size_t AddAvx2(const AddJob<kSpares>& job, std::size_t n) {
    std::size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        __m256i v = Widen256(job.last + i);
#pragma GCC unroll 4
        for (int j = 0; j < kSpares; ++j) v = _mm256_add_epi16(v, Widen256(job.spare[j] + i));
        auto* s = reinterpret_cast<__m256i*>(job.sums + 2 * i);
        _mm256_storeu_si256(s, _mm256_add_epi16(_mm256_loadu_si256(s), v));
    }
    return i;
}
const bool kHasAvx512 = __builtin_cpu_supports("avx512bw");
const bool kHasAvx2 = __builtin_cpu_supports("avx2");
#endif

template <int kSpares>
void Add(const AddJob<kSpares>& job, std::size_t n) {
    std::size_t i = 0;
#if defined(__GNUC__) && defined(__x86_64__)
    if (kHasAvx512) {
        i = AddAvx512(job, n);
    } else if (kHasAvx2) {
        i = AddAvx2(job, n);
    }
#endif
#ifdef __SSE2__
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
        auto load = [&](const std::uint8_t* p) {
            return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        };
        __m128i v = load(job.last);
        __m128i lo = _mm_unpacklo_epi8(v, zero);
        __m128i hi = _mm_unpackhi_epi8(v, zero);
#pragma GCC unroll 4
        for (int j = 0; j < kSpares; ++j) {
            v = load(job.spare[j]);
            lo = _mm_add_epi16(lo, _mm_unpacklo_epi8(v, zero));
            hi = _mm_add_epi16(hi, _mm_unpackhi_epi8(v, zero));
        }
        auto* sumsLo = reinterpret_cast<__m128i*>(job.sums + 2 * i);
        auto* sumsHi = reinterpret_cast<__m128i*>(job.sums + 2 * i + 16);
        _mm_storeu_si128(sumsLo, _mm_add_epi16(_mm_loadu_si128(sumsLo), lo));
        _mm_storeu_si128(sumsHi, _mm_add_epi16(_mm_loadu_si128(sumsHi), hi));
    }
#endif
    for (; i < n; ++i) {
        unsigned add = job.last[i];
        for (int j = 0; j < kSpares; ++j) add += job.spare[j][i];
        std::uint16_t sum;
        std::memcpy(&sum, job.sums + 2 * i, sizeof sum);
        sum = static_cast<std::uint16_t>(sum + add);
        std::memcpy(job.sums + 2 * i, &sum, sizeof sum);
    }
}

// Adds `n` bytes of the last frame of a group, with the same bytes of the
// group's first `spares` frames, to the sums from `at` on.
void AddGroup(const std::uint8_t* last, const std::uint8_t* spares, std::size_t spareCount,
              std::size_t frameBytes, std::size_t at, std::size_t n, std::byte* sums) {
    auto spare = [&](std::size_t j) { return spares + j * frameBytes + at; };
    // Groups hold 1, 2 or 4 frames, as many as are averaged up to four.
    static_assert(kGroupFrames == 4);
    switch (spareCount) {
        case 0:
            return Add<0>({last, {}, sums + 2 * at}, n);
        case 1:
            return Add<1>({last, {spare(0)}, sums + 2 * at}, n);
        default:
            return Add<3>({last, {spare(0), spare(1), spare(2)}, sums + 2 * at}, n);
    }
}

std::uint16_t SetUp(std::uint32_t width, std::uint32_t height, bool sixteenBit) {
    Call(ServiceFunction::SetGeometry, width & 0xFFFF, height & 0xFFFF);
    Call(ServiceFunction::PrepareFrame, 0, 0);
    std::uint32_t dx = Call(ServiceFunction::SetMode, sixteenBit ? kMode16Bit : kMode8Bit, 1);
    if (g_framePending.exchange(0) == 0) {
        dx = Call(ServiceFunction::StartFrame, 0, dx);
    }
    return static_cast<std::uint16_t>(dx);
}

void Average(std::byte* pixels, std::size_t width, std::size_t height, unsigned k) {
    const std::size_t count = width * height;
    std::memset(pixels, 0, 2 * count);
    std::uint16_t port =
        SetUp(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height), false);
    const std::size_t rowWords = width / 4;
    const unsigned frames = 1u << k;
    std::size_t group = std::min(frames, kGroupFrames);
    std::unique_ptr<std::uint8_t[]> spares;
    if (group > 1 && count <= kSpareBytesLimit / (group - 1)) {
        // Not cleared: a spare frame's bytes are added only where the card
        // has just written them.
        spares.reset(new (std::nothrow) std::uint8_t[(group - 1) * count]);
    }
    if (!spares) group = 1;
    std::uint32_t chunk[kChunkWords];
    // With W a multiple of 4 the sums of consecutive rows are consecutive:
    // the frame is one stream of words. Otherwise the card streams W / 4
    // words per row and the last sums of each row stay where they were.
    const bool whole = width % 4 == 0;
    const std::size_t runs = whole ? 1 : height;
    const std::size_t runWords = whole ? rowWords * height : rowWords;
    for (unsigned f = 0; f < frames; ++f) {
        const std::size_t member = f % group;
        for (std::size_t run = 0; run < runs; ++run) {
            const std::size_t first = run * width;
            if (member + 1 < group) {
                ReadWords(port, reinterpret_cast<std::byte*>(spares.get() + member * count + first),
                          runWords);
                continue;
            }
            for (std::size_t done = 0; done < runWords;) {
                const std::size_t n = std::min(runWords - done, kChunkWords);
                g_ports.in32Block(g_ports.context, port, chunk, n);
                AddGroup(reinterpret_cast<const std::uint8_t*>(chunk), spares.get(), member, count,
                         first + 4 * done, 4 * n, pixels);
                done += n;
            }
        }
        if (f + 1 < frames) {
            port = static_cast<std::uint16_t>(Call(ServiceFunction::NextFrame, 0, port));
        }
    }
    if (g_keepSums.exchange(0) != 0) {
        return;
    }
    // In place and ascending: byte i is written after sum i was read, and
    // never over a sum still to come.
    std::size_t i = 0;
#ifdef __SSE2__
    const __m128i shift = _mm_cvtsi32_si128(static_cast<int>(k));
    const __m128i low = _mm_set1_epi16(0xFF);
    for (; i + 16 <= count; i += 16) {
        const auto* sums = reinterpret_cast<const __m128i*>(pixels + 2 * i);
        const __m128i lo = _mm_and_si128(_mm_srl_epi16(_mm_loadu_si128(sums), shift), low);
        const __m128i hi = _mm_and_si128(_mm_srl_epi16(_mm_loadu_si128(sums + 1), shift), low);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(pixels + i), _mm_packus_epi16(lo, hi));
    }
#endif
    for (; i < count; ++i) {
        std::uint16_t sum;
        std::memcpy(&sum, pixels + 2 * i, sizeof sum);
        pixels[i] = static_cast<std::byte>(sum >> k);
    }
}

}  // namespace

int Transfer(const FrameDescriptor* frame, const Layout& layout) {
    if (frame == nullptr) {
        return QM71_OUT_OF_DOMAIN;
    }
    const std::uint32_t width = layout.width != 0 ? layout.width : frame->width;
    const std::uint32_t height = layout.height != 0 ? layout.height : frame->height;
    const unsigned k = frame->averagingExponent & 0xFFFF;
    if (frame->pixels == nullptr || width < 4 || height == 0 || width >= kSizeLimit ||
        height >= kSizeLimit || (layout.averaged && k > QM71_MAX_AVERAGING_EXPONENT)) {
        return QM71_OUT_OF_DOMAIN;
    }
    if (!Installed()) {
        return QM71_NO_PORTS;
    }
    auto* pixels = static_cast<std::byte*>(frame->pixels);
    const std::size_t w = width;
    const std::size_t h = height;
    if (layout.averaged) {
        Average(pixels, w, h, k);
        return QM71_OK;
    }
    const std::uint16_t port = SetUp(width, height, layout.sixteenBit);
    if (layout.bottomUp && g_rows != nullptr) {
        g_rows(g_ports.context, port, pixels + (h - 1) * w, w / 4, h,
               -static_cast<std::ptrdiff_t>(w));
    } else if (layout.bottomUp) {
        for (std::size_t row = 0; row < h; ++row) {
            ReadWords(port, pixels + (h - 1 - row) * w, w / 4);
        }
    } else {
        ReadWords(port, pixels, (layout.sixteenBit ? w / 2 : w / 4) * h);
    }
    return QM71_OK;
}

}  // namespace qm71::portlib

extern "C" {

void qm71_install_ports(const Qm71Ports* ports) {
    qm71::portlib::g_ports = ports != nullptr ? *ports : Qm71Ports{};
    qm71::portlib::g_rows = nullptr;
}

void qm71_install_row_reader(Qm71RowReader in32Rows) {
    qm71::portlib::g_rows = in32Rows;
}

void qm71_set_frame_pending(int pending) {
    qm71::portlib::g_framePending.store(pending);
}

void qm71_set_keep_sums(int keep) {
    qm71::portlib::g_keepSums.store(keep);
}

}  // extern "C"
