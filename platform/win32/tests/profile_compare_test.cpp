// IniProfileStore against the system's private-profile functions: one table
// of files, each read or written through both, every answer and every file
// written compared byte for byte.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "compose/settings_choice.h"
#include "platform/ini/ini_profile_store.h"
#include "platform/win32/win32_profile_store.h"

namespace qm71 {
namespace {
namespace fs = std::filesystem;

// Values of X in "[CONFIG]\r\nX=...\r\n", each a case read through both.
// clang-format off
const char* const kValues[] = {
    "128", "-7", "+42", "0x10", "0X10", "0xfF", "-0x10", "0b101", "0B101", "0o17", "0O17", "017",
    "0x", "0b", "0b12", "0o18", "0xg", "12abc", "abc", "-", "--5", "+-5", "1 2", "- 5",
    "2147483647", "2147483648", "4294967295", "4294967296", "-4294967297", "0x123456789",
    "18446744073709551617", " \t 5", "5 \t ", "\x01\x02" "5", "", "\"12\"", "'12'", "\"12",
    "\"12'", "\" 12\"",
};
// clang-format on

struct Case {
    const char* file;  // the file before; null: there is none
    // "SECTION/KEY" reads the key with the default 77, "SECTION/KEY=VALUE" writes it.
    const char* what;
    // Where we keep our own answer, IniProfileStore's (the number read, or
    // the file written); see the rows for why.
    const char* ours = nullptr;
};

#define C "[CONFIG]\r\n"
// clang-format off
const Case kCases[] = {
    // Wine reads no more than 29 characters of a value, so these read as
    // other numbers there, the padded 12 as 0.
    {C "X=123456789012345678901234567890123\r\n", "CONFIG/X", "-1505606453"},
    {C "X=000000000000000000000000000000000012\r\n", "CONFIG/X", "12"},
    // Wine takes a lone CR for a line end where no LF follows in the file.
    {"[CONFIG]\rX=5\r", "CONFIG/X", "77"},
    // Reading: missing file, section or key; case and blanks of the names.
    {nullptr, "CONFIG/X"}, {"", "CONFIG/X"}, {"[OTHER]\r\nX=5\r\n", "CONFIG/X"},
    {C "Y=5\r\n", "CONFIG/X"}, {"[config]\r\nx=5\r\n", "CONFIG/X"},
    {"  [CONFIG]  \r\n  X  =  5  \r\n", "CONFIG/X"}, {"\t[CONFIG]\t\r\nX\t=\t5\t\r\n", "CONFIG/X"},
    {"[ CONFIG ]\r\nX=5\r\n", "CONFIG/X"}, {"[CONFIG] ; note\r\nX=5\r\n", "CONFIG/X"},
    {"[CONFIG\r\nX=5\r\n", "CONFIG/X"}, {C "X Y=5\r\n", "CONFIG/X"}, {C "=5\r\n", "CONFIG/"},
    // Sections and keys twice, comments, a key without '=', keys before any section.
    {"[CONFIG]\r\nY=1\r\n[OTHER]\r\nX=1\r\n[CONFIG]\r\nX=5\r\n", "CONFIG/X"},
    {C "X=1\r\nX=2\r\n", "CONFIG/X"}, {C ";X=1\r\n#X=2\r\nX=5\r\n", "CONFIG/X"},
    {C "; X=1\r\n", "CONFIG/X"}, {C "X\r\nX=5\r\n", "CONFIG/X"}, {"X=5\r\n" C, "CONFIG/X"},
    {"X=5\r\n[]\r\nX=6\r\n", "/X"}, {"[]\r\nX=5\r\n", "/X"},
    // Line ends, a byte order mark, blank lines.
    {"[CONFIG]\nX=5\n", "CONFIG/X"}, {"[CONFIG]\r\nX=5", "CONFIG/X"},
    {"\xEF\xBB\xBF[CONFIG]\r\nX=5\r\n", "CONFIG/X"}, {"[CONFIG]\r\n\r\n\r\nX=5\r\n", "CONFIG/X"},
    // Writing a value: new file, changed, the same, empty, at the end of int.
    {nullptr, "CONFIG/X=5"}, {"", "CONFIG/X=5"}, {C "X=1\r\n", "CONFIG/X=5"},
    {C "X=5\r\n", "CONFIG/X=5"}, {C "X=1\r\n", "CONFIG/X="}, {C "X=1\r\n", "CONFIG/X=-2147483648"},
    // Adding a key or a section: where it goes.
    {C "X=1\r\n", "CONFIG/Y=5"}, {C "X=1\r\n", "OTHER/Y=5"},
    {C "X=1\r\n[OTHER]\r\nZ=2\r\n", "CONFIG/Y=5"}, {C "X=1\r\n\r\n[OTHER]\r\n", "CONFIG/Y=5"},
    {C "X=1\r\n; end\r\n\r\n[OTHER]\r\n", "CONFIG/Y=5"}, {C "; only a comment\r\n", "CONFIG/Y=5"},
    {"[CONFIG] ; note\r\nX=1\r\n", "CONFIG/Y=5"}, {"[CONFIG]\r\nX=1\r\n\r\n", "OTHER/Y=5"},
    {"[CONFIG]\r\nX=1\r\n\r\n", "CONFIG/Y=5"},
    // Names in other case or with blanks, twice, foreign keys and comments kept.
    {"[config]\r\nx=1\r\n", "CONFIG/X=5"}, {"[config]\r\nx=1\r\n", "CONFIG/Y=5"},
    {C "X=1\r\n", "config/x=5"}, {"[ CONFIG ]\r\nX=1\r\n", "CONFIG/X=5"},
    {C "X=1\r\nX=2\r\n", "CONFIG/X=5"}, {"[CONFIG]\r\nY=1\r\n[CONFIG]\r\nX=1\r\n", "CONFIG/X=5"},
    {"[CONFIG]\r\nY=1\r\n[CONFIG]\r\n", "CONFIG/Z=5"},
    {"; top\r\n[CONFIG]\r\n; note = 1\r\nX=1\r\n# other\r\nFOREIGN=abc\r\n", "CONFIG/X=5"},
    {"; top\r\n[CONFIG]\r\n; note = 1\r\nX=1\r\n# other\r\nFOREIGN=abc\r\n", "CONFIG/Y=5"},
    {C "X\r\n", "CONFIG/X=5"}, {C "X = 1\r\n", "CONFIG/X=5"}, {"X=1\r\n", "CONFIG/X=5"},
    {"  [CONFIG]  \r\n  X  =  1  \r\n", "CONFIG/X=5"},
    // LF files, a last line without its end, a byte order mark.
    {"[CONFIG]\nX=1\n", "CONFIG/X=5"}, {"[CONFIG]\nX=1\n", "CONFIG/Y=5"},
    {"[CONFIG]\nX=1\n", "OTHER/Y=5"}, {"[CONFIG]\r\nX=1", "CONFIG/Y=5"},
    {"[CONFIG]\r\nX=1", "OTHER/Y=5"}, {"[CONFIG]", "CONFIG/Y=5"},
    {"\xEF\xBB\xBF[CONFIG]\r\nX=1\r\n", "CONFIG/X=5"}, {"\xEF\xBB\xBF", "CONFIG/X=5"},
};
// clang-format on

std::string_view Trim(std::string_view s) {
    const std::size_t begin = std::min(s.find_first_not_of(" \t\r"), s.size());
    return s.substr(begin, s.find_last_not_of(" \t\r") + 1 - begin);
}

// A file as Wine writes it back whole after any change: each line trimmed,
// blank lines left out, no blanks around a line's first '=' or in the
// brackets of a header, CR LF line ends. Windows keeps the lines it does not
// change as they are, and so do we.
std::string WineForm(std::string_view text) {
    std::string out(text.substr(0, text.starts_with("\xEF\xBB\xBF") ? 3 : 0));
    for (std::size_t at = out.size(), nl; at < text.size(); at = nl + 1) {
        nl = std::min(text.find('\n', at), text.size());
        const std::string_view line = Trim(text.substr(at, nl - at));
        const std::size_t close = line.find(']'), eq = line.find('=');
        if (line.empty()) continue;
        if (line.front() == '[' && close != line.npos)
            out.append("[").append(Trim(line.substr(1, close - 1))).append("]");
        else if (eq == line.npos)
            out.append(line);
        else
            out.append(Trim(line.substr(0, eq))).append("=").append(Trim(line.substr(eq + 1)));
        out.append("\r\n");
    }
    return out;
}

std::string Read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "(no file)";
}

// What a store answers: the number read, or the file after the write.
std::string Answer(ProfileStore& store, std::string_view what, const fs::path& file) {
    const std::size_t slash = what.find('/'), eq = what.find('=');
    const std::string_view section = what.substr(0, slash);
    const std::string_view key = what.substr(slash + 1, eq - slash - 1);
    if (eq == what.npos) return std::to_string(store.GetInt(section, key, 77));
    return store.WriteString(section, key, what.substr(eq + 1)) ? Read(file) : "(not written)";
}

class ProfileCompare : public ::testing::Test {
  protected:
    void SetUp() override { fs::create_directories(dir); }
    void TearDown() override { fs::remove_all(dir); }
    // The file for `who` in one case, as the case has it before.
    fs::path Put(const std::string& who, std::size_t i, const char* text) const {
        const fs::path file = dir / (who + std::to_string(i) + ".ini");
        if (text != nullptr) std::ofstream(file, std::ios::binary) << text;
        return file;
    }
    const fs::path dir =
        fs::temp_directory_path() / ("qm71-profile-" + std::to_string(GetCurrentProcessId()));
};

TEST_F(ProfileCompare, IniProfileStoreAnswersAsTheSystemDoes) {
    std::vector<std::string> files;
    for (const char* value : kValues) files.push_back(C "X=" + std::string(value) + "\r\n");
    std::vector<Case> cases(std::begin(kCases), std::end(kCases));
    for (const std::string& file : files) cases.push_back({file.c_str(), "CONFIG/X"});
    int alike = 0, rewritten = 0, kept = 0;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const fs::path theirsFile = Put("system", i, c.file), oursFile = Put("ours", i, c.file);
        Win32ProfileStore system(theirsFile.string());
        IniProfileStore ini(oursFile);
        const std::string theirs = Answer(system, c.what, theirsFile);
        const std::string ours = Answer(ini, c.what, oursFile);
        const bool wineRewrites = std::string_view(c.what).find('=') != std::string_view::npos &&
                                  c.file != nullptr && WineForm(c.file) != c.file;
        if (c.ours != nullptr) {
            EXPECT_EQ(ours, c.ours) << "case " << i;
            ++kept;
        } else {
            EXPECT_EQ(theirs, wineRewrites ? WineForm(ours) : ours) << "case " << i;
            ++(wineRewrites ? rewritten : alike);
        }
    }
    std::printf(
        "profile comparison: %zu cases: %d alike byte for byte, %d alike after Wine's "
        "rewrite of the file, %d where we keep our own answer\n",
        cases.size(), alike, rewritten, kept);
}
#undef C

