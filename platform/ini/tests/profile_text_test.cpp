#include "platform/ini/profile_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace qm71 {
namespace {

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
        // Added lines follow the file's own line ends, also after a last line
        // without one, or one that stops after its CR; a new section goes last.
        {"[A]\r\nk=1\r", "A", "j", "[A]\r\nk=1\r\nj=V\r\n"},
        {"[A]\nk=1\r", "B", "j", "[A]\nk=1\r\n[B]\nj=V\n"},
        {"[A]", "a", "j", "[A]\r\nj=V\r\n"},
        {"X=9\n\n", "CONFIG", "X", "X=9\n\n[CONFIG]\nX=V\n"},
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
