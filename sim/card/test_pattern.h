#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qm71::sim {

// The picture of the simulated camera, in four horizontal bands from the top:
//   1. a grey ramp from 0 at the left to 255 at the right, with a block that
//      moves to the right from frame to frame (white on the dark half, black on
//      the bright half);
//   2. vertical bars of eight grey levels (0, 36, ..., 255) that move left;
//   3. the frame number (five 7-segment digits, value 240) on a dark ground (24);
//   4. a diagonal ramp, (x + y + 4 * frame) mod 256.
// Every band is one copy out of a pattern row made once, so a row costs about
// one memcpy; only the block and the digit segments are written on top.
//
// An area camera reads its sensor from the top row down. A line camera has
// one row of sensor: its picture is the scene passing it, and the scene moves
// downwards across the line, so the bottom edge of the picture is scanned
// first and each new line lies above the one before.
class TestPattern {
  public:
    enum class Scan { TopDown, BottomUp };

    TestPattern(int rows, int rowBytes, Scan scan = Scan::TopDown);

    // Writes the first `n` bytes (at most rowBytes) of the row the camera
    // delivers as row `row` (0 = the first it scans) of frame `frame`.
    void Render(std::uint32_t frame, int row, std::byte* dst, std::size_t n) const;

  private:
    static constexpr int kDigits = 5;
    static constexpr std::uint8_t kDigitValue = 240;
    static constexpr std::uint8_t kCounterGround = 24;

    void DrawBlock(std::uint32_t frame, int row, std::byte* dst, std::size_t n) const;
    void DrawCounter(std::uint32_t frame, int row, std::byte* dst, std::size_t n) const;

    void RenderPictureRow(std::uint32_t frame, int row, std::byte* dst, std::size_t n) const;

    int rows_;
    Scan scan_;
    int rowBytes_;
    int band_;
    int barWidth_;
    std::vector<std::byte> ramp_;  // rowBytes_
    std::vector<std::byte> bars_;  // rowBytes_ + one period of the bars
    std::vector<std::byte> diag_;  // rowBytes_ + 256
};

}  // namespace qm71::sim
