#include "viewer/core/bmp_export.h"

#include <gtest/gtest.h>

#include <cstring>

#include "testing/recording_operator.h"
#include "testing/temp_folder.h"

namespace qm71 {
namespace {

namespace fs = std::filesystem;

TEST(BmpExport, FileIsHeaderAndWholeBlockWithTheColouringOfTheMoment) {
    testing::TempFolder dir;
    const auto image = DisplayImage::Allocate();
    // Rows that all differ, so that a shifted or partial copy shows.
    for (std::size_t i = 0; i < DisplayImage::kPixelSize; ++i)
        image->Pixels()[i] = static_cast<std::byte>((i * 7 + i / DisplayImage::kWidth) & 0xFF);
    ColouringSettings s;
    s.thresh = 100;
    s.mitte = 20;
    const std::uint8_t header[14] = {'B', 'M', 0x36, 0x64, 0x60, 0, 0, 0, 0, 0, 0x36, 0x04, 0, 0};
    for (int lut : {kNormal, kInverse, kThreshold}) {
        s.lut = lut;
        FillColorTable(s, image->ColourTable());
        const WriteResult r = SaveBitmap(dir / "frame.bmp", *image);
        ASSERT_TRUE(r.ok()) << r.reason;
        const std::string file = dir.Get("frame.bmp");
        ASSERT_EQ(file.size(), 6317110u);
        EXPECT_EQ(std::memcmp(file.data(), header, 14), 0) << lut;
        // The block as it stands: the current colour table and the raw pixels.
        EXPECT_EQ(std::memcmp(file.data() + 14, image->Block().data(), file.size() - 14), 0);
    }
}

TEST(BmpExport, FailureIsToldWithFileAndReasonAfterTheWaitCursor) {
    testing::TempFolder dir;
    const auto image = DisplayImage::Allocate();
    testing::RecordingOperator op;
    EXPECT_TRUE(SaveBitmapReporting(dir / "ok.bmp", *image, op));
    EXPECT_TRUE(op.messages.empty());
    EXPECT_EQ(op.waitCalls, 1);

    const fs::path bad = dir / "missing" / "bad.bmp";
    EXPECT_FALSE(SaveBitmapReporting(bad, *image, op));
    ASSERT_EQ(op.messages.size(), 1u);
    const std::string reason = WriteWholeFile(bad, {}, WriteMode::kReplace).reason;
    EXPECT_EQ(op.messages[0], "Die Datei \xE2\x80\x9E" + bad.string() +
                                  "\xE2\x80\x9C konnte nicht gespeichert werden: " + reason + ".");
    EXPECT_EQ(op.waitDepthAtMessage[0], 0);
    EXPECT_EQ(op.waitDepth, 0);
}

TEST(DefaultExtensionTest, OnlyANameWithoutExtensionGetsBmp) {
    for (const auto& [typed, expected] : {std::pair{"/data/bild", "/data/bild.bmp"},
                                          {"bild.", "bild.bmp"},
                                          {"/data/v1.2/bild", "/data/v1.2/bild.bmp"},
                                          {"/data/bild.BMP", "/data/bild.BMP"},
                                          {"/data/bild.raw", "/data/bild.raw"},
                                          {"/data/", "/data/"}})
        EXPECT_EQ(WithDefaultExtension(typed), fs::path(expected)) << typed;
}

}  // namespace
}  // namespace qm71
