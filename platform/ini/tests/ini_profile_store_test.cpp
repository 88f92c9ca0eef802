#include "platform/ini/ini_profile_store.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace qm71 {
namespace {
namespace fs = std::filesystem;

class IniProfileStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("qm71-ini-test-" + std::to_string(::getpid()) + "-" +
                                            std::to_string(std::random_device{}()));
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(dir_, ec);
    }
    static void Put(const fs::path& file, const std::string& text) {
        std::ofstream(file, std::ios::binary) << text;
    }
    static std::string Get(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::size_t EntryCount() const {
        return std::size_t(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
    }

    fs::path dir_;
};

TEST_F(IniProfileStoreTest, MissingFileSectionOrKeyGiveTheDefault) {
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

    // A folder where the file should be reads as missing, not as a crash.
    fs::create_directory(dir_ / "folder.ini");
    EXPECT_EQ(IniProfileStore(dir_ / "folder.ini").GetInt("CONFIG", "LUT", 5), 5);
}

TEST_F(IniProfileStoreTest, WriteKeepsTheRestOfTheFileByteForByte) {
    const fs::path file = dir_ / "lcam71.ini";
    const std::string head = "; by hand\r\n[Window]\r\nX=5\r\n\r\n[CONFIG]\r\n";
    const std::string tail = "\r\n[Tail]\r\nodd line without equals";
    Put(file, head + "lut = 1\r\n# keep me\r\nTRIG=0\r\n" + tail);
    IniProfileStore store(file);
    ASSERT_TRUE(store.WriteString("CONFIG", "LUT", "2"));
    ASSERT_TRUE(store.WriteString("CONFIG", "BASIS", "800"));
    EXPECT_EQ(Get(file), head + "lut = 2\r\n# keep me\r\nTRIG=0\r\nBASIS=800\r\n" + tail);
    EXPECT_EQ(store.GetInt("CONFIG", "BASIS", 0), 800);
    EXPECT_EQ(EntryCount(), 1u);  // no temporary left behind
}

TEST_F(IniProfileStoreTest, WritesCreateFolderFileAndSectionsInWriteOrder) {
    const fs::path file = dir_ / "a" / "b" / "qm71.ini";
    IniProfileStore store(file);
    const char* keys[] = {"X", "Y", "B", "H", "LUT", "SCALE", "THRESH", "MITTE", "VG", "MG", "BG"};
    std::string expected = "[CONFIG]\n";
    int n = -3;
    for (const char* key : keys) {
        ASSERT_TRUE(store.WriteString("CONFIG", key, std::to_string(n)));
        expected += std::string(key) + "=" + std::to_string(n++) + "\n";
        EXPECT_EQ(Get(file), expected);  // the file is complete after every write
    }
    ASSERT_TRUE(store.WriteString("Extra", "k", "1"));
    EXPECT_EQ(Get(file), expected + "\n[Extra]\nk=1\n");
    EXPECT_EQ(store.GetInt("CONFIG", "X", 0), -3);
}

TEST_F(IniProfileStoreTest, FailedWriteReturnsFalseAndLeavesFilesAlone) {
    // The folder of the file would have to be inside a regular file.
    Put(dir_ / "plain", "data");
    EXPECT_FALSE(IniProfileStore(dir_ / "plain" / "qm71.ini").WriteString("CONFIG", "X", "1"));
    EXPECT_EQ(Get(dir_ / "plain"), "data");

    // The settings path names a folder.
    fs::create_directories(dir_ / "folder.ini" / "inside");
    EXPECT_FALSE(IniProfileStore(dir_ / "folder.ini").WriteString("CONFIG", "X", "1"));
    EXPECT_TRUE(fs::is_directory(dir_ / "folder.ini" / "inside"));

    // Values that would break the file's lines are refused.
    const fs::path file = dir_ / "qm71.ini";
    Put(file, "[CONFIG]\nX=1\n");
    IniProfileStore store(file);
    EXPECT_FALSE(store.WriteString("CONFIG", "X", "2\n[EVIL]"));
    EXPECT_FALSE(store.WriteString("CONFIG", "X=Y", "2"));
    EXPECT_EQ(Get(file), "[CONFIG]\nX=1\n");
    EXPECT_EQ(EntryCount(), 3u);  // plain, folder.ini, qm71.ini: no temporaries

    // A folder that cannot be written to (root could write anyway).
    if (::geteuid() != 0) {
        fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_FALSE(store.WriteString("CONFIG", "X", "2"));
        fs::permissions(dir_, fs::perms::owner_all);
        EXPECT_EQ(Get(file), "[CONFIG]\nX=1\n");
    }
}

TEST_F(IniProfileStoreTest, WriteThroughSymbolicLinkKeepsTheLink) {
    Put(dir_ / "real.ini", "[CONFIG]\nX=1\n");
    fs::create_symlink(dir_ / "real.ini", dir_ / "qm71.ini");
    ASSERT_TRUE(IniProfileStore(dir_ / "qm71.ini").WriteString("CONFIG", "X", "2"));
    EXPECT_TRUE(fs::is_symlink(dir_ / "qm71.ini"));
    EXPECT_EQ(Get(dir_ / "real.ini"), "[CONFIG]\nX=2\n");
}

TEST(ConfigDirectory, FollowsTheEnvironment) {
    const char* names[] = {"QM71_CONFIG_DIR", "XDG_CONFIG_HOME", "HOME"};
    std::optional<std::string> saved[3];
    for (int i = 0; i < 3; ++i) {
        if (const char* old = std::getenv(names[i])) saved[i] = old;
    }
    auto set = [](const char* name, const char* value) {
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    };
    const char* const cases[][4] = {
        // QM71_CONFIG_DIR, XDG_CONFIG_HOME, HOME, expected (null: working folder)
        {"/opt/qm", "/x", "/h", "/opt/qm"},
        {"", "/x", "/h", "/x/qm71"},
        {nullptr, "/x", "/h", "/x/qm71"},
        {nullptr, "", "/h", "/h/.config/qm71"},
        {nullptr, nullptr, "/h", "/h/.config/qm71"},
        {"", "", "", nullptr},
        {nullptr, nullptr, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        for (int i = 0; i < 3; ++i) set(names[i], c[i]);
        EXPECT_EQ(ConfigDirectory(), c[3] ? fs::path(c[3]) : fs::current_path())
            << (c[0] ? c[0] : "(unset)") << " " << (c[1] ? c[1] : "(unset)") << " "
            << (c[2] ? c[2] : "(unset)");
    }
    for (int i = 0; i < 3; ++i) set(names[i], saved[i] ? saved[i]->c_str() : nullptr);
}

}  // namespace
}  // namespace qm71
