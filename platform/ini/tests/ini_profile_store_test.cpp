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
        std::random_device rd;
        dir_ = fs::temp_directory_path() /
               ("qm71-ini-test-" + std::to_string(::getpid()) + "-" + std::to_string(rd()));
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
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
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
    EXPECT_EQ(store.GetInt("Window", "X", 0), 5);
    EXPECT_EQ(Entries(), std::vector<std::string>{"lcam71.ini"});  // no temporary left behind
}

TEST_F(IniProfileStoreTest, WriteCreatesFolderFileAndSection) {
    const fs::path file = dir_ / "a" / "b" / "qm71.ini";
    IniProfileStore store(file);
    ASSERT_TRUE(store.WriteString("CONFIG", "X", "-12"));
    EXPECT_EQ(Get(file), "[CONFIG]\nX=-12\n");
    ASSERT_TRUE(store.WriteString("Extra", "k", "1"));
    EXPECT_EQ(Get(file), "[CONFIG]\nX=-12\n\n[Extra]\nk=1\n");
    EXPECT_EQ(store.GetInt("CONFIG", "X", 0), -12);
}

TEST_F(IniProfileStoreTest, ElevenWritesListTheKeysInWriteOrder) {
    const fs::path file = dir_ / "qm71.ini";
    IniProfileStore store(file);
    const char* keys[] = {"X", "Y", "B", "H", "LUT", "SCALE", "THRESH", "MITTE", "VG", "MG", "BG"};
    std::string expected = "[CONFIG]\n";
    int n = -3;
    for (const char* key : keys) {
        ASSERT_TRUE(store.WriteString("CONFIG", key, std::to_string(n)));
        expected += std::string(key) + "=" + std::to_string(n) + "\n";
        EXPECT_EQ(Get(file), expected);  // the file is complete after every write
        ++n;
    }
    // A second run rewrites the same keys in place.
    std::string rewritten = "[CONFIG]\n";
    for (const char* key : keys) {
        ASSERT_TRUE(store.WriteString("CONFIG", key, "0"));
        rewritten += std::string(key) + "=0\n";
    }
    EXPECT_EQ(Get(file), rewritten);
}

TEST_F(IniProfileStoreTest, FailedWriteReturnsFalseAndLeavesFilesAlone) {
    // The folder of the file would have to be inside a regular file.
    Put(dir_ / "plain", "data");
    IniProfileStore underFile(dir_ / "plain" / "qm71.ini");
    EXPECT_FALSE(underFile.WriteString("CONFIG", "X", "1"));
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

    EXPECT_EQ(Entries().size(), 3u);  // plain, folder.ini, qm71.ini: no temporaries
}

TEST_F(IniProfileStoreTest, WriteIntoReadOnlyFolderFailsWithoutTouchingTheFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "root may write into read-only folders";
    const fs::path file = dir_ / "ro" / "qm71.ini";
    fs::create_directory(dir_ / "ro");
    Put(file, "[CONFIG]\nX=1\n");
    fs::permissions(dir_ / "ro", fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(IniProfileStore(file).WriteString("CONFIG", "X", "2"));
    EXPECT_EQ(Get(file), "[CONFIG]\nX=1\n");
    fs::permissions(dir_ / "ro", fs::perms::owner_all);
}

TEST_F(IniProfileStoreTest, WriteThroughSymbolicLinkKeepsTheLink) {
    const fs::path real = dir_ / "real.ini";
    const fs::path link = dir_ / "qm71.ini";
    Put(real, "[CONFIG]\nX=1\n");
    fs::create_symlink(real, link);
    ASSERT_TRUE(IniProfileStore(link).WriteString("CONFIG", "X", "2"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Get(real), "[CONFIG]\nX=2\n");
}

// Sets or clears environment variables for one test and restores them after.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value != nullptr) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (old_) {
            ::setenv(name_, old_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(ConfigDirectory, FollowsTheEnvironment) {
    struct Case {
        const char* configDir;
        const char* xdg;
        const char* home;
        fs::path expected;
    };
    const Case cases[] = {
        {"/opt/qm", "/x", "/h", "/opt/qm"},
        {"", "/x", "/h", "/x/qm71"},
        {nullptr, "/x", "/h", "/x/qm71"},
        {nullptr, "", "/h", "/h/.config/qm71"},
        {nullptr, nullptr, "/h", "/h/.config/qm71"},
        {"", "", "", fs::current_path()},
        {nullptr, nullptr, nullptr, fs::current_path()},
    };
    for (const Case& c : cases) {
        ScopedEnv a("QM71_CONFIG_DIR", c.configDir);
        ScopedEnv b("XDG_CONFIG_HOME", c.xdg);
        ScopedEnv h("HOME", c.home);
        EXPECT_EQ(ConfigDirectory(), c.expected)
            << (c.configDir ? c.configDir : "(unset)") << " " << (c.xdg ? c.xdg : "(unset)") << " "
            << (c.home ? c.home : "(unset)");
    }
}

}  // namespace
}  // namespace qm71
