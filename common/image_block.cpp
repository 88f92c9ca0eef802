#include "common/image_block.h"

#include <new>

namespace qm71 {

std::unique_ptr<std::byte[]> ImageBlock::NewBlock(int width, int height,
                                                  std::uint32_t coloursUsed) {
    const std::size_t size = kPixelOffset + std::size_t(width) * std::size_t(height);
    std::unique_ptr<std::byte[]> block(new (std::nothrow) std::byte[size]());
    if (!block) return nullptr;
    // Rows bottom-up; the image size stays 0, which stands for the rows.
    dib::StoreInfoHeader(block.get(), {.width = width,
                                       .height = height,
                                       .bitsPerPixel = 8,
                                       .imageSize = 0,
                                       .coloursUsed = coloursUsed});
    return block;
}

std::unique_ptr<ImageBlock> ImageBlock::Allocate(int width, int height, std::uint32_t coloursUsed) {
    auto block = NewBlock(width, height, coloursUsed);
    if (!block) return nullptr;
    return std::unique_ptr<ImageBlock>(new ImageBlock(std::move(block), width, height));
}

}  // namespace qm71
