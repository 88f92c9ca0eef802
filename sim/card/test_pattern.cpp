#include "sim/card/test_pattern.h"

#include <algorithm>
#include <cstring>

namespace qm71::sim {

namespace {

constexpr int kBarLevels = 8;
constexpr std::uint8_t kSegments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};
enum : std::uint8_t { kA = 1, kB = 2, kC = 4, kD = 8, kE = 16, kF = 32, kG = 64 };

// memset of [x0, x1) clipped to the n bytes being written.
void Fill(std::byte* dst, std::size_t n, long long x0, long long x1, std::uint8_t value) {
    x0 = std::max(x0, 0LL);
    x1 = std::min(x1, static_cast<long long>(n));
    if (x0 < x1) std::memset(dst + x0, value, static_cast<std::size_t>(x1 - x0));
}

}  // namespace

TestPattern::TestPattern(int rows, int rowBytes, Scan scan)
    : rows_(std::max(rows, 1)),
      scan_(scan),
      rowBytes_(std::max(rowBytes, 1)),
      band_(std::max(rows / 4, 1)),
      barWidth_(std::max(rowBytes_ / 32, 1)) {
    const auto w = static_cast<std::size_t>(rowBytes_);
    const auto period = static_cast<std::size_t>(barWidth_ * kBarLevels);
    ramp_.resize(w);
    bars_.resize(w + period);
    diag_.resize(w + 256);
    for (std::size_t x = 0; x < w; ++x) ramp_[x] = std::byte(w > 1 ? x * 255 / (w - 1) : 0);
    for (std::size_t x = 0; x < bars_.size(); ++x)
        bars_[x] = std::byte((x / barWidth_) % kBarLevels * 255 / (kBarLevels - 1));
    for (std::size_t x = 0; x < diag_.size(); ++x) diag_[x] = std::byte(x & 0xFF);
}

void TestPattern::Render(std::uint32_t frame, int row, std::byte* dst, std::size_t n) const {
    // The picture's own rows count from the top.
    RenderPictureRow(frame, scan_ == Scan::BottomUp ? rows_ - 1 - row : row, dst, n);
}

void TestPattern::RenderPictureRow(std::uint32_t frame, int row, std::byte* dst,
                                   std::size_t n) const {
    n = std::min(n, static_cast<std::size_t>(rowBytes_));
    if (dst == nullptr || n == 0) return;
    switch (std::min(row / band_, 3)) {
        case 0:
            std::memcpy(dst, ramp_.data(), n);
            DrawBlock(frame, row, dst, n);
            break;
        case 1: {
            const std::size_t period = static_cast<std::size_t>(barWidth_) * kBarLevels;
            const std::size_t step = static_cast<std::size_t>(std::max(barWidth_ / 4, 1));
            std::memcpy(dst, bars_.data() + (frame * step) % period, n);
            break;
        }
        case 2:
            std::memset(dst, kCounterGround, n);
            DrawCounter(frame, row, dst, n);
            break;
        default:
            std::memcpy(dst, diag_.data() + ((static_cast<std::size_t>(row) + 4u * frame) & 0xFF),
                        n);
            break;
    }
}

void TestPattern::DrawBlock(std::uint32_t frame, int row, std::byte* dst, std::size_t n) const {
    const int size = std::max(band_ / 2, 1);
    const int top = band_ / 4;
    if (row < top || row >= top + size) return;
    const long long travel = std::max(rowBytes_ - size, 1);
    const long long step = std::max(rowBytes_ / 64, 1);
    const long long x0 = static_cast<long long>(frame) * step % travel;
    const auto centre = static_cast<std::size_t>(std::min<long long>(x0 + size / 2, rowBytes_ - 1));
    const std::uint8_t value = std::to_integer<int>(ramp_[centre]) < 128 ? 255 : 0;
    Fill(dst, n, x0, x0 + size, value);
}

void TestPattern::DrawCounter(std::uint32_t frame, int row, std::byte* dst, std::size_t n) const {
    const int height = std::max(band_ * 3 / 4, 5);
    const int width = height / 2;
    const int thick = std::max(height / 10, 1);
    const int top = 2 * band_ + band_ / 8;
    const int y = row - top;
    if (y < 0 || y >= height) return;
    const int mid = height / 2;
    const bool upper = y < mid;
    const bool inA = y < thick;
    const bool inD = y >= height - thick;
    const bool inG = y >= mid - thick / 2 && y < mid - thick / 2 + thick;

    std::uint32_t number = frame % 100000;
    const int pitch = width + std::max(width / 3, 1);
    const long long left = rowBytes_ / 16;
    for (int i = kDigits - 1; i >= 0; --i, number /= 10) {
        const std::uint8_t s = kSegments[number % 10];
        const long long x = left + static_cast<long long>(i) * pitch;
        if ((inA && (s & kA)) || (inD && (s & kD)) || (inG && (s & kG))) {
            Fill(dst, n, x, x + width, kDigitValue);
            continue;
        }
        if (s & (upper ? kF : kE)) Fill(dst, n, x, x + thick, kDigitValue);
        if (s & (upper ? kB : kC)) Fill(dst, n, x + width - thick, x + width, kDigitValue);
    }
}

}  // namespace qm71::sim
