#include <windows.h>

#include <cstdlib>
#include <system_error>

#include "platform/file/tests/atomic_file_test.h"

namespace qm71 {
namespace {

TEST_F(AtomicFileTest, ReadOnlyIsRefusedOtherAttributesAreKeptANewFileIsNotHidden) {
    const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;
    for (const auto& [name, attributes] :
         {std::pair{"locked.ini", DWORD{FILE_ATTRIBUTE_READONLY}}, {"hidden.ini", kept}}) {
        dir.Put(name, "old");
        ASSERT_TRUE(::SetFileAttributesW((dir / name).c_str(), attributes));
    }
    std::filesystem::create_directory(dir / "folder");
    // The system's text ("Access is denied", Wine: "Access denied") without its full stop.
    const std::string denied = std::system_category().message(ERROR_ACCESS_DENIED);
    for (const char* name : {"locked.ini", "folder"})
        EXPECT_EQ(Write(dir / name, "new").reason, denied) << name;
    ASSERT_TRUE(Write(dir / "hidden.ini", "new").ok());
    ASSERT_TRUE(Write(dir / "fresh.ini", "new", WriteMode::kCreateNew).ok());
    EXPECT_EQ(dir.Get("locked.ini") + dir.Get("hidden.ini"), "oldnew");
    EXPECT_EQ(::GetFileAttributesW((dir / "hidden.ini").c_str()) & kept, kept);
    EXPECT_EQ(::GetFileAttributesW((dir / "fresh.ini").c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(InFolder(), (Names{"folder", "fresh.ini", "hidden.ini", "locked.ini"}));
    ::SetFileAttributesW((dir / "locked.ini").c_str(), FILE_ATTRIBUTE_NORMAL);
}

// A full disk needs a small file system, which only the test machine can
// give: QM71_SMALL_DISK names an empty folder on one with less than 1 MiB free.
TEST_F(AtomicFileTest, AFullDiskKeepsTheOldFileLeavesNoTemporaryAndSaysWhy) {
    const char* small = std::getenv("QM71_SMALL_DISK");
    if (!small) GTEST_SKIP() << "QM71_SMALL_DISK is not set";
    const std::filesystem::path old = std::filesystem::path(small) / "qm71.ini";
    ASSERT_TRUE(Write(old, "old").ok());
    for (const auto& [name, mode] :
         {std::pair{"qm71.ini", WriteMode::kReplace}, {"new.bmp", WriteMode::kCreateNew}}) {
        const WriteResult r =
            Write(std::filesystem::path(small) / name, std::string(1 << 20, 'n'), mode);
        EXPECT_EQ(r.reason, std::system_category().message(ERROR_DISK_FULL)) << name;
    }
    EXPECT_EQ(dir.Get(old.string()), "old");
    EXPECT_EQ(InFolder(small), Names{"qm71.ini"});
    std::filesystem::remove(old);
}

}  // namespace
}  // namespace qm71
