#include "platform/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

#include "testing/file_size_limit.h"

namespace qm71 {
namespace {

namespace fs = std::filesystem;
using testing::AsOrdinaryUser;
using testing::WithFileSizeLimit;

class AtomicFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "qm71-file-XXXXXX").string();
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        dir_ = tmpl;
        fs::permissions(dir_, fs::perms(0755));  // the ordinary user may look in
    }
    void TearDown() override {
        for (const auto& e : fs::recursive_directory_iterator(dir_))
            if (fs::is_directory(e.symlink_status())) fs::permissions(e.path(), fs::perms(0755));
        fs::remove_all(dir_);
    }
    fs::path Put(const std::string& name, const std::string& text, int mode = 0644) {
        std::ofstream(dir_ / name, std::ios::binary) << text;
        fs::permissions(dir_ / name, fs::perms(mode));
        return dir_ / name;
    }
    static std::string Get(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static struct stat Stat(const fs::path& p) {
        struct stat st {};
        EXPECT_EQ(::stat(p.c_str(), &st), 0) << p;
        return st;
    }
    std::vector<std::string> Names(const fs::path& sub = {}) const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_ / sub))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    // Two pieces, so that a writer dropping one shows.
    static WriteResult Write(const fs::path& target, std::string_view text,
                             WriteMode mode = WriteMode::kReplace) {
        const std::size_t half = text.size() / 2;
        const ByteSpan parts[] = {std::as_bytes(std::span(text.substr(0, half))),
                                  std::as_bytes(std::span(text.substr(half)))};
        return WriteWholeFile(target, parts, mode);
    }

    fs::path dir_;
};

TEST_F(AtomicFileTest, ReplaceChangesTheFileButNotItsLinksModeOrOwner) {
    Put("plain.ini", "an older and longer text", 0640);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown((dir_ / "plain.ini").c_str(), 1234, 5678), 0);
    }
    fs::create_directory(dir_ / "sub");
    Put("real.ini", "old", 0600);
    fs::create_symlink("sub/link2", dir_ / "link1");            // relative, to a link
    fs::create_symlink(dir_ / "real.ini", dir_ / "sub/link2");  // absolute
    fs::create_symlink("made.ini", dir_ / "dangling");
    Put("shared.ini", "old", 0604);
    fs::create_hard_link(dir_ / "shared.ini", dir_ / "other-name.ini");
    const ino_t sharedInode = Stat(dir_ / "shared.ini").st_ino;

    const mode_t umask = ::umask(0);
    ::umask(umask);
    const mode_t fresh = 0666 & ~umask;  // a new file is made like any other
    const struct {
        const char* written;
        const char* changed;
        mode_t mode;
    } cases[] = {{"plain.ini", "plain.ini", 0640},
                 {"link1", "real.ini", 0600},
                 {"dangling", "made.ini", fresh},
                 {"shared.ini", "other-name.ini", 0604},
                 {"new.ini", "new.ini", fresh}};
    for (const auto& c : cases) {
        const WriteResult r = Write(dir_ / c.written, std::string("new ") + c.written);
        ASSERT_TRUE(r.ok()) << c.written << ": " << r.reason;
        EXPECT_TRUE(r.reason.empty());
        EXPECT_EQ(Get(dir_ / c.changed), std::string("new ") + c.written);
        EXPECT_EQ(Stat(dir_ / c.changed).st_mode & 07777, c.mode) << c.written;
    }
    if (::geteuid() == 0) {
        EXPECT_EQ(Stat(dir_ / "plain.ini").st_uid, 1234u);
        EXPECT_EQ(Stat(dir_ / "plain.ini").st_gid, 5678u);
    }
    for (const char* link : {"link1", "sub/link2", "dangling"})
        EXPECT_TRUE(fs::is_symlink(dir_ / link)) << link;
    EXPECT_EQ(Stat(dir_ / "other-name.ini").st_ino, sharedInode) << "the hard link is kept";
    EXPECT_EQ(Names(), (std::vector<std::string>{"dangling", "link1", "made.ini", "new.ini",
                                                 "other-name.ini", "plain.ini", "real.ini",
                                                 "shared.ini", "sub"}));
    EXPECT_EQ(WrittenFile(dir_ / "link1"), dir_ / "real.ini");
}

