#include "common/bmp_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include "common/tests/file_size_limit.h"

namespace qm71 {
namespace {

namespace fs = std::filesystem;

std::vector<std::byte> Bytes(std::size_t n, unsigned seed) {
    std::vector<std::byte> v(n);
    for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<std::byte>((i * 31 + seed) & 0xFF);
    return v;
}

std::vector<std::byte> ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::vector<char> c{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<std::byte> v(c.size());
    for (std::size_t i = 0; i < c.size(); ++i) v[i] = static_cast<std::byte>(c[i]);
    return v;
}

void WriteRaw(const fs::path& p, const std::vector<std::byte>& bytes) {
    std::ofstream out(p, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::byte> Concat(std::initializer_list<ByteSpan> parts) {
    std::vector<std::byte> v;
    for (ByteSpan part : parts)
        for (std::byte b : part) v.push_back(b);
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

    template <typename Save>
    SaveResult WithFileSizeLimit(rlim_t limit, Save save) {
        return test::WithFileSizeLimit(limit, save);
    }

    fs::path dir_;
};

TEST(BitmapFileHeaderTest, ViewerAndLineDemoSizes) {
    // Viewer frame: 40-byte info header, 1024-byte colour table, 3072 x 2056 pixels.
    const auto viewer = BitmapFileHeader(40 + 1024 + 3072 * 2056, 1078);
    const std::array<std::uint8_t, 14> expected{'B', 'M', 0x36, 0x64, 0x60, 0x00, 0,
                                                0,   0,   0,    0x36, 0x04, 0x00, 0x00};
    for (std::size_t i = 0; i < 14; ++i)
        EXPECT_EQ(std::to_integer<std::uint8_t>(viewer[i]), expected[i]) << "byte " << i;

    // Line image: 5000 x 640 -> 3,201,078 bytes in all.
    const auto line = BitmapFileHeader(1064 + 5000 * 640, 1078);
    const std::uint32_t size = std::to_integer<std::uint32_t>(line[2]) |
                               std::to_integer<std::uint32_t>(line[3]) << 8 |
                               std::to_integer<std::uint32_t>(line[4]) << 16 |
                               std::to_integer<std::uint32_t>(line[5]) << 24;
    EXPECT_EQ(size, 3201078u);
}

TEST_F(BmpFileTest, WritesExactBytesAndReplacesAnOldFile) {
    const fs::path target = dir_ / "frame.bmp";
    WriteRaw(target, Bytes(5000, 9));  // older, longer file

    const auto header = BitmapFileHeader(1000, 1078);
    const auto body = Bytes(1000, 1);
    const SaveResult r = WriteBitmapFile(target, header, body);
    ASSERT_TRUE(r.ok()) << r.reason;
    EXPECT_TRUE(r.reason.empty());
    EXPECT_EQ(ReadFile(target), Concat({header, body}));
    EXPECT_EQ(Entries(dir_), std::vector<std::string>{"frame.bmp"});
}

TEST_F(BmpFileTest, LongestNameStillWorks) {
    const fs::path target = dir_ / (std::string(251, 'n') + ".bmp");  // 255, the usual limit
    const auto body = Bytes(10, 2);
    ASSERT_TRUE(WriteBitmapFile(target, BitmapFileHeader(10, 1078), body).ok());
    const ByteSpan parts[] = {body};
    const fs::path numbered = dir_ / (std::string(251, 'm') + ".bmp");
    EXPECT_TRUE(CreateBitmapFileExclusive(numbered, parts).ok());
    EXPECT_EQ(Entries(dir_).size(), 2u);
}

TEST_F(BmpFileTest, UnwritableFolderGivesReasonAndLeavesNoFile) {
    const fs::path regular = dir_ / "plain";
    WriteRaw(regular, Bytes(3, 0));
    const auto header = BitmapFileHeader(10, 1078);
    const auto body = Bytes(10, 0);

    const SaveResult belowFile = WriteBitmapFile(regular / "x.bmp", header, body);
    EXPECT_EQ(belowFile.status, SaveStatus::kFailed);
    EXPECT_EQ(belowFile.reason, "Not a directory");

    const SaveResult missing = WriteBitmapFile(dir_ / "no-such-folder" / "x.bmp", header, body);
    EXPECT_EQ(missing.status, SaveStatus::kFailed);
    EXPECT_EQ(missing.reason, "No such file or directory");

    const SaveResult isFolder = WriteBitmapFile(dir_ / "", header, body);
    EXPECT_EQ(isFolder.status, SaveStatus::kFailed);
    EXPECT_FALSE(isFolder.reason.empty());

    EXPECT_EQ(Entries(dir_), std::vector<std::string>{"plain"});
}

TEST_F(BmpFileTest, FailedWriteKeepsExistingFileAndRemovesTemporary) {
    const fs::path target = dir_ / "frame.bmp";
    const auto old = Bytes(2000, 7);
    WriteRaw(target, old);

    const auto header = BitmapFileHeader(64 * 1024, 1078);
    const auto body = Bytes(64 * 1024, 3);
    const SaveResult r =
        WithFileSizeLimit(16 * 1024, [&] { return WriteBitmapFile(target, header, body); });
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

TEST_P(ExclusiveCreateTest, WritesPiecesUnderAFreeName) {
    const auto header = BitmapFileHeader(300, 1078);
    const auto info = Bytes(100, 1);
    const auto pixels = Bytes(200, 2);
    const ByteSpan parts[] = {header, info, pixels};
    const SaveResult r = Create(dir_ / "00000001.bmp", parts);
    ASSERT_TRUE(r.ok()) << r.reason;
    EXPECT_EQ(ReadFile(dir_ / "00000001.bmp"), Concat({header, info, pixels}));
    EXPECT_EQ(Entries(dir_), std::vector<std::string>{"00000001.bmp"});
}

TEST_P(ExclusiveCreateTest, NeverOverwritesATakenName) {
    const fs::path target = dir_ / "00000001.bmp";
    const auto old = Bytes(50, 5);
    WriteRaw(target, old);
    const auto body = Bytes(80, 6);
    const ByteSpan parts[] = {body};
    const SaveResult r = Create(target, parts);
    EXPECT_EQ(r.status, SaveStatus::kNameTaken);
    EXPECT_EQ(ReadFile(target), old);
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
        WithFileSizeLimit(8 * 1024, [&] { return Create(dir_ / "00000001.bmp", parts); });
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
