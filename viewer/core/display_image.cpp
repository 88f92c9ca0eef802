#include "viewer/core/display_image.h"

namespace qm71 {

std::unique_ptr<DisplayImage> DisplayImage::Allocate() {
    // Colours used 0: all 256, as the viewer writes it in its BMP files.
    auto block = NewBlock(kWidth, kHeight, 0);
    if (!block) return nullptr;
    return std::unique_ptr<DisplayImage>(new DisplayImage(std::move(block)));
}

}  // namespace qm71
