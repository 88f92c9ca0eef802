#include "common/bmp_file.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

#include "testing/file_size_limit.h"

namespace qm71 {
namespace {

namespace fs = std::filesystem;
using Blob = std::vector<std::byte>;

Blob Bytes(std::size_t n, unsigned seed) {
    Blob v(n);
    for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<std::byte>((i * 31 + seed) & 0xFF);
    return v;
}

Blob ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    const std::string c{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return Blob(reinterpret_cast<const std::byte*>(c.data()),
                reinterpret_cast<const std::byte*>(c.data() + c.size()));
}

void WriteRaw(const fs::path& p, const Blob& bytes) {
    std::ofstream(p, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

Blob Concat(std::initializer_list<ByteSpan> parts) {
    Blob v;
    for (ByteSpan part : parts) v.insert(v.end(), part.begin(), part.end());
    return v;
}

std::vector<std::string> Entries(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class BmpFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "qm71-bmp-XXXXXX").string();
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        dir_ = tmpl;
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path dir_;
};

TEST(BitmapFileHeaderTest, ViewerAndLineDemoSizes) {
    // Viewer frame 3072 x 2056 and line image 5000 x 640, each after a 40-byte
    // info header and a 1024-byte colour table.
    const std::pair<std::uint32_t, std::array<int, 4>> cases[] = {
        {1064 + 3072 * 2056, {0x36, 0x64, 0x60, 0x00}},  // 6,317,110 bytes in all
        {1064 + 5000 * 640, {0x36, 0xD8, 0x30, 0x00}},   // 3,201,078
    };
    for (const auto& [size, sizeBytes] : cases) {
        const auto header = BitmapFileHeader(size, 1078);
        std::vector<int> got;
        for (std::byte b : header) got.push_back(std::to_integer<int>(b));
        EXPECT_EQ(got, (std::vector<int>{'B', 'M', sizeBytes[0], sizeBytes[1], sizeBytes[2],
                                         sizeBytes[3], 0, 0, 0, 0, 0x36, 0x04, 0, 0}));
    }
}

TEST_F(BmpFileTest, WritesExactBytesOverAnOldFileAndUnderTheLongestName) {
    const fs::path target = dir_ / "frame.bmp";
    WriteRaw(target, Bytes(5000, 9));  // older, longer file
    const auto header = BitmapFileHeader(1000, 1078);
    const auto body = Bytes(1000, 1);
    const SaveResult r = WriteBitmapFile(target, header, body);
    ASSERT_TRUE(r.ok()) << r.reason;
    EXPECT_TRUE(r.reason.empty());
    EXPECT_EQ(ReadFile(target), Concat({header, body}));

    // 255 characters, the usual limit: the temporary name must still fit.
    const ByteSpan parts[] = {body};
    EXPECT_TRUE(WriteBitmapFile(dir_ / (std::string(251, 'n') + ".bmp"), header, body).ok());
    EXPECT_TRUE(CreateBitmapFileExclusive(dir_ / (std::string(251, 'm') + ".bmp"), parts).ok());
    EXPECT_EQ(Entries(dir_).size(), 3u);
}

TEST_F(BmpFileTest, UnwritableFolderGivesReasonAndLeavesNoFile) {
    WriteRaw(dir_ / "plain", Bytes(3, 0));
    const auto header = BitmapFileHeader(10, 1078);
    const auto body = Bytes(10, 0);
    const std::pair<fs::path, const char*> cases[] = {
        {dir_ / "plain" / "x.bmp", "Not a directory"},
        {dir_ / "no-such-folder" / "x.bmp", "No such file or directory"},
        {dir_ / "", nullptr},  // names a folder: any reason
    };
    for (const auto& [target, reason] : cases) {
        const SaveResult r = WriteBitmapFile(target, header, body);
        EXPECT_EQ(r.status, SaveStatus::kFailed) << target;
        if (reason) {
            EXPECT_EQ(r.reason, reason);
        } else {
            EXPECT_FALSE(r.reason.empty());
        }
    }
    EXPECT_EQ(Entries(dir_), std::vector<std::string>{"plain"});
}

TEST_F(BmpFileTest, FailedWriteKeepsExistingFileAndRemovesTemporary) {
    const fs::path target = dir_ / "frame.bmp";
    const auto old = Bytes(2000, 7);
    WriteRaw(target, old);
    const auto header = BitmapFileHeader(64 * 1024, 1078);
    const auto body = Bytes(64 * 1024, 3);
    const SaveResult r = testing::WithFileSizeLimit(
        16 * 1024, [&] { return WriteBitmapFile(target, header, body); });
    EXPECT_EQ(r.status, SaveStatus::kFailed);
    EXPECT_EQ(r.reason, "File too large");
    EXPECT_EQ(ReadFile(target), old);
    EXPECT_EQ(Entries(dir_), std::vector<std::string>{"frame.bmp"});
}

class ExclusiveCreateTest : public BmpFileTest,
                            public ::testing::WithParamInterface<detail::ClaimMethod> {
  protected:
    SaveResult Create(const fs::path& target, std::span<const ByteSpan> parts) {
        return detail::CreateBitmapFileExclusive(target, parts, GetParam());
    }
};

TEST_P(ExclusiveCreateTest, WritesPiecesUnderAFreeNameAndNeverOverwrites) {
    const auto header = BitmapFileHeader(300, 1078);
    const auto info = Bytes(100, 1);
    const auto pixels = Bytes(200, 2);
    const ByteSpan parts[] = {header, info, pixels};
    const fs::path target = dir_ / "00000001.bmp";
    const SaveResult r = Create(target, parts);
    ASSERT_TRUE(r.ok()) << r.reason;
    const Blob first = Concat({header, info, pixels});
    EXPECT_EQ(ReadFile(target), first);

    const ByteSpan other[] = {pixels};
    EXPECT_EQ(Create(target, other).status, SaveStatus::kNameTaken);
    EXPECT_EQ(ReadFile(target), first);
    EXPECT_EQ(Entries(dir_), std::vector<std::string>{"00000001.bmp"});

    // A dangling symbolic link takes the name too; nothing is written through it.
    fs::create_symlink(dir_ / "elsewhere.bmp", dir_ / "00000002.bmp");
    EXPECT_EQ(Create(dir_ / "00000002.bmp", parts).status, SaveStatus::kNameTaken);
    EXPECT_FALSE(fs::exists(dir_ / "elsewhere.bmp"));
}

TEST_P(ExclusiveCreateTest, FailedWriteLeavesNothing) {
    const auto body = Bytes(64 * 1024, 4);
    const ByteSpan parts[] = {body};
    const SaveResult r =
        testing::WithFileSizeLimit(8 * 1024, [&] { return Create(dir_ / "00000001.bmp", parts); });
    EXPECT_EQ(r.status, SaveStatus::kFailed);
    EXPECT_EQ(r.reason, "File too large");
    EXPECT_TRUE(Entries(dir_).empty());
}

INSTANTIATE_TEST_SUITE_P(BothClaimMethods, ExclusiveCreateTest,
                         ::testing::Values(detail::ClaimMethod::kLink,
                                           detail::ClaimMethod::kCreateThenRename),
                         [](const auto& p) {
                             return p.param == detail::ClaimMethod::kLink ? "Link"
                                                                          : "CreateThenRename";
                         });

}  // namespace
}  // namespace qm71
