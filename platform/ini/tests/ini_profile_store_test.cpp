#include "platform/ini/ini_profile_store.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

#include "testing/file_size_limit.h"

namespace qm71 {
namespace {
namespace fs = std::filesystem;

class IniProfileStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "qm71-ini-XXXXXX").string();
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        dir_ = tmpl;
        fs::permissions(dir_, fs::perms(0755));
    }
    void TearDown() override {
        fs::permissions(dir_, fs::perms(0755));
        fs::remove_all(dir_);
    }
    void Put(const fs::path& file, const std::string& text) {
        std::ofstream(file, std::ios::binary) << text;
    }
    static std::string Get(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    fs::path dir_;
};

TEST_F(IniProfileStoreTest, ReadsIntegersOrTheDefault) {
    IniProfileStore missing(dir_ / "qm71.ini");
    EXPECT_EQ(missing.GetInt("CONFIG", "THRESH", 128), 128);
    EXPECT_FALSE(fs::exists(dir_ / "qm71.ini"));

    Put(dir_ / "qm71.ini", "[CONFIG]\nLUT=2\nMITTE=\nX=-40\nB=abc\n[OTHER]\nVG=1\n");
    IniProfileStore store(dir_ / "qm71.ini");
    EXPECT_EQ(store.GetInt("config", "lut", 0), 2);
    EXPECT_EQ(store.GetInt("CONFIG", "X", 0), -40);
    EXPECT_EQ(store.GetInt("CONFIG", "MITTE", 10), 10);  // empty value
    EXPECT_EQ(store.GetInt("CONFIG", "B", 3072), 0);     // not a number
    EXPECT_EQ(store.GetInt("CONFIG", "VG", 255), 255);   // other section
    EXPECT_EQ(IniProfileStore(dir_).GetInt("CONFIG", "LUT", 5), 5);
}

TEST_F(IniProfileStoreTest, WriteKeepsTheRestOfTheFileAndCreatesWhatIsMissing) {
    const fs::path file = dir_ / "lcam71.ini";
    const std::string head = "; by hand\r\n[Window]\r\nX=5\r\n\r\n[CONFIG]\r\n";
    const std::string tail = "\r\n[Tail]\r\nodd line without equals";
    Put(file, head + "lut = 1\r\n# keep me\r\nTRIG=0\r\n" + tail);
    IniProfileStore store(file);
    ASSERT_TRUE(store.WriteString("CONFIG", "LUT", "2"));
    ASSERT_TRUE(store.WriteString("CONFIG", "BASIS", "800"));
    EXPECT_EQ(Get(file), head + "lut = 2\r\n# keep me\r\nTRIG=0\r\nBASIS=800\r\n" + tail);

    IniProfileStore fresh(dir_ / "a" / "b" / "qm71.ini");
    for (const char* key : {"X", "Y", "B", "H", "LUT", "SCALE"})
        ASSERT_TRUE(fresh.WriteString("CONFIG", key, "-3"));
    EXPECT_EQ(Get(dir_ / "a" / "b" / "qm71.ini"),
              "[CONFIG]\nX=-3\nY=-3\nB=-3\nH=-3\nLUT=-3\nSCALE=-3\n");
    EXPECT_EQ(fresh.LastWriteFailure().reason, "");
}

TEST_F(IniProfileStoreTest, FailedWriteNamesTheFolderAndTheReasonAndKeepsTheFile) {
    Put(dir_ / "plain", "data");
    fs::create_directories(dir_ / "sub" / "folder.ini");
    Put(dir_ / "sub" / "real.ini", "[CONFIG]\nX=1\n");
    fs::create_symlink("sub/real.ini", dir_ / "qm71.ini");
    fs::create_symlink("sub/folder.ini", dir_ / "folder.ini");
    const struct {
        fs::path file;
        const char* value;
        bool ordinaryUser;
        fs::path folder;
        const char* reason;
    } cases[] = {
        {dir_ / "plain" / "qm71.ini", "1", false, dir_ / "plain", "Not a directory"},
        {dir_ / "qm71.ini", "2\n[EVIL]", false, dir_ / "sub",
         "the entry cannot be stored in a settings file"},
        {dir_ / "folder.ini", "1", false, dir_ / "sub",
         "cannot read the existing file: Is a directory"},
        {dir_ / "new.ini", "1", true, dir_, "Permission denied"},
    };
    for (const auto& c : cases) {
        IniProfileStore store(c.file);
        if (c.ordinaryUser) fs::permissions(dir_, fs::perms(0555));  // also for a non-root run
        const auto write = [&] {
            const bool ok = store.WriteString("CONFIG", "X", c.value);
            return WriteResult{ok ? WriteStatus::kWritten : WriteStatus::kFailed,
                               store.LastWriteFailure().reason};
        };
        const WriteResult r = c.ordinaryUser ? testing::AsOrdinaryUser(write) : write();
        EXPECT_FALSE(r.ok()) << c.file;
        EXPECT_EQ(r.reason, c.reason) << c.file;
        EXPECT_EQ(store.LastWriteFailure().folder, c.folder.string()) << c.file;
    }
    EXPECT_EQ(Get(dir_ / "sub" / "real.ini"), "[CONFIG]\nX=1\n");
    EXPECT_EQ(Get(dir_ / "plain"), "data");
}

TEST(ConfigDirectory, FollowsTheEnvironment) {
    // QM71_CONFIG_DIR, XDG_CONFIG_HOME, HOME, expected (null: working folder)
    const char* const cases[][4] = {
        {"/opt/qm", "/x", "/h", "/opt/qm"},
        {"", "/x", "/h", "/x/qm71"},
        {nullptr, "", "/h", "/h/.config/qm71"},
        {nullptr, nullptr, "/h", "/h/.config/qm71"},
        {"", "", "", nullptr},
    };
    const char* names[] = {"QM71_CONFIG_DIR", "XDG_CONFIG_HOME", "HOME"};
    for (const auto& c : cases) {
        for (int i = 0; i < 3; ++i) c[i] ? ::setenv(names[i], c[i], 1) : ::unsetenv(names[i]);
        EXPECT_EQ(ConfigDirectory(), c[3] ? fs::path(c[3]) : fs::current_path()) << c[3];
    }
}

}  // namespace
}  // namespace qm71
