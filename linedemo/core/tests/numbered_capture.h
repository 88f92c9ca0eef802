#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "linedemo/core/line_image_window.h"
#include "linedemo/core/numbered_bitmap.h"
#include "testing/fakes.h"
#include "testing/temp_folder.h"

namespace qm71 {

// A recognisable image to save as numbered captures into a fresh folder.
struct NumberedCapture : ::testing::Test {
    testing::TempFolder dir;
    testing::RecordingOperator op;
    std::unique_ptr<ImageBlock> image = [] {
        auto block = LineImageWindow::AllocateImage();
        for (std::size_t i = 0; i < block->PixelSize(); ++i)
            block->Pixels()[i] = static_cast<std::byte>(i * 13 + i / 5000);
        block->ColourTable()[7] = {1, 2, 3, 0};
        return block;
    }();
    int number = 0;

    std::filesystem::path Save() {
        return SaveNumberedBitmap(dir.Path(), number, image->Block(), op);
    }
};

}  // namespace qm71
