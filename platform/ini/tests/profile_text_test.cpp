#include "platform/ini/profile_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

namespace qm71 {
namespace {

TEST(ParseProfileInt, FollowsTheProfileIntegerRule) {
    struct Case {
        const char* text;
        int expected;
    };
    // clang-format off
    const Case cases[] = {
        {"128", 128},   {" -7 ", -7},    {"\t+42", 42},   {"12abc", 12},   {"abc", 0},
        {"-", 0},       {"", 0},         {"0x1F", 31},    {"0X1f", 31},    {"-0x10", -16},
        {"0x", 0},      {"0x1g", 1},     {"1 2", 1},      {"--5", 0},      {"2147483647", INT_MAX},
        {"2147483648", INT_MIN},         {"4294967295", -1},               {"4294967296", 0},
        {"-4294967295", 1},              {"0xFFFFFFFF", -1},
    };
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(ParseProfileInt(c.text), c.expected) << "text \"" << c.text << '"';
    }
}

TEST(ProfileValue, FindsKeysCaseInsensitivelyInTheirSection) {
    const std::string text =
        "; settings\n"
        "orphan=1\n"
        "[Other]\n"
        "LUT=9\n"
        "  [ config ]  \n"
        "# comment=5\n"
        "garbage line\n"
        "=3\n"
        "  Thresh  =  77  \n"
        "lut=2\n"
        "Quoted=\"12\"\n"
        "Half=\"12\n"
        "Empty=\n";
    EXPECT_EQ(ProfileValue(text, "CONFIG", "THRESH"), "77");
    EXPECT_EQ(ProfileValue(text, "config", "LUT"), "2");
    EXPECT_EQ(ProfileValue(text, "OTHER", "lut"), "9");
    EXPECT_EQ(ProfileValue(text, "CONFIG", "Quoted"), "12");
    EXPECT_EQ(ProfileValue(text, "CONFIG", "Half"), "\"12");
    EXPECT_EQ(ProfileValue(text, "CONFIG", "Empty"), "");
    EXPECT_EQ(ProfileValue(text, "CONFIG", "comment"), std::nullopt);
    EXPECT_EQ(ProfileValue(text, "CONFIG", "orphan"), std::nullopt);
    EXPECT_EQ(ProfileValue(text, "CONFIG", "MISSING"), std::nullopt);
    EXPECT_EQ(ProfileValue(text, "NOSECTION", "LUT"), std::nullopt);
}

TEST(ProfileValue, FirstSectionAndKeyWinAcrossLineEnds) {
    const std::string text = "\xEF\xBB\xBF[A]\r\nk=1\r\nK=2\r\n[B]\nm=5\n[a]\nk=3\nj=4";
    EXPECT_EQ(ProfileValue(text, "A", "k"), "1");
    EXPECT_EQ(ProfileValue(text, "A", "j"), std::nullopt);  // only in the second [a]
    EXPECT_EQ(ProfileValue(text, "B", "m"), "5");
    EXPECT_EQ(ProfileValue("[C]\nY=-6", "C", "Y"), "-6");
}

TEST(ProfileTextWithValue, ReplacesOnlyTheValue) {
    const std::string before = "[CONFIG]\r\n  Lut = 1   \r\nLUT=4\r\n[OTHER]\r\nLUT=3";
    EXPECT_EQ(ProfileTextWithValue(before, "config", "LUT", "2"),
              "[CONFIG]\r\n  Lut = 2\r\nLUT=4\r\n[OTHER]\r\nLUT=3");
    EXPECT_EQ(ProfileTextWithValue(before, "OTHER", "LUT", "-8"),
              "[CONFIG]\r\n  Lut = 1   \r\nLUT=4\r\n[OTHER]\r\nLUT=-8");
}

TEST(ProfileTextWithValue, AddsMissingKeyAfterTheSectionsLastKey) {
    const std::string before =
        "[CONFIG]\n"
        "X=1\n"
        "; note\n"
        "Y=2\n"
        "; trailing comment\n"
        "\n"
        "[OTHER]\n"
        "Z=3\n";
    EXPECT_EQ(ProfileTextWithValue(before, "CONFIG", "B", "3072"),
              "[CONFIG]\nX=1\n; note\nY=2\nB=3072\n; trailing comment\n\n[OTHER]\nZ=3\n");
    // A section without keys gets the key right after its header.
    EXPECT_EQ(ProfileTextWithValue("[A]\r\n\r\n[B]\r\n", "A", "k", "v"),
              "[A]\r\nk=v\r\n\r\n[B]\r\n");
    // Added lines follow the file's own line ends, also after a last line
    // that has none.
    EXPECT_EQ(ProfileTextWithValue("[A]\r\nk=1", "A", "j", "2"), "[A]\r\nk=1\r\nj=2\r\n");
    EXPECT_EQ(ProfileTextWithValue("[A]", "a", "j", "2"), "[A]\nj=2\n");
    // A last line that stops after its CR keeps reading the same.
    const std::optional<std::string> cut = ProfileTextWithValue("[A]\r\nk=1\r", "A", "j", "2");
    ASSERT_TRUE(cut.has_value());
    EXPECT_EQ(*cut, "[A]\r\nk=1\r\nj=2\r\n");
    EXPECT_EQ(ProfileValue("[A]\nk=1\r", "A", "k"), "1");
    EXPECT_EQ(ProfileTextWithValue("[A]\nk=1\r", "B", "j", "2"), "[A]\nk=1\r\n\n[B]\nj=2\n");
}

TEST(ProfileTextWithValue, AppendsMissingSection) {
    EXPECT_EQ(ProfileTextWithValue("", "CONFIG", "X", "1"), "[CONFIG]\nX=1\n");
    EXPECT_EQ(ProfileTextWithValue("[A]\r\nk=1\r\n", "CONFIG", "X", "1"),
              "[A]\r\nk=1\r\n\r\n[CONFIG]\r\nX=1\r\n");
    EXPECT_EQ(ProfileTextWithValue("[A]\nk=1", "CONFIG", "X", "1"), "[A]\nk=1\n\n[CONFIG]\nX=1\n");
    EXPECT_EQ(ProfileTextWithValue("[A]\nk=1\n\n", "CONFIG", "X", "1"),
              "[A]\nk=1\n\n[CONFIG]\nX=1\n");
    // Keys before any section belong to none and stay where they are.
    EXPECT_EQ(ProfileTextWithValue("X=9\n", "CONFIG", "X", "1"), "X=9\n\n[CONFIG]\nX=1\n");
}

TEST(ProfileTextWithValue, RefusesEntriesThatWouldNotReadBack) {
    const char* text = "[A]\nk=1\n";
    EXPECT_EQ(ProfileTextWithValue(text, "A", "k", "1\n[B]"), std::nullopt);
    EXPECT_EQ(ProfileTextWithValue(text, "A", "k=j", "1"), std::nullopt);
    EXPECT_EQ(ProfileTextWithValue(text, "A", " k", "1"), std::nullopt);
    EXPECT_EQ(ProfileTextWithValue(text, "A", ";k", "1"), std::nullopt);
    EXPECT_EQ(ProfileTextWithValue(text, "A", "[k", "1"), std::nullopt);
    EXPECT_EQ(ProfileTextWithValue(text, "A]", "k", "1"), std::nullopt);
    // Blanks inside names and odd characters in values are fine.
    const std::optional<std::string> out = ProfileTextWithValue(text, "My Sec", "my key", " \"x\"");
    ASSERT_TRUE(out.has_value());
    EXPECT_EQ(ProfileValue(*out, "MY SEC", "MY KEY"), "x");
    EXPECT_EQ(ProfileValue(*out, "A", "k"), "1");
}

}  // namespace
}  // namespace qm71
