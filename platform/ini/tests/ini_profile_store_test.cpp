#include "platform/ini/ini_profile_store.h"

#include <gtest/gtest.h>

#include "platform/ini/tests/profile_read_cases.h"
#include "testing/temp_folder.h"

namespace qm71 {
namespace {
namespace fs = std::filesystem;

TEST(IniProfileStore, ReadsAsTheWindowsProfileFunctions) {
    testing::TempFolder dir;
    EXPECT_EQ(IniProfileStore(dir.Path()).GetInt("CONFIG", "LUT", 5), 5);  // a folder
    int n = 0;
    for (const testing::ReadCase& c : testing::kReadCases) {
        const std::string name = std::to_string(++n) + ".ini";
        if (c.file != nullptr) dir.Put(name, c.file);
        EXPECT_EQ(IniProfileStore(dir / name).GetInt(c.section, c.key, 77), c.answer) << n;
    }
}

TEST(IniProfileStore, WriteKeepsTheRestOfTheFileAndCreatesWhatIsMissing) {
    testing::TempFolder dir;
    const std::string head = "; by hand\r\n[Window]\r\nX=5\r\n\r\n[CONFIG]\r\n";
    const std::string tail = "\r\n[Tail]\r\nodd line without equals";
    dir.Put("lcam71.ini", head + "lut = 1\r\n# keep me\r\nTRIG=0\r\n" + tail);
    IniProfileStore store(dir / "lcam71.ini");
    ASSERT_TRUE(store.WriteString("CONFIG", "LUT", "2"));
    ASSERT_TRUE(store.WriteString("CONFIG", "BASIS", "800"));
    EXPECT_EQ(dir.Get("lcam71.ini"),
              head + "lut = 2\r\n# keep me\r\nTRIG=0\r\nBASIS=800\r\n" + tail);

    IniProfileStore fresh(dir / "a" / "b" / "qm71.ini");
    ASSERT_TRUE(fresh.WriteString("CONFIG", "X", "-3"));
    EXPECT_EQ(dir.Get("a/b/qm71.ini"), "[CONFIG]\r\nX=-3\r\n");
    EXPECT_EQ(fresh.LastWriteFailure().reason, "");
}

TEST(IniProfileStore, FailedWriteNamesTheFolderAndTheReasonAndKeepsTheFile) {
    testing::TempFolder dir;
    dir.Put("plain", "data");
    IniProfileStore nowhere(dir / "plain" / "qm71.ini");
    EXPECT_FALSE(nowhere.WriteString("CONFIG", "X", "1"));
    EXPECT_NE(nowhere.LastWriteFailure().reason, "");
    EXPECT_EQ(nowhere.LastWriteFailure().folder, (dir / "plain").string());
    EXPECT_EQ(dir.Get("plain"), "data");
}

}  // namespace
}  // namespace qm71
