#include <gtest/gtest.h>

#include "linedemo/core/line_image_window.h"
#include "linedemo/core/numbered_bitmap.h"
#include "testing/fakes.h"
#include "testing/file_size_limit.h"
#include "testing/temp_folder.h"

namespace qm71 {
namespace {

struct NumberedCapture : ::testing::Test {
    testing::TempFolder dir;
    testing::RecordingOperator op;
    std::unique_ptr<ImageBlock> image = LineImageWindow::AllocateImage();
    int number = 0;
};

TEST_F(NumberedCapture, AFullDiskLeavesNoFileAndSaysWhich) {
    const WriteResult r = testing::WithFileSizeLimit(1 << 20, [&] {
        return SaveNumberedBitmap(dir.Path(), number, image->Block(), op).empty() &&
                       op.messages.size() == 1
                   ? WriteResult{WriteStatus::kFailed, op.messages[0]}
                   : WriteResult{WriteStatus::kWritten, ""};
    });
    EXPECT_EQ(r.status, WriteStatus::kFailed);
    EXPECT_NE(r.reason.find("00000001.bmp"), std::string::npos) << r.reason;
    EXPECT_NE(r.reason.find("File too large"), std::string::npos) << r.reason;
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

// A folder that cannot be searched ends the save at once with the system's
// reason; the counter stays, so the save after it tries the same names.
TEST_F(NumberedCapture, AFolderThatCannotBeSearchedEndsTheSaveAtOnce) {
    const auto closed = dir / "closed";
    std::filesystem::create_directory(closed);
    std::filesystem::permissions(closed, std::filesystem::perms::none);
    number = kLargestBitmapNumber - 3;
    const WriteResult r = testing::AsOrdinaryUser([&] {
        const bool saved = !SaveNumberedBitmap(closed, number, image->Block(), op).empty();
        const bool stayed = !saved && number == kLargestBitmapNumber - 3;
        return WriteResult{stayed ? WriteStatus::kFailed : WriteStatus::kWritten,
                           op.messages.size() == 1 ? op.messages[0] : ""};
    });
    EXPECT_EQ(r.status, WriteStatus::kFailed) << r.reason;
    EXPECT_NE(r.reason.find("99999997.bmp"), std::string::npos) << r.reason;
    EXPECT_NE(r.reason.find("Permission denied"), std::string::npos) << r.reason;
}

}  // namespace
}  // namespace qm71
