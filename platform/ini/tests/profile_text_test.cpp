#include "platform/ini/profile_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

namespace qm71 {
namespace {

TEST(ParseProfileInt, FollowsTheProfileIntegerRule) {
    // clang-format off
    const std::pair<const char*, int> cases[] = {
        {"128", 128},   {" -7 ", -7},    {"\t+42", 42},   {"12abc", 12},   {"abc", 0},
        {"-", 0},       {"", 0},         {"0x1F", 31},    {"0X1f", 0},    {"-0x10", -16},
        {"0x", 0},      {"0x1g", 1},     {"1 2", 1},      {"--5", 0},      {"2147483647", INT_MAX},
        {"2147483648", INT_MIN},         {"4294967295", -1},               {"4294967296", 0},
        {"-4294967295", 1},              {"0xFFFFFFFF", -1},               {"\x01+5", 5},
        {"0b101", 5},   {"0B1", 0},      {"0o17", 15},    {"0o8", 0},
    };
    // clang-format on
    for (const auto& [text, value] : cases) EXPECT_EQ(ParseProfileInt(text), value) << text;
}

TEST(ProfileValue, FindsTheFirstKeyCaseInsensitivelyInTheFirstSection) {
    const std::string text =
        "\xEF\xBB\xBF; settings\r\norphan=1\r\n[Other]\nLUT=9\n  [ config ]  \n# comment=5\n"
        "garbage line\n=3\n  Thresh  =  77  \nlut=2\nLUT=4\nQuoted=\"12\"\nHalf=\"12\n"
        "Empty=\nSingle='1'\n[CONFIG]\nlate=1\n[C]\nY=-6";
    // section, key, value (null: not found)
    // clang-format off
    const char* cases[][3] = {
        {"CONFIG", "THRESH", "77"}, {"config", "LUT", "2"},     {"OTHER", "lut", "9"},
        {"CONFIG", "Quoted", "12"}, {"CONFIG", "Half", "\"12"}, {"CONFIG", "Empty", ""},
        {"CONFIG", "Single", "1"},  {"", "orphan", "1"},        {"CONFIG", "garbage line", ""},
        {"C", "Y", "-6"},           {"CONFIG", "comment", nullptr}, {"CONFIG", "orphan", nullptr},
        {"CONFIG", "late", nullptr} /* only in the second [CONFIG] */,
        {"NOSECTION", "LUT", nullptr},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(ProfileValue(text, c[0], c[1]),
                  c[2] ? std::optional<std::string>(c[2]) : std::nullopt)
            << c[0] << "/" << c[1];
}

TEST(ProfileTextWithValue, ChangesOnlyWhatItMustAndRefusesWhatWouldNotReadBack) {
    const char* cases[][4] = {
        // before, section, key, after writing "V"
        // Only the value of the first matching key in the section changes.
        {"[CONFIG]\r\n  Lut = 1   \r\nLUT=4\r\n[OTHER]\r\nLUT=3", "config", "LUT",
         "[CONFIG]\r\n  Lut = V\r\nLUT=4\r\n[OTHER]\r\nLUT=3"},
        // A missing key goes after the section's last line that is not blank.
        {"[CONFIG]\nX=1\n; note\nY=2\n; trailing comment\n\n[OTHER]\nZ=3\n", "CONFIG", "B",
         "[CONFIG]\nX=1\n; note\nY=2\n; trailing comment\nB=V\n\n[OTHER]\nZ=3\n"},
        // A name alone on its line is the key without its value.
        {"[A]\n k \n", "A", "k", "[A]\n k=V\n"},
        {"[A]\r\n\r\n[B]\r\n", "A", "k", "[A]\r\nk=V\r\n\r\n[B]\r\n"},
        // Added lines follow the file's own line ends, also after a last line
        // without one, or one that stops after its CR.
        {"[A]\r\nk=1", "A", "j", "[A]\r\nk=1\r\nj=V\r\n"},
        {"[A]\r\nk=1\r", "A", "j", "[A]\r\nk=1\r\nj=V\r\n"},
        {"[A]\nk=1\r", "B", "j", "[A]\nk=1\r\n[B]\nj=V\n"},
        {"[A]", "a", "j", "[A]\r\nj=V\r\n"},
        // A missing section is appended at the end.
        {"", "CONFIG", "X", "[CONFIG]\r\nX=V\r\n"},
        {"[A]\nk=1\n\n", "CONFIG", "X", "[A]\nk=1\n\n[CONFIG]\nX=V\n"},
        // Keys before any section belong to none and stay where they are.
        {"X=9\n", "CONFIG", "X", "X=9\n[CONFIG]\nX=V\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProfileTextWithValue(c[0], c[1], c[2], "V"), c[3]) << c[0];
    EXPECT_EQ(ProfileValue("[A]\nk=1\r", "A", "k"), "1");
    // Entries that would not read back are refused.
    for (const char* key : {"k=j", " k", ";k", "[k"})
        EXPECT_EQ(ProfileTextWithValue("[A]\n", "A", key, "1"), std::nullopt) << key;
    for (const char* section : {"A]", ""})
        EXPECT_EQ(ProfileTextWithValue("[A]\n", section, "k", "1"), std::nullopt) << section;
    EXPECT_EQ(ProfileTextWithValue("[A]\n", "A", "k", "1\r[B]"), std::nullopt);
}

}  // namespace
}  // namespace qm71
