#include "linedemo/core/numbered_bitmap.h"

#include <gtest/gtest.h>

#include <cstring>

#include "linedemo/core/line_image_window.h"
#include "testing/fakes.h"
#include "testing/temp_folder.h"

namespace qm71 {
namespace {

using Texts = std::vector<std::string>;

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

TEST_F(NumberedCapture, GapsAreFilledFirstAndNoFileIsOverwritten) {
    dir.Put("00000001.bmp", "one");
    dir.Put("00000003.bmp", "three");
    EXPECT_EQ(Save(), dir / "00000002.bmp");
    EXPECT_EQ(Save(), dir / "00000004.bmp");
    // The file header (3201078 bytes, pixels at 1078), then the block as it is.
    const std::string file = dir.Get("00000002.bmp");
    ASSERT_EQ(file.size(), 3201078u);
    EXPECT_EQ(file.substr(0, 14), std::string("BM\x36\xD8\x30\0\0\0\0\0\x36\x04\0\0", 14));
    EXPECT_EQ(std::memcmp(file.data() + 14, image->Block().data(), image->BlockSize()), 0);
    EXPECT_EQ(std::pair(op.waitCalls, op.waitDepth), std::pair(2, 0));
    // A file that appears between the check and the create keeps its bytes;
    // the next number is taken.
    dir.Put("00000005.bmp", "late");
    const auto looksFree = [](const std::filesystem::path&, std::error_code&) { return false; };
    EXPECT_EQ(SaveNumberedBitmap(dir.Path(), number, image->Block(), op, looksFree),
              dir / "00000006.bmp");
    EXPECT_EQ(std::tuple(dir.Get("00000001.bmp"), dir.Get("00000003.bmp"), dir.Get("00000005.bmp")),
              std::tuple("one", "three", "late"));
    EXPECT_EQ(number, 6);
    EXPECT_TRUE(op.messages.empty());
}

TEST_F(NumberedCapture, TheSearchStopsAtTheLargestNumber) {
    number = kLargestBitmapNumber - 1;
    dir.Put("99999999.bmp", "last");
    EXPECT_TRUE(Save().empty());
    EXPECT_TRUE(Save().empty());
    EXPECT_EQ(number, kLargestBitmapNumber);
    EXPECT_EQ(op.messages, (Texts{kNoBitmapNumberLeftMessage, kNoBitmapNumberLeftMessage}));
    EXPECT_EQ(op.waitDepthAtMessage, (std::vector<int>{0, 0}));
}

}  // namespace
}  // namespace qm71
