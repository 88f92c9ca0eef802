#include "sample/core/image_buffer.h"

#include <new>

#include "platform/dib/bitmap_header.h"

namespace qm71::sample {

namespace {
constexpr std::size_t kSpareBytes = 4096;
}  // namespace

std::size_t ImageBuffer::BlockBytes(std::uint32_t width, std::uint32_t height, int bits,
                                    int slots) {
    const std::size_t d = slots > 1 ? 2 : 1;
    return std::size_t{width} * height * (static_cast<std::size_t>(bits) * d / 8) + kSpareBytes;
}

std::unique_ptr<ImageBuffer> ImageBuffer::Allocate(std::uint32_t width, std::uint32_t height,
                                                   int bits, int slots) {
    std::unique_ptr<ImageBuffer> buffer(new ImageBuffer);
    buffer->size_ = BlockBytes(width, height, bits, slots);
    buffer->block_.reset(new (std::nothrow) std::byte[buffer->size_]());
    if (!buffer->block_) return nullptr;
    buffer->width_ = width;
    buffer->height_ = height;
    buffer->bits_ = bits;
    buffer->pixelOffset_ = dib::kInfoHeaderSize + (bits == 8 ? dib::kColourTableSize : 0);

    std::byte* h = buffer->block_.get();
    // Positive height: bottom-up rows.
    dib::StoreInfoHeader(
        h, {.width = static_cast<std::int32_t>(width),
            .height = static_cast<std::int32_t>(height),
            .bitsPerPixel = static_cast<std::uint16_t>(bits),
            .imageSize = static_cast<std::uint32_t>(dib::RowBytes(width, bits) * height),
            .coloursUsed = bits == 8 ? 256u : 0u});
    if (bits == 8) {
        for (int i = 0; i < 256; ++i) {
            std::byte* entry = h + dib::kInfoHeaderSize + 4 * i;
            entry[0] = entry[1] = entry[2] = static_cast<std::byte>(i);
        }
    }
    return buffer;
}

}  // namespace qm71::sample
