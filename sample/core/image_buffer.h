#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace qm71::sample {

// The frame block: a 40-byte bitmap information header (bottom-up rows),
// for 8 bits per pixel a 256-entry grey colour table, then the pixels. The
// block is W x H x (bits x slots / 8) + 4096 bytes; averaging grabs use two
// slots a pixel for the library's 16-bit sums.
class ImageBuffer {
  public:
    // Zero-filled block with the header and colour table written; null when
    // the block cannot be had.
    static std::unique_ptr<ImageBuffer> Allocate(std::uint32_t width, std::uint32_t height,
                                                 int bits, int slots);

    static std::size_t BlockBytes(std::uint32_t width, std::uint32_t height, int bits, int slots);

    const std::byte* Header() const { return block_.get(); }
    std::byte* Pixels() { return block_.get() + pixelOffset_; }
    std::size_t PixelOffset() const { return pixelOffset_; }
    std::size_t Size() const { return size_; }
    std::uint32_t Width() const { return width_; }
    std::uint32_t Height() const { return height_; }
    int Bits() const { return bits_; }

  private:
    ImageBuffer() = default;

    std::unique_ptr<std::byte[]> block_;
    std::size_t size_ = 0;
    std::size_t pixelOffset_ = 0;
    std::uint32_t width_ = 0, height_ = 0;
    int bits_ = 8;
};

}  // namespace qm71::sample
