#include <windows.h>

#include <cstdlib>
#include <system_error>
#include <vector>

#include "platform/file/tests/atomic_file_test.h"

namespace qm71 {
namespace {

DWORD Attributes(const std::filesystem::path& file) {
    return ::GetFileAttributesW(file.c_str());
}

TEST_F(AtomicFileTest, ReadOnlyFileOrFolderIsRefusedWithTheSystemsReason) {
    dir.Put("locked.ini", "old");
    ASSERT_TRUE(::SetFileAttributesW((dir / "locked.ini").c_str(), FILE_ATTRIBUTE_READONLY));
    std::filesystem::create_directory(dir / "folder");
    // The system's text ("Access is denied", Wine: "Access denied") without its full stop.
    const std::string denied = std::system_category().message(ERROR_ACCESS_DENIED);
    for (const char* name : {"locked.ini", "folder"}) {
        const WriteResult r = Write(dir / name, "new");
        EXPECT_EQ(std::pair(r.status, r.reason), std::pair(WriteStatus::kFailed, denied)) << name;
    }
    EXPECT_EQ(dir.Get("locked.ini"), "old");
    EXPECT_EQ(InFolder(), (Names{"folder", "locked.ini"}));
    ::SetFileAttributesW((dir / "locked.ini").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(AtomicFileTest, ReplaceKeepsTheFilesAttributesAndANewFileIsNotHidden) {
    dir.Put("hidden.ini", "old");
    const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;
    ASSERT_TRUE(::SetFileAttributesW((dir / "hidden.ini").c_str(), kept));
    ASSERT_TRUE(Write(dir / "hidden.ini", "new").ok());
    ASSERT_TRUE(Write(dir / "fresh.ini", "new", WriteMode::kCreateNew).ok());
    EXPECT_EQ(dir.Get("hidden.ini"), "new");
    EXPECT_EQ(Attributes(dir / "hidden.ini") & kept, kept);
    EXPECT_EQ(Attributes(dir / "fresh.ini") & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(InFolder(), (Names{"fresh.ini", "hidden.ini"}));
}

// A full disk needs a small file system, which only the test machine can
// give: QM71_SMALL_DISK names an empty folder on one with less than 1 MiB free.
TEST_F(AtomicFileTest, AFullDiskKeepsTheOldFileLeavesNoTemporaryAndSaysWhy) {
    const char* small = std::getenv("QM71_SMALL_DISK");
    if (!small) GTEST_SKIP() << "QM71_SMALL_DISK is not set";
    const std::filesystem::path folder = small;
    ASSERT_TRUE(Write(folder / "qm71.ini", "old").ok());
    const std::string big(1 << 20, 'n');
    for (WriteMode mode : {WriteMode::kReplace, WriteMode::kCreateNew}) {
        const WriteResult r =
            Write(folder / (mode == WriteMode::kReplace ? "qm71.ini" : "new.bmp"), big, mode);
        EXPECT_EQ(std::pair(r.status, r.reason),
                  std::pair(WriteStatus::kFailed, std::system_category().message(ERROR_DISK_FULL)));
    }
    std::vector<std::string> left;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        left.push_back(e.path().filename().string());
    std::ifstream in(folder / "qm71.ini");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "old");
    EXPECT_EQ(left, std::vector<std::string>{"qm71.ini"});
    in.close();
    std::filesystem::remove(folder / "qm71.ini");
}

}  // namespace
}  // namespace qm71