TEST_F(AtomicFileTest, WritableFileInAClosedFolderIsOverwrittenInPlace) {
    fs::create_directory(dir_ / "ro");
    const fs::path file = dir_ / "ro" / "qm71.ini";
    std::ofstream(file) << "[CONFIG]\nX=1\nY=2\n";
    fs::permissions(file, fs::perms(0666));
    const ino_t inode = Stat(file).st_ino;
    fs::permissions(dir_ / "ro", fs::perms(0555));

    const WriteResult r = AsOrdinaryUser([&] { return Write(file, "[CONFIG]\nX=3\n"); });
    ASSERT_TRUE(r.ok()) << r.reason;
    EXPECT_EQ(Get(file), "[CONFIG]\nX=3\n");
    EXPECT_EQ(Stat(file).st_ino, inode);
    // A new file cannot be made there.
    const WriteResult missing = AsOrdinaryUser([&] { return Write(dir_ / "ro" / "x", "data"); });
    EXPECT_EQ(missing.reason, "Permission denied");
    EXPECT_EQ(Names("ro"), std::vector<std::string>{"qm71.ini"});
}

TEST_F(AtomicFileTest, FullDiskKeepsTheOldContentAndLeavesNoTemporary) {
    const std::string old(2000, 'o');
    const std::string big(64 * 1024, 'n');
    Put("plain.bmp", old);
    Put("shared.bmp", old);  // overwritten in place
    fs::create_hard_link(dir_ / "shared.bmp", dir_ / "second.bmp");
    for (const char* name : {"plain.bmp", "shared.bmp", "fresh.bmp"}) {
        const WriteResult r = WithFileSizeLimit(16 * 1024, [&] { return Write(dir_ / name, big); });
        EXPECT_EQ(r.status, WriteStatus::kFailed) << name;
        EXPECT_EQ(r.reason, "File too large") << name;
    }
    EXPECT_EQ(Get(dir_ / "plain.bmp"), old);
    EXPECT_EQ(Get(dir_ / "second.bmp"), old);
    EXPECT_EQ(Names(), (std::vector<std::string>{"plain.bmp", "second.bmp", "shared.bmp"}));
}

TEST_F(AtomicFileTest, FailuresGiveTheSystemsReason) {
    Put("plain", "data");
    fs::create_directory(dir_ / "folder");
    fs::create_symlink("loop2", dir_ / "loop1");
    fs::create_symlink("loop1", dir_ / "loop2");
    const std::pair<fs::path, const char*> cases[] = {
        {dir_ / "plain" / "x.bmp", "Not a directory"},
        {dir_ / "missing" / "x.bmp", "No such file or directory"},
        {dir_ / "loop1", "Too many levels of symbolic links"},
        {dir_ / "folder", "Is a directory"},
        {dir_ / "", "Is a directory"},
    };
    for (const auto& [target, reason] : cases) {
        const WriteResult r = Write(target, "data");
        EXPECT_EQ(r.status, WriteStatus::kFailed) << target;
        EXPECT_EQ(r.reason, reason) << target;
    }
    EXPECT_EQ(Get(dir_ / "plain"), "data");
    EXPECT_EQ(Names(), (std::vector<std::string>{"folder", "loop1", "loop2", "plain"}));
}

TEST_F(AtomicFileTest, CreateNewNeverOverwrites) {
    using Create = WriteResult (*)(const fs::path&, std::string_view);
    const Create withLink = [](const fs::path& p, std::string_view text) {
        return Write(p, text, WriteMode::kCreateNew);
    };
    const Create withoutLink = [](const fs::path& p, std::string_view text) {
        const ByteSpan parts[] = {std::as_bytes(std::span(text))};
        return detail::CreateNewWithoutLink(p, parts);
    };
    fs::create_symlink("elsewhere.bmp", dir_ / "00000002.bmp");
    for (const Create create : {withLink, withoutLink}) {
        const fs::path first = dir_ / "00000001.bmp";
        ASSERT_TRUE(create(first, "first").ok());
        EXPECT_EQ(create(first, "second").status, WriteStatus::kNameTaken);
        EXPECT_EQ(Get(first), "first");
        EXPECT_EQ(create(dir_ / "00000002.bmp", "x").status, WriteStatus::kNameTaken);
        // The longest usual name still leaves room for the temporary one.
        EXPECT_TRUE(create(dir_ / (std::string(251, 'n') + ".bmp"), "x").ok());
        const WriteResult full = WithFileSizeLimit(
            8 * 1024, [&] { return create(dir_ / "00000003.bmp", std::string(64 * 1024, 'x')); });
        EXPECT_EQ(full.reason, "File too large");
        EXPECT_EQ(Names().size(), 3u) << "no partial file, no temporary";
        fs::remove(first);
        fs::remove(dir_ / (std::string(251, 'n') + ".bmp"));
    }
}

}  // namespace
}  // namespace qm71
