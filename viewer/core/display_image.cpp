#include "viewer/core/display_image.h"

#include <new>

namespace qm71 {

namespace {
void Put32(std::byte* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = std::byte((v >> (8 * i)) & 0xFF);
}
}  // namespace

std::unique_ptr<DisplayImage> DisplayImage::Allocate() {
    std::unique_ptr<std::byte[]> block(new (std::nothrow) std::byte[kBlockSize]());
    if (!block) return nullptr;
    std::byte* h = block.get();
    Put32(h + 0, kHeaderSize);
    Put32(h + 4, kWidth);
    Put32(h + 8, kHeight);  // positive: rows bottom-up
    h[12] = std::byte{1};   // planes
    h[14] = std::byte{8};   // bits per pixel; compression, sizes and colour counts stay 0
    return std::unique_ptr<DisplayImage>(new DisplayImage(std::move(block)));
}

}  // namespace qm71
