#include "common/image_block.h"

#include <new>

namespace qm71 {

namespace {
void Put32(std::byte* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = std::byte((v >> (8 * i)) & 0xFF);
}
}  // namespace

std::unique_ptr<std::byte[]> ImageBlock::NewBlock(int width, int height,
                                                  std::uint32_t coloursUsed) {
    const std::size_t size = kPixelOffset + std::size_t(width) * std::size_t(height);
    std::unique_ptr<std::byte[]> block(new (std::nothrow) std::byte[size]());
    if (!block) return nullptr;
    std::byte* h = block.get();
    Put32(h + 0, kHeaderSize);
    Put32(h + 4, static_cast<std::uint32_t>(width));
    Put32(h + 8, static_cast<std::uint32_t>(height));  // positive: rows bottom-up
    h[12] = std::byte{1};                              // planes
    h[14] = std::byte{8};  // bits per pixel; compression, sizes and resolutions stay 0
    Put32(h + 32, coloursUsed);
    return block;
}

std::unique_ptr<ImageBlock> ImageBlock::Allocate(int width, int height, std::uint32_t coloursUsed) {
    auto block = NewBlock(width, height, coloursUsed);
    if (!block) return nullptr;
    return std::unique_ptr<ImageBlock>(new ImageBlock(std::move(block), width, height));
}

}  // namespace qm71
