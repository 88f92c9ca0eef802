#include "sample/core/image_buffer.h"

#include <new>

namespace qm71::sample {

namespace {

constexpr std::size_t kHeaderBytes = 40;
constexpr std::size_t kColourTableBytes = 256 * 4;
constexpr std::size_t kSpareBytes = 4096;

void Put32(std::byte* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<std::byte>((value >> (8 * i)) & 0xFF);
}
void Put16(std::byte* at, std::uint16_t value) {
    at[0] = static_cast<std::byte>(value & 0xFF);
    at[1] = static_cast<std::byte>(value >> 8);
}

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
    buffer->pixelOffset_ = kHeaderBytes + (bits == 8 ? kColourTableBytes : 0);

    std::byte* h = buffer->block_.get();
    const std::size_t stride = (std::size_t{width} * bits + 31) / 32 * 4;
    Put32(h + 0, kHeaderBytes);
    Put32(h + 4, width);
    Put32(h + 8, height);  // positive: bottom-up rows
    Put16(h + 12, 1);
    Put16(h + 14, static_cast<std::uint16_t>(bits));
    Put32(h + 20, static_cast<std::uint32_t>(stride * height));
    Put32(h + 32, bits == 8 ? 256 : 0);
    if (bits == 8) {
        for (int i = 0; i < 256; ++i) {
            std::byte* entry = h + kHeaderBytes + 4 * i;
            entry[0] = entry[1] = entry[2] = static_cast<std::byte>(i);
        }
    }
    return buffer;
}

}  // namespace qm71::sample
