// IniProfileStore against the system's private-profile functions: the read
// cases the INI tests share, and a table of writes here, each through both;
// every answer and every file written compared byte for byte.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>

#include "compose/settings_choice.h"
#include "platform/ini/ini_profile_store.h"
#include "platform/ini/tests/profile_read_cases.h"
#include "platform/win32/win32_profile_store.h"
#include "testing/temp_folder.h"

namespace qm71 {
namespace {

#define C "[CONFIG]\r\n"
// A file before (null: none), and "SECTION/KEY=VALUE" written to it.
// clang-format off
const char* const kWriteCases[][2] = {
    {nullptr, "CONFIG/X=5"}, {C "X=1\r\n", "CONFIG/X=5"}, {C "X=1\r\n", "CONFIG/X="},
    {C "X=1\r\n", "CONFIG/X=-2147483648"}, {C "X=1\r\n", "CONFIG/Y=5"}, {C "X=1\r\n", "OTHER/Y=5"},
    {C "X=1\r\n; end\r\n\r\n[OTHER]\r\nZ=2\r\n", "CONFIG/Y=5"}, {C "X=1\r\n", "config/x=5"},
    {"[config]\r\nx=1\r\n", "CONFIG/X=5"}, {"[CONFIG] ; note\r\n", "CONFIG/Y=5"},
    {"[ CONFIG ]\r\nX=1\r\n", "CONFIG/Y=5"}, {C "X=1\r\nX=2\r\n", "CONFIG/X=5"},
    {"[CONFIG]\r\nY=1\r\n[CONFIG]\r\n", "CONFIG/Z=5"}, {C "X\r\n", "CONFIG/X=5"},
    {"; top\r\n[CONFIG]\r\n; note = 1\r\nX=1\r\n# other\r\nFOREIGN=abc\r\n", "CONFIG/Y=5"},
    {"  [CONFIG]  \r\n  X  =  1  \r\n", "CONFIG/X=5"}, {"[CONFIG]\nX=1\n", "CONFIG/Y=5"},
    {"[CONFIG]\nX=1\n", "OTHER/Y=5"}, {"[CONFIG]\r\nX=1", "CONFIG/Y=5"},
    {"[CONFIG]\r\nX=1", "OTHER/Y=5"}, {"\xEF\xBB\xBF", "CONFIG/X=5"}, {"X=1\r\n", "CONFIG/X=5"},
};
// clang-format on
#undef C

// A file as Wine writes it back whole after any change: each line trimmed,
// blank lines left out, no blanks around a line's first '=' or in the
// brackets of a header, CR LF line ends. Windows keeps the lines it does not
// change as they are, and so do we.
std::string WineForm(std::string_view text) {
    const auto trim = [](std::string_view s) {
        const std::size_t begin = std::min(s.find_first_not_of(" \t\r"), s.size());
        return s.substr(begin, s.find_last_not_of(" \t\r") + 1 - begin);
    };
    std::string out(text.substr(0, text.starts_with("\xEF\xBB\xBF") ? 3 : 0));
    for (std::size_t at = out.size(), nl; at < text.size(); at = nl + 1) {
        nl = std::min(text.find('\n', at), text.size());
        const std::string_view line = trim(text.substr(at, nl - at));
        const std::size_t close = line.find(']'), eq = line.find('=');
        if (line.empty()) continue;
        if (line.starts_with('[') && close != line.npos)
            out.append("[").append(trim(line.substr(1, close - 1))).append("]");
        else if (eq != line.npos)
            out.append(trim(line.substr(0, eq))).append("=").append(trim(line.substr(eq + 1)));
        else
            out.append(line);
        out.append("\r\n");
    }
    return out;
}

TEST(ProfileCompare, IniProfileStoreAnswersAsTheSystemDoes) {
    testing::TempFolder dir;
    // Each case in files of its own: the system keeps what it read.
    int n = 0;
    const auto put = [&](const char* text, std::string& name) {
        name = std::to_string(++n) + ".ini";
        if (text != nullptr) dir.Put(name, text);
        return (dir / name).string();
    };
    int alike = 0, rewritten = 0, kept = 0;
    std::string theirs, ours;
    for (const testing::ReadCase& c : testing::kReadCases) {
        const int system = Win32ProfileStore(put(c.file, theirs)).GetInt(c.section, c.key, 77);
        EXPECT_EQ(IniProfileStore(put(c.file, ours)).GetInt(c.section, c.key, 77), c.answer) << n;
        EXPECT_TRUE(c.ours || system == c.answer) << n << ": " << system;
        ++(c.ours ? kept : alike);
    }
    for (const auto& [before, what] : kWriteCases) {
        const std::string_view entry = what;
        const std::size_t slash = entry.find('/'), eq = entry.find('=');
        const auto write = [&](ProfileStore&& store, const std::string& name) {
            const bool ok =
                store.WriteString(entry.substr(0, slash), entry.substr(slash + 1, eq - slash - 1),
                                  entry.substr(eq + 1));
            return ok ? dir.Get(name) : "(not written)";
        };
        const std::string system = write(Win32ProfileStore(put(before, theirs)), theirs);
        const std::string file = write(IniProfileStore(put(before, ours)), ours);
        const bool wineRewrites = before != nullptr && WineForm(before) != before;
        EXPECT_EQ(system, wineRewrites ? WineForm(file) : file) << n;
        ++(wineRewrites ? rewritten : alike);
    }
    std::printf(
        "profile comparison: %d cases: %d alike byte for byte, %d alike after Wine's "
        "rewrite of the file, %d where we keep our own answer\n",
        alike + rewritten + kept, alike, rewritten, kept);
}

TEST(ProfileCompare, Win32StoreSaysWhereAndWhyAWriteFailed) {
    testing::TempFolder dir;
    Win32ProfileStore nowhere((dir / "none" / "qm71.ini").string());
    EXPECT_FALSE(nowhere.WriteString("CONFIG", "X", "1"));
    EXPECT_EQ(nowhere.LastWriteFailure().folder, (dir / "none").string());
    EXPECT_EQ(nowhere.LastWriteFailure().reason.find_first_of(".\r\n"), std::string::npos);
    EXPECT_NE(nowhere.LastWriteFailure().reason, "");
    // The programs' file: a bare name, in the Windows folder, or in the
    // folder they are given. A line break is no value.
    const std::string name = "qm71-test-" + std::to_string(GetCurrentProcessId()) + ".ini";
    const std::string folder = dir.Path().string();
    for (const char* configDir : {static_cast<const char*>(nullptr), folder.c_str()}) {
        const auto store = MakeSettingsStore(name, configDir);
        ASSERT_TRUE(store->WriteString("CONFIG", "X", "1"));
        EXPECT_FALSE(store->WriteString("CONFIG", "X", "2\r\n[EVIL]"));
        EXPECT_EQ(store->LastWriteFailure().folder == folder, configDir != nullptr);
        const auto written = std::filesystem::path(store->LastWriteFailure().folder) / name;
        std::string text;
        std::getline(std::ifstream(written, std::ios::binary), text, '\0');
        EXPECT_EQ(text, "[CONFIG]\r\nX=1\r\n");
        std::filesystem::remove(written);
    }
}

}  // namespace
}  // namespace qm71
