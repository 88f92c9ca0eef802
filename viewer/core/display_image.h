#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "common/image_block.h"

namespace qm71 {

// The viewer's one image block: 3072 x 2056 8-bit pixels stored bottom-up
// behind their info header and colour table.
class DisplayImage final : public ImageBlock {
  public:
    static constexpr int kWidth = 3072;
    static constexpr int kHeight = 2056;
    static constexpr std::size_t kPixelSize = std::size_t{kWidth} * kHeight;
    static constexpr std::size_t kBlockSize = kPixelOffset + kPixelSize;  // 6,317,096

    // Allocates and fills in the header; nullptr when the memory is not there.
    static std::unique_ptr<DisplayImage> Allocate();

    std::span<std::byte, kBlockSize> Block() {
        return std::span<std::byte, kBlockSize>(Pixels() - kPixelOffset, kBlockSize);
    }
    std::span<const std::byte, kBlockSize> Block() const {
        return std::span<const std::byte, kBlockSize>(Pixels() - kPixelOffset, kBlockSize);
    }

  private:
    explicit DisplayImage(BlockMemory block) : ImageBlock(std::move(block), kWidth, kHeight) {}
};

}  // namespace qm71
