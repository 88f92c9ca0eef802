#include "sim/service/simulated_card_service.h"

#include <algorithm>
#include <cstring>

#include "platform/little_endian.h"

namespace qm71::sim {
namespace {

constexpr std::size_t kCycleFrames = 16;
// The cycle stays within this many bytes; a larger frame repeats its rows.
constexpr std::size_t kCycleBytes = std::size_t{32} << 20;

// Small, fast and the same on every run.
std::uint32_t NextRandom(std::uint32_t& state) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

}  // namespace

SimulatedCardService::SimulatedCardService(Clock& clock, const CardOptions& options)
    : clock_(clock), noise_(std::clamp(options.noise, 0, 1023)) {
    if (options.fps > 0) {
        period_ = std::chrono::duration_cast<Clock::Duration>(
            std::chrono::duration<double>(1.0 / options.fps));
    }
    for (auto& table : tables_) {
        for (std::size_t s = 0; s < table.size(); ++s) table[s] = static_cast<std::uint32_t>(s);
    }
    Reset();
}

void SimulatedCardService::Reset() {
    width_ = 512;
    height_ = 256;
    sixteenBit_ = false;
    portReady_ = false;
    started_ = false;
    active_ = 0;
    loading_ = -1;
    dirty_ = true;
}

std::uint32_t SimulatedCardService::Call(ServiceFunction function, std::uint32_t cx,
                                         std::uint32_t dx) {
    switch (function) {
        case ServiceFunction::ResetCard:
            Reset();
            break;
        case ServiceFunction::SetGeometry:
            if ((cx & 0xFFFF) != width_ || (dx & 0xFFFF) != height_) dirty_ = true;
            width_ = cx & 0xFFFF;
            height_ = dx & 0xFFFF;
            break;
        case ServiceFunction::SetMode:
            if (((cx & 0xFFFF) == kMode16Bit) != sixteenBit_) dirty_ = true;
            sixteenBit_ = (cx & 0xFFFF) == kMode16Bit;
            portReady_ = true;
            return kDataPort;
        case ServiceFunction::StartFrame:
        case ServiceFunction::NextFrame:
            StartFrame();
            break;
        case ServiceFunction::OpenTable:
            loading_ = dx < kLookupTables ? static_cast<int>(dx) : -1;
            loadAt_ = 0;
            break;
        case ServiceFunction::StoreTablePair:
            for (const std::uint32_t value : {cx, dx}) {
                if (loading_ >= 0 && loadAt_ < tables_[loading_].size())
                    tables_[loading_][loadAt_++] = value;
            }
            if (loading_ == active_) dirty_ = true;
            break;
        case ServiceFunction::ActivateTable:
            if (cx < kLookupTables && static_cast<int>(cx) != active_) {
                active_ = static_cast<int>(cx);
                dirty_ = true;
            }
            break;
        default:
            break;
    }
    return dx;
}

void SimulatedCardService::StartFrame() {
    const Clock::Duration now = clock_.Now();
    frameStart_ = frame_ > 0 && period_.count() > 0 ? std::max(now, frameStart_ + period_) : now;
    started_ = true;
    ++frame_;
    readAt_ = 0;
}

void SimulatedCardService::Render() {
    dirty_ = false;
    const std::size_t bytesPerPixel = sixteenBit_ ? 2 : 1;
    rowBytes_ = std::max<std::size_t>(width_, 1) * bytesPerPixel;
    frameBytes_ = rowBytes_ * height_;
    frames_ = std::clamp<std::size_t>(kCycleBytes / std::max<std::size_t>(frameBytes_, 1), 1,
                                      kCycleFrames);
    rows_ = std::clamp<std::size_t>(kCycleBytes / (rowBytes_ * frames_), 1,
                                    std::max<std::uint32_t>(height_, 1));
    cycle_.resize(frames_ * rows_ * rowBytes_);

    const auto& table = tables_[active_];
    const TestPattern pattern(static_cast<int>(rows_),
                              static_cast<int>(std::max<std::uint32_t>(width_, 1)));
    std::vector<std::byte> picture(std::max<std::uint32_t>(width_, 1));
    std::uint32_t random = 0x9E3779B9u;
    std::byte* out = cycle_.data();
    for (std::size_t f = 0; f < frames_; ++f) {
        for (std::size_t row = 0; row < rows_; ++row) {
            pattern.Render(static_cast<std::uint32_t>(f), static_cast<int>(row), picture.data(),
                           picture.size());
            for (const std::byte pixel : picture) {
                const int v = std::to_integer<int>(pixel);
                int sensor = v * 4 + v / 64;
                if (noise_ > 0) {
                    sensor += static_cast<int>(NextRandom(random) % (2u * noise_ + 1)) - noise_;
                    sensor = std::clamp(sensor, 0, 1023);
                }
                const std::uint32_t value = table[static_cast<std::size_t>(sensor)];
                if (sixteenBit_) {
                    StoreLe16(out, static_cast<std::uint16_t>(value & 0xFFFF));
                    out += 2;
                } else {
                    *out++ = static_cast<std::byte>((value >> 2) & 0xFF);
                }
            }
        }
    }
}

void SimulatedCardService::Serve(std::byte* dst, std::size_t bytes) {
    if (!started_) StartFrame();  // a frame runs even when its start was not asked for
    if (dirty_) Render();
    if (period_.count() > 0 && frameBytes_ > 0) {
        const std::size_t end = std::min(readAt_ + bytes, frameBytes_);
        const auto ready =
            frameStart_ + period_ * static_cast<double>(end) / static_cast<double>(frameBytes_);
        const auto wait = std::min(
            Clock::Duration(std::chrono::duration_cast<Clock::Duration>(ready - clock_.Now())),
            period_);
        if (wait.count() > 0) clock_.Sleep(wait);
    }
    const std::byte* frame = cycle_.data() + (frame_ % frames_) * rows_ * rowBytes_;
    const std::size_t made = rows_ * rowBytes_;
    while (bytes > 0 && readAt_ < frameBytes_) {
        const std::size_t from =
            readAt_ < made ? readAt_ : readAt_ % made;  // rows repeat past `made`
        const std::size_t n = std::min({bytes, made - from, frameBytes_ - readAt_});
        std::memcpy(dst, frame + from, n);
        dst += n;
        bytes -= n;
        readAt_ += n;
    }
    if (bytes > 0) std::memset(dst, 0xFF, bytes);
}

std::uint32_t SimulatedCardService::In32(std::uint16_t port) {
    std::uint32_t value = 0xFFFFFFFFu;
    In32Block(port, std::span(&value, 1));
    return value;
}

void SimulatedCardService::Read(std::uint16_t port, std::byte* dst, std::size_t bytes) {
    if (!portReady_ || port != kDataPort) {
        std::memset(dst, 0xFF, bytes);
    } else {
        Serve(dst, bytes);
    }
}

void SimulatedCardService::In32Block(std::uint16_t port, std::span<std::uint32_t> values) {
    Read(port, reinterpret_cast<std::byte*>(values.data()), values.size_bytes());
}

void SimulatedCardService::In32Rows(std::uint16_t port, std::byte* first, std::size_t rowWords,
                                    std::size_t rows, std::ptrdiff_t stride) {
    const std::size_t bytes = rowWords * sizeof(std::uint32_t);
    for (std::size_t r = 0; r < rows; ++r) Read(port, first + std::ptrdiff_t(r) * stride, bytes);
}

}  // namespace qm71::sim
