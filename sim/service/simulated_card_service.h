#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/card_service.h"
#include "platform/clock.h"
#include "sim/card/card_options.h"
#include "sim/card/test_pattern.h"

namespace qm71::sim {

// The card as the acquisition library reaches it: the resident service and
// the data port streaming the frame in progress.
//
//   ResetCard             geometry, mode and the active table back to their start
//   SetGeometry W, H      geometry (low 16 bits each)
//   PrepareFrame          nothing
//   SetMode mode, 1       kMode16Bit = 16-bit transfers, anything else 8-bit;
//                         DX = data port
//   StartFrame, NextFrame start the next frame; DX unchanged
//   OpenTable 1024, n     open table n (0..4) for loading from its first value
//   StoreTablePair a, b   store the next two values of the open table
//   ActivateTable n       make table n active
//
// The camera sees the moving test picture as 10-bit sensor values s; the
// active table maps s to the value sent. An 8-bit transfer sends bits 9..2 of
// that value (so tables holding the sensor ramp give the 8-bit picture), a
// 16-bit transfer its low 16 bits. Until loaded, every table holds the ramp.
//
// The picture is made through the table once when the table, the mode or the
// geometry changes: a cycle of up to 16 frames (the counter counts within the
// cycle, each frame with its own noise), so that serving a read is one copy.
// Frames start no faster than `fps` (0 = at once); the rows of a frame become
// readable in step through its period, and no read waits more than one period.
// Reading before SetMode, from another port or past the end of the frame gives all
// ones.
class SimulatedCardService final : public CardPortPair {
  public:
    static constexpr std::uint16_t kDataPort = 0x330;

    SimulatedCardService(Clock& clock, const CardOptions& options);

    std::uint32_t Call(ServiceFunction function, std::uint32_t cx, std::uint32_t dx) override;
    std::uint32_t In32(std::uint16_t port) override;
    void In32Block(std::uint16_t port, std::span<std::uint32_t> values) override;
    void In32Rows(std::uint16_t port, std::byte* first, std::size_t rowWords, std::size_t rows,
                  std::ptrdiff_t stride) override;

  private:
    void Reset();
    void StartFrame();
    void Render();
    // The frame's next bytes from the data port once the mode is set; all ones
    // from any other port or before.
    void Read(std::uint16_t port, std::byte* dst, std::size_t bytes);
    void Serve(std::byte* dst, std::size_t bytes);

    Clock& clock_;
    Clock::Duration period_{0};
    int noise_;

    std::uint32_t width_ = 0;
    std::uint32_t height_ = 0;
    bool sixteenBit_ = false;
    bool portReady_ = false;
    std::array<std::array<std::uint32_t, kLookupTableValues>, kLookupTables> tables_{};
    int active_ = 0;
    int loading_ = -1;
    std::size_t loadAt_ = 0;

    bool dirty_ = true;
    std::vector<std::byte> cycle_;  // frames of rowBytes_ * rows_ bytes
    std::size_t rowBytes_ = 0;
    std::size_t rows_ = 0;        // rows made; further rows repeat them
    std::size_t frames_ = 0;      // frames in the cycle
    std::size_t frameBytes_ = 0;  // bytes the card streams per frame

    bool started_ = false;
    std::uint64_t frame_ = 0;
    std::size_t readAt_ = 0;
    Clock::Duration frameStart_{0};
};

}  // namespace qm71::sim
