#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "common/colour_table.h"

namespace qm71 {

// The viewer's one image block: a 40-byte bitmap info header, 256 colour-table
// entries and 3072 x 2056 8-bit pixels stored bottom-up, in one zero-filled
// allocation that is drawn and saved as it stands.
class DisplayImage {
  public:
    static constexpr int kWidth = 3072;
    static constexpr int kHeight = 2056;
    static constexpr std::size_t kHeaderSize = 40;
    static constexpr std::size_t kTableSize = 256 * 4;
    static constexpr std::size_t kPixelOffset = kHeaderSize + kTableSize;  // 1064
    static constexpr std::size_t kPixelSize = std::size_t{kWidth} * kHeight;
    static constexpr std::size_t kBlockSize = kPixelOffset + kPixelSize;  // 6,317,096

    // Allocates and fills in the header; nullptr when the memory is not there.
    static std::unique_ptr<DisplayImage> Allocate();

    std::span<std::byte, kBlockSize> Block() {
        return std::span<std::byte, kBlockSize>(block_.get(), kBlockSize);
    }
    std::span<const std::byte, kBlockSize> Block() const {
        return std::span<const std::byte, kBlockSize>(block_.get(), kBlockSize);
    }
    std::span<RgbQuad, 256> ColourTable() {
        return std::span<RgbQuad, 256>(reinterpret_cast<RgbQuad*>(block_.get() + kHeaderSize), 256);
    }
    // Start of the pixel area: the bottom row of the picture.
    std::byte* Pixels() { return block_.get() + kPixelOffset; }
    const std::byte* Pixels() const { return block_.get() + kPixelOffset; }

  private:
    explicit DisplayImage(std::unique_ptr<std::byte[]> block) : block_(std::move(block)) {}
    std::unique_ptr<std::byte[]> block_;
};

}  // namespace qm71
