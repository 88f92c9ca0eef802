#include "common/image_block.h"

#include <cstring>
#include <new>

namespace qm71 {

namespace {

constexpr std::size_t kPage = 4096;
// The block starts this far into its memory, so that its pixels start a page.
constexpr std::size_t kLead = (kPage - ImageBlock::kPixelOffset % kPage) % kPage;

}  // namespace

void ImageBlock::FreeBlock::operator()(std::byte* block) const {
    ::operator delete (block - kLead, std::align_val_t{kPage});
}

ImageBlock::BlockMemory ImageBlock::NewBlock(int width, int height, std::uint32_t coloursUsed) {
    const std::size_t size = kPixelOffset + std::size_t(width) * std::size_t(height);
    void* memory = ::operator new (kLead + size, std::align_val_t{kPage}, std::nothrow);
    if (memory == nullptr) return nullptr;
    BlockMemory block(static_cast<std::byte*>(memory) + kLead);
    std::memset(block.get(), 0, size);
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
