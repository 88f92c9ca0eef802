#include <gtest/gtest.h>

#include "platform/ini/ini_profile_store.h"
#include "testing/file_size_limit.h"
#include "testing/temp_folder.h"

namespace qm71 {
namespace {
namespace fs = std::filesystem;

TEST(IniProfileStore, FailedWriteThroughLinksAndClosedFoldersNamesTheFileFolder) {
    testing::TempFolder dir;
    fs::create_directories(dir / "sub" / "folder.ini");
    dir.Put("sub/real.ini", "[CONFIG]\nX=1\n");
    fs::create_symlink("sub/real.ini", dir / "qm71.ini");
    fs::create_symlink("sub/folder.ini", dir / "folder.ini");
    const struct {
        const char *name, *value;
        fs::path folder;  // where the file really is
        const char* reason;
    } cases[] = {
        {"qm71.ini", "2\n[EVIL]", dir / "sub", "the entry cannot be stored in a settings file"},
        {"folder.ini", "1", dir / "sub", "cannot read the existing file: Is a directory"},
        {"new.ini", "1", dir.Path(), "Permission denied"},  // in a folder closed to us
    };
    for (const auto& c : cases) {
        IniProfileStore store(dir / c.name);
        const bool closed = c.folder == dir.Path();
        if (closed) fs::permissions(dir.Path(), fs::perms(0555));
        const auto write = [&] {
            return WriteResult{store.WriteString("CONFIG", "X", c.value) ? WriteStatus::kWritten
                                                                         : WriteStatus::kFailed,
                               store.LastWriteFailure().reason};
        };
        const WriteResult r = closed ? testing::AsOrdinaryUser(write) : write();
        EXPECT_FALSE(r.ok()) << c.name;
        EXPECT_EQ(r.reason, c.reason) << c.name;
        EXPECT_EQ(store.LastWriteFailure().folder, c.folder.string()) << c.name;
    }
    EXPECT_EQ(dir.Get("sub/real.ini"), "[CONFIG]\nX=1\n");
}

}  // namespace
}  // namespace qm71
