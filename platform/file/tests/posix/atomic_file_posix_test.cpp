#include <sys/stat.h>

#include "platform/file/tests/atomic_file_test.h"
#include "testing/file_size_limit.h"

namespace qm71 {
namespace {

namespace fs = std::filesystem;

struct stat Stat(const fs::path& file) {
    struct stat st {};
    EXPECT_EQ(::stat(file.c_str(), &st), 0) << file;
    return st;
}

TEST_F(AtomicFileTest, ReplaceChangesTheFileButNotItsLinksModeOrOwnerAndALinkIsAName) {
    dir.Put("plain", "an older and longer text", 0640);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown((dir / "plain").c_str(), 1234, 5678), 0);
    }
    fs::create_directory(dir / "sub");
    dir.Put("real", "old", 0600);
    fs::create_symlink("sub/link2", dir / "link1");       // relative, to a link
    fs::create_symlink(dir / "real", dir / "sub/link2");  // absolute
    fs::create_symlink("made", dir / "dangling");
    fs::create_symlink("elsewhere", dir / "taken");  // also to kCreateNew
    dir.Put("shared", "old", 0604);
    fs::create_hard_link(dir / "shared", dir / "other-name");
    const ino_t sharedInode = Stat(dir / "shared").st_ino;
    const mode_t umask = ::umask(0);
    ::umask(umask);
    const std::string longest(255, 'n');  // still room for the temporary name
    const struct {
        std::string written, changed;
        mode_t mode;
    } cases[] = {{"plain", "plain", 0640},
                 {"link1", "real", 0600},
                 {"dangling", "made", 0666 & ~umask},
                 {"shared", "other-name", 0604},
                 {longest, longest, 0666 & ~umask}};
    for (const auto& c : cases) {
        const WriteResult r = Write(dir / c.written, "new " + c.written);
        ASSERT_TRUE(r.ok() && r.reason.empty()) << c.written << ": " << r.reason;
        EXPECT_EQ(dir.Get(c.changed), "new " + c.written);
        EXPECT_EQ(Stat(dir / c.changed).st_mode & 07777, c.mode) << c.written;
    }
    if (::geteuid() == 0) {
        EXPECT_EQ(Stat(dir / "plain").st_uid, 1234u);
        EXPECT_EQ(Stat(dir / "plain").st_gid, 5678u);
    }
    EXPECT_EQ(Write(dir / "taken", "x", WriteMode::kCreateNew).status, WriteStatus::kNameTaken);
    for (const char* link : {"link1", "sub/link2", "dangling"})
        EXPECT_TRUE(fs::is_symlink(dir / link)) << link;
    EXPECT_EQ(Stat(dir / "other-name").st_ino, sharedInode) << "the hard link is kept";
    EXPECT_EQ(InFolder(), (Names{"dangling", "link1", "made", longest, "other-name", "plain",
                                 "real", "shared", "sub", "taken"}));
}

TEST_F(AtomicFileTest, WritableFileInAClosedFolderIsOverwrittenInPlace) {
    fs::create_directory(dir / "ro");
    dir.Put("ro/qm71.ini", "[CONFIG]\nX=1\nY=2\n", 0666);
    const ino_t inode = Stat(dir / "ro/qm71.ini").st_ino;
    fs::permissions(dir / "ro", fs::perms(0555));
    const auto write = [&](const char* name) {
        return testing::AsOrdinaryUser([&] { return Write(dir / "ro" / name, "[CONFIG]\nX=3\n"); });
    };
    ASSERT_TRUE(write("qm71.ini").ok());
    EXPECT_EQ(dir.Get("ro/qm71.ini"), "[CONFIG]\nX=3\n");
    EXPECT_EQ(Stat(dir / "ro/qm71.ini").st_ino, inode);
    EXPECT_EQ(write("new.ini").reason, "Permission denied");
    EXPECT_EQ(InFolder("ro"), Names{"qm71.ini"});
}

TEST_F(AtomicFileTest, FullDiskOrLinkCircleKeepsTheOldFileAndSaysWhy) {
    const std::string old(2000, 'o');
    dir.Put("plain", old);
    dir.Put("shared", old);  // overwritten in place
    fs::create_hard_link(dir / "shared", dir / "second");
    fs::create_symlink("loop2", dir / "loop1");
    fs::create_symlink("loop1", dir / "loop2");
    const std::pair<fs::path, const char*> cases[] = {
        {dir / "plain", "File too large"},  // as on a full disk
        {dir / "shared", "File too large"},   {dir / "fresh", "File too large"},
        {dir / "plain/x", "Not a directory"}, {dir / "loop1", "Too many levels of symbolic links"},
    };
    for (const auto& [target, reason] : cases) {
        const WriteResult r = testing::WithFileSizeLimit(
            16 * 1024, [&] { return Write(target, std::string(64 * 1024, 'n')); });
        EXPECT_EQ(r.status, WriteStatus::kFailed) << target;
        EXPECT_EQ(r.reason, reason) << target;
    }
    EXPECT_EQ(std::pair(dir.Get("plain"), dir.Get("second")), std::pair(old, old));
    EXPECT_EQ(InFolder(), (Names{"loop1", "loop2", "plain", "second", "shared"}));
}

}  // namespace
}  // namespace qm71
