#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "common/colour_table.h"
#include "platform/dib/bitmap_header.h"

namespace qm71 {

// One picture as the programs keep it: a 40-byte bitmap info header, 256
// colour-table entries and one byte per pixel, rows stored bottom-up (the first
// stored row is the bottom of the picture), in one zero-filled allocation that
// is drawn and saved as it stands. The width must be a multiple of 4, so that
// rows need no filling bytes.
//
// The pixels start on a page boundary. Rows are copied into and between
// blocks by the thousand; a destination that starts a few bytes past its
// source modulo 4 KiB makes every load wait on the store before it, which
// halves the speed of a copy. Blocks placed alike cannot fall into that.
class ImageBlock {
  public:
    static constexpr std::size_t kPixelOffset = dib::kInfoHeaderSize + dib::kColourTableSize;

    // Allocates the block and fills in the header; `coloursUsed` goes into the
    // header as it is (0 and 256 both mean all 256 entries). Nullptr when the
    // memory is not there.
    static std::unique_ptr<ImageBlock> Allocate(int width, int height, std::uint32_t coloursUsed);

    ImageBlock(const ImageBlock&) = delete;
    ImageBlock& operator=(const ImageBlock&) = delete;
    virtual ~ImageBlock() = default;

    int Width() const { return width_; }
    int Height() const { return height_; }
    std::size_t PixelSize() const { return std::size_t(width_) * std::size_t(height_); }
    std::size_t BlockSize() const { return kPixelOffset + PixelSize(); }

    std::span<std::byte> Block() { return {block_.get(), BlockSize()}; }
    std::span<const std::byte> Block() const { return {block_.get(), BlockSize()}; }
    std::span<RgbQuad, 256> ColourTable() {
        return std::span<RgbQuad, 256>(
            reinterpret_cast<RgbQuad*>(block_.get() + dib::kInfoHeaderSize), 256);
    }
    // Start of the pixel area: the bottom row of the picture.
    std::byte* Pixels() { return block_.get() + kPixelOffset; }
    const std::byte* Pixels() const { return block_.get() + kPixelOffset; }

  protected:
    // Frees a block made by NewBlock.
    struct FreeBlock {
        void operator()(std::byte* block) const;
    };
    using BlockMemory = std::unique_ptr<std::byte[], FreeBlock>;

    // The zero-filled block with its header, or nullptr.
    static BlockMemory NewBlock(int width, int height, std::uint32_t coloursUsed);
    ImageBlock(BlockMemory block, int width, int height)
        : block_(std::move(block)), width_(width), height_(height) {}

  private:
    BlockMemory block_;
    int width_;
    int height_;
};

}  // namespace qm71