TEST_F(ProfileCompare, Win32StoreSaysWhereAndWhyAWriteFailed) {
    fs::create_directory(dir / "folder.ini");
    for (const fs::path& file : {dir / "folder.ini", dir / "none" / "qm71.ini"}) {
        Win32ProfileStore store(file.string());
        EXPECT_FALSE(store.WriteString("CONFIG", "X", "1")) << file;
        EXPECT_EQ(store.LastWriteFailure().folder, file.parent_path().string());
        EXPECT_EQ(store.LastWriteFailure().reason.find_first_of(".\r\n"), std::string::npos);
        EXPECT_NE(store.LastWriteFailure().reason, "");
    }
    // The programs' file: a bare name, in the Windows folder, or in the
    // folder they are given. A line break is no value.
    const std::string name = "qm71-test-" + std::to_string(GetCurrentProcessId()) + ".ini";
    const std::string folder = dir.string();
    for (const char* configDir : {static_cast<const char*>(nullptr), folder.c_str()}) {
        const auto store = MakeSettingsStore(name, configDir);
        ASSERT_TRUE(store->WriteString("CONFIG", "X", "1"));
        EXPECT_FALSE(store->WriteString("CONFIG", "X", "2\r\n[EVIL]"));
        EXPECT_EQ(store->LastWriteFailure().folder == folder, configDir != nullptr);
        const fs::path written = fs::path(store->LastWriteFailure().folder) / name;
        EXPECT_EQ(Read(written), "[CONFIG]\r\nX=1\r\n");
        fs::remove(written);
    }
}

}  // namespace
}  // namespace qm71
