#include "portlib/transfer.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstring>

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

#if defined(__GNUC__) && defined(__x86_64__)
// The same with 32-byte registers where the processor has them: the adding
// is bound by storing the sums, and this halves the stores.
__attribute__((target("avx2"))) std::size_t AddBytesAvx2(const std::uint8_t* bytes, std::size_t n,
                                                         std::byte* sums) {
    std::size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        const __m256i v =
            _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i)));
        auto* s = reinterpret_cast<__m256i*>(sums + 2 * i);
        _mm256_storeu_si256(s, _mm256_add_epi16(_mm256_loadu_si256(s), v));
    }
    return i;
}
const bool kHasAvx2 = __builtin_cpu_supports("avx2");
#endif

// Adds the four bytes of each word to four consecutive 16-bit sums (modulo
// 65536). The sums live in the caller's buffer and may be unaligned.
void AddBytes(const std::uint32_t* words, std::size_t count, std::byte* sums) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(words);
    const std::size_t n = count * 4;
    std::size_t i = 0;
#if defined(__GNUC__) && defined(__x86_64__)
    if (kHasAvx2) i = AddBytesAvx2(bytes, n, sums);
#endif
#ifdef __SSE2__
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
        auto* lo = reinterpret_cast<__m128i*>(sums + 2 * i);
        auto* hi = reinterpret_cast<__m128i*>(sums + 2 * i + 16);
        _mm_storeu_si128(lo, _mm_add_epi16(_mm_loadu_si128(lo), _mm_unpacklo_epi8(v, zero)));
        _mm_storeu_si128(hi, _mm_add_epi16(_mm_loadu_si128(hi), _mm_unpackhi_epi8(v, zero)));
    }
#endif
    for (; i < n; ++i) {
        std::uint16_t sum;
        std::memcpy(&sum, sums + 2 * i, sizeof sum);
        sum = static_cast<std::uint16_t>(sum + bytes[i]);
        std::memcpy(sums + 2 * i, &sum, sizeof sum);
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
    std::uint32_t chunk[kChunkWords];
    // With W a multiple of 4 the sums of consecutive rows are consecutive:
    // the frame is one stream of words. Otherwise the card streams W / 4
    // words per row and the last sums of each row stay where they were.
    const bool whole = width % 4 == 0;
    const std::size_t runs = whole ? 1 : height;
    const std::size_t runWords = whole ? rowWords * height : rowWords;
    for (unsigned f = 0; f < frames; ++f) {
        for (std::size_t run = 0; run < runs; ++run) {
            std::byte* sums = pixels + 2 * run * width;
            for (std::size_t done = 0; done < runWords;) {
                const std::size_t n = std::min(runWords - done, kChunkWords);
                g_ports.in32Block(g_ports.context, port, chunk, n);
                AddBytes(chunk, n, sums + 8 * done);
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
    for (std::size_t i = 0; i < count; ++i) {
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
