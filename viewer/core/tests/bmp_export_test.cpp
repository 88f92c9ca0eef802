#include "viewer/core/bmp_export.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <vector>

#include "testing/file_size_limit.h"
#include "testing/recording_operator.h"

namespace qm71 {
namespace {

namespace fs = std::filesystem;

std::vector<std::byte> ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::vector<std::byte> v(static_cast<std::size_t>(fs::file_size(p)));
    in.read(reinterpret_cast<char*>(v.data()), static_cast<std::streamsize>(v.size()));
    return v;
}

std::size_t FilesIn(const fs::path& dir) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

// A picture whose rows are all different, so a shifted or partial copy shows.
void FillPixels(DisplayImage& image) {
    std::byte* p = image.Pixels();
    for (std::size_t i = 0; i < DisplayImage::kPixelSize; ++i)
        p[i] = static_cast<std::byte>((i * 7 + i / DisplayImage::kWidth) & 0xFF);
}

class BmpExportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "qm71-export-XXXXXX").string();
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        dir_ = tmpl;
        image_ = DisplayImage::Allocate();
        ASSERT_NE(image_, nullptr);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path dir_;
    std::unique_ptr<DisplayImage> image_;
};

TEST_F(BmpExportTest, FileIsHeaderAndWholeBlockWithTheColouringOfTheMoment) {
    FillPixels(*image_);
    ColouringSettings s;
    s.thresh = 100;
    s.mitte = 20;
    const std::array<std::uint8_t, 14> header{'B', 'M', 0x36, 0x64, 0x60, 0, 0,
                                              0,   0,   0,    0x36, 0x04, 0, 0};
    std::vector<std::array<RgbQuad, 256>> saved;
    for (int lut : {kNormal, kInverse, kThreshold}) {
        SCOPED_TRACE(lut);
        s.lut = lut;
        FillColorTable(s, image_->ColourTable());
        const fs::path target = dir_ / ("lut" + std::to_string(lut) + ".bmp");
        const SaveResult r = SaveBitmap(target, *image_);
        ASSERT_TRUE(r.ok()) << r.reason;
        const auto file = ReadFile(target);
        ASSERT_EQ(file.size(), 6317110u);
        EXPECT_TRUE(std::equal(header.begin(), header.end(), file.begin(),
                               [](std::uint8_t h, std::byte f) { return std::byte{h} == f; }));
        // The block as it stands: the current colour table and the raw pixels.
        EXPECT_TRUE(std::equal(file.begin() + 14, file.end(), image_->Block().begin()));
        saved.emplace_back();
        std::memcpy(saved.back().data(), file.data() + 54, sizeof saved.back());
    }
    EXPECT_EQ(FilesIn(dir_), 3u);
    // Grey 128 as it looks in each colouring: grey, inverted, above the middle band.
    EXPECT_EQ(saved[0][128], (RgbQuad{128, 128, 128, 0}));
    EXPECT_EQ(saved[1][128], (RgbQuad{127, 127, 127, 0}));
    EXPECT_EQ(saved[2][128], ColourOfIndex(s.vg, kDefaultVg));
    EXPECT_EQ(saved[2][110], ColourOfIndex(s.mg, kDefaultMg));
}

TEST_F(BmpExportTest, UnwritablePlaceFailsWithReasonAndLeavesNoFile) {
    const fs::path missing = dir_ / "no-such-folder" / "x.bmp";
    const SaveResult r = SaveBitmap(missing, *image_);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.reason, "No such file or directory");
    EXPECT_EQ(SaveFailureMessage(missing, r),
              "Die Datei \xE2\x80\x9E" + missing.string() +
                  "\xE2\x80\x9C konnte nicht gespeichert werden: No such file or directory.");
    // A folder as the target name is refused the same way.
    EXPECT_FALSE(SaveBitmap(dir_, *image_).ok());
    EXPECT_EQ(FilesIn(dir_), 0u);
}

TEST_F(BmpExportTest, ReportingVersionShowsWaitCursorAndTellsTheFailure) {
    testing::RecordingOperator op;
    EXPECT_TRUE(SaveBitmapReporting(dir_ / "ok.bmp", *image_, op));
    EXPECT_TRUE(op.messages.empty());
    EXPECT_EQ(op.waitCalls, 1);

    const fs::path bad = dir_ / "missing" / "bad.bmp";
    EXPECT_FALSE(SaveBitmapReporting(bad, *image_, op));
    ASSERT_EQ(op.messages.size(), 1u);
    EXPECT_EQ(op.messages[0], SaveFailureMessage(bad, SaveBitmap(bad, *image_)));
    // The message comes after the wait cursor is gone.
    EXPECT_EQ(op.waitDepthAtMessage[0], 0);
    EXPECT_EQ(op.waitDepth, 0);
}

TEST_F(BmpExportTest, FailureInTheMiddleKeepsTheOldFile) {
    const fs::path target = dir_ / "old.bmp";
    std::ofstream(target, std::ios::binary) << "an older picture";
    FillPixels(*image_);
    // Writes fail partway, as on a full disk.
    const SaveResult r =
        testing::WithFileSizeLimit(1 << 20, [&] { return SaveBitmap(target, *image_); });
    EXPECT_EQ(r.status, SaveStatus::kFailed);
    EXPECT_EQ(r.reason, "File too large");
    EXPECT_EQ(fs::file_size(target), 16u);
    EXPECT_EQ(FilesIn(dir_), 1u) << "no temporary file stays behind";
}

TEST(DefaultExtensionTest, OnlyANameWithoutExtensionGetsBmp) {
    for (const auto& [typed, expected] : {std::pair{"/data/bild", "/data/bild.bmp"},
                                          {"bild.", "bild.bmp"},
                                          {"/data/v1.2/bild", "/data/v1.2/bild.bmp"},
                                          {"/data/bild.bmp", "/data/bild.bmp"},
                                          {"/data/bild.BMP", "/data/bild.BMP"},
                                          {"/data/bild.raw", "/data/bild.raw"},
                                          {"/data/", "/data/"}})
        EXPECT_EQ(WithDefaultExtension(typed), fs::path(expected)) << typed;
}

}  // namespace
}  // namespace qm71
