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

#include "platform/ini/ini_profile_store.h"
#include "platform/win32/win32_profile_store.h"

namespace qm71 {
namespace {
namespace fs = std::filesystem;

struct Case {
    const char* file;  // the file before; null: there is none
    const char* section;
    const char* key;
    const char* write;  // the value written; null: the key is read with the default 77
    // Where we keep our own answer, IniProfileStore's (the number read, or
    // the file written); see the rows for why.
    const char* ours = nullptr;
};

#define C "[CONFIG]\r\n"
const Case kCases[] = {
    // Integers.
    {C "X=128\r\n", "CONFIG", "X", nullptr},
    {C "X=-7\r\n", "CONFIG", "X", nullptr},
    {C "X=+42\r\n", "CONFIG", "X", nullptr},
    {C "X=0x10\r\n", "CONFIG", "X", nullptr},
    {C "X=0X10\r\n", "CONFIG", "X", nullptr},
    {C "X=0xfF\r\n", "CONFIG", "X", nullptr},
    {C "X=-0x10\r\n", "CONFIG", "X", nullptr},
    {C "X=0b101\r\n", "CONFIG", "X", nullptr},
    {C "X=0B101\r\n", "CONFIG", "X", nullptr},
    {C "X=0o17\r\n", "CONFIG", "X", nullptr},
    {C "X=0O17\r\n", "CONFIG", "X", nullptr},
    {C "X=017\r\n", "CONFIG", "X", nullptr},
    {C "X=0x\r\n", "CONFIG", "X", nullptr},
    {C "X=0b\r\n", "CONFIG", "X", nullptr},
    {C "X=0b12\r\n", "CONFIG", "X", nullptr},
    {C "X=0o18\r\n", "CONFIG", "X", nullptr},
    {C "X=0xg\r\n", "CONFIG", "X", nullptr},
    {C "X=12abc\r\n", "CONFIG", "X", nullptr},
    {C "X=abc\r\n", "CONFIG", "X", nullptr},
    {C "X=-\r\n", "CONFIG", "X", nullptr},
    {C "X=--5\r\n", "CONFIG", "X", nullptr},
    {C "X=+-5\r\n", "CONFIG", "X", nullptr},
    {C "X=1 2\r\n", "CONFIG", "X", nullptr},
    {C "X=- 5\r\n", "CONFIG", "X", nullptr},
    {C "X=2147483647\r\n", "CONFIG", "X", nullptr},
    {C "X=2147483648\r\n", "CONFIG", "X", nullptr},
    {C "X=4294967295\r\n", "CONFIG", "X", nullptr},
    {C "X=4294967296\r\n", "CONFIG", "X", nullptr},
    {C "X=-4294967297\r\n", "CONFIG", "X", nullptr},
    {C "X=0x123456789\r\n", "CONFIG", "X", nullptr},
    {C "X=18446744073709551617\r\n", "CONFIG", "X", nullptr},
    // Wine reads only the first 29 characters of a value, so these would
    // read as other numbers: 0 for the 12 padded with zeros.
    {C "X=123456789012345678901234567890123\r\n", "CONFIG", "X", nullptr, "-1505606453"},
    {C "X=000000000000000000000000000000000012\r\n", "CONFIG", "X", nullptr, "12"},
    {C "X= \t 5\r\n", "CONFIG", "X", nullptr},
    {C "X=5 \t \r\n", "CONFIG", "X", nullptr},
    {C "X=\x01\x02"
       "5\r\n",
     "CONFIG", "X", nullptr},
    {C "X=\r\n", "CONFIG", "X", nullptr},
    {C "X=\"12\"\r\n", "CONFIG", "X", nullptr},
    {C "X='12'\r\n", "CONFIG", "X", nullptr},
    {C "X=\"12\r\n", "CONFIG", "X", nullptr},
    {C "X=\"12'\r\n", "CONFIG", "X", nullptr},
    {C "X=\" 12\"\r\n", "CONFIG", "X", nullptr},
    // Finding the key.
    {nullptr, "CONFIG", "X", nullptr},
    {"", "CONFIG", "X", nullptr},
    {"[OTHER]\r\nX=5\r\n", "CONFIG", "X", nullptr},
    {C "Y=5\r\n", "CONFIG", "X", nullptr},
    {"[config]\r\nx=5\r\n", "CONFIG", "X", nullptr},
    {"  [CONFIG]  \r\n  X  =  5  \r\n", "CONFIG", "X", nullptr},
    {"\t[CONFIG]\t\r\n\tX\t=\t5\t\r\n", "CONFIG", "X", nullptr},
    {"[ CONFIG ]\r\nX=5\r\n", "CONFIG", "X", nullptr},
    {"[CONFIG] ; note\r\nX=5\r\n", "CONFIG", "X", nullptr},
    {"[CONFIG\r\nX=5\r\n", "CONFIG", "X", nullptr},
    {"[CONFIG]\r\nY=1\r\n[OTHER]\r\nX=1\r\n[CONFIG]\r\nX=5\r\n", "CONFIG", "X", nullptr},
    {C "X=1\r\nX=2\r\n", "CONFIG", "X", nullptr},
    {C ";X=1\r\nX=5\r\n", "CONFIG", "X", nullptr},
    {C "#X=1\r\nX=5\r\n", "CONFIG", "X", nullptr},
    {C "; X=1\r\n", "CONFIG", "X", nullptr},
    {C "X\r\n", "CONFIG", "X", nullptr},
    {C "X Y=5\r\n", "CONFIG", "X", nullptr},
    {C "=5\r\n", "CONFIG", "", nullptr},
    {"X=5\r\n[CONFIG]\r\n", "CONFIG", "X", nullptr},
    {"X=5\r\n[]\r\nX=6\r\n", "", "X", nullptr},
    {"[]\r\nX=5\r\n", "", "X", nullptr},
    {"[CONFIG]\nX=5\n", "CONFIG", "X", nullptr},
    {"[CONFIG]\r\nX=5", "CONFIG", "X", nullptr},
    // Wine takes a lone CR for a line end where no LF follows in the file.
    {"[CONFIG]\rX=5\r", "CONFIG", "X", nullptr, "77"},
    {"\xEF\xBB\xBF[CONFIG]\r\nX=5\r\n", "CONFIG", "X", nullptr},
    {"[CONFIG]\r\n\r\n\r\nX=5\r\n", "CONFIG", "X", nullptr},
    // Writing.
    {nullptr, "CONFIG", "X", "5"},
    {"", "CONFIG", "X", "5"},
    {C "X=1\r\n", "CONFIG", "X", "5"},
    {C "X=5\r\n", "CONFIG", "X", "5"},
    {C "X=1\r\n", "CONFIG", "X", ""},
    {C "X=1\r\n", "CONFIG", "X", "-2147483648"},
    {C "X=1\r\n", "CONFIG", "Y", "5"},
    {C "X=1\r\n", "OTHER", "Y", "5"},
    {C "X=1\r\n[OTHER]\r\nZ=2\r\n", "CONFIG", "Y", "5"},
    {C "X=1\r\n\r\n[OTHER]\r\nZ=2\r\n", "CONFIG", "Y", "5"},
    {C "X=1\r\n; end\r\n\r\n[OTHER]\r\nZ=2\r\n", "CONFIG", "Y", "5"},
    {C "; only a comment\r\n", "CONFIG", "Y", "5"},
    {"[config]\r\nx=1\r\n", "CONFIG", "X", "5"},
    {"[config]\r\nx=1\r\n", "CONFIG", "Y", "5"},
    {"[ CONFIG ]\r\nX=1\r\n", "CONFIG", "X", "5"},
    {"[CONFIG] ; note\r\nX=1\r\n", "CONFIG", "Y", "5"},
    {C "X=1\r\n", "config", "x", "5"},
    {C "X=1\r\nX=2\r\n", "CONFIG", "X", "5"},
    {"[CONFIG]\r\nY=1\r\n[CONFIG]\r\nX=1\r\n", "CONFIG", "X", "5"},
    {"[CONFIG]\r\nY=1\r\n[CONFIG]\r\nX=1\r\n", "CONFIG", "Z", "5"},
    {"; top\r\n[CONFIG]\r\n; note = 1\r\nX=1\r\n# other\r\nFOREIGN=abc\r\n", "CONFIG", "X", "5"},
    {"; top\r\n[CONFIG]\r\n; note = 1\r\nX=1\r\n# other\r\nFOREIGN=abc\r\n", "CONFIG", "Y", "5"},
    {C "X\r\n", "CONFIG", "X", "5"},
    {C "X = 1\r\n", "CONFIG", "X", "5"},
    {"  [CONFIG]  \r\n  X  =  1  \r\n", "CONFIG", "X", "5"},
    {"[CONFIG]\nX=1\n", "CONFIG", "X", "5"},
    {"[CONFIG]\nX=1\n", "CONFIG", "Y", "5"},
    {"[CONFIG]\nX=1\n", "OTHER", "Y", "5"},
    {"[CONFIG]\r\nX=1", "CONFIG", "Y", "5"},
    {"[CONFIG]\r\nX=1", "OTHER", "Y", "5"},
    {"[CONFIG]", "CONFIG", "Y", "5"},
    {"[CONFIG]\r\nX=1\r\n\r\n", "OTHER", "Y", "5"},
    {"[CONFIG]\r\nX=1\r\n\r\n", "CONFIG", "Y", "5"},
    {"\xEF\xBB\xBF[CONFIG]\r\nX=1\r\n", "CONFIG", "X", "5"},
    {"\xEF\xBB\xBF", "CONFIG", "X", "5"},
    {"X=1\r\n", "CONFIG", "X", "5"},
};
#undef C

// A fresh folder for the files of one test.
class ProfileFiles {
  public:
    ProfileFiles() {
        dir_ =
            fs::temp_directory_path() / ("qm71-profile-" + std::to_string(GetCurrentProcessId()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    ~ProfileFiles() { fs::remove_all(dir_); }
    fs::path Put(const std::string& name, const char* text) const {
        if (text != nullptr) std::ofstream(dir_ / name, std::ios::binary) << text;
        return dir_ / name;
    }
    static std::string Get(const fs::path& file) {
        if (!fs::exists(file)) return "(no file)";
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    const fs::path& Path() const { return dir_; }

  private:
    fs::path dir_;
};

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// A file as Wine writes it back whole after any change: each line trimmed,
// blank lines left out, no blanks around a line's first '=', CR LF line ends.
// Windows keeps the lines it does not change as they are, and so do we.
std::string WineForm(std::string_view text) {
    std::string out;
    if (text.starts_with("\xEF\xBB\xBF")) {
        out = text.substr(0, 3);
        text.remove_prefix(3);
    }
    while (!text.empty()) {
        const std::size_t nl = std::min(text.find('\n'), text.size());
        std::string_view line = Trim(text.substr(0, nl));
        text.remove_prefix(std::min(nl + 1, text.size()));
        if (line.empty()) continue;
        const std::size_t close = line.find(']');
        const std::size_t eq = line.find('=');
        if (line.front() == '[' && close != std::string_view::npos)
            out.append("[").append(Trim(line.substr(1, close - 1))).append("]");
        else if (eq == std::string_view::npos)
            out.append(line);
        else
            out.append(Trim(line.substr(0, eq))).append("=").append(Trim(line.substr(eq + 1)));
        out.append("\r\n");
    }
    return out;
}

// What a store answers: the number read, or the file after the write.
std::string Answer(ProfileStore& store, const Case& c, const fs::path& file) {
    if (c.write == nullptr) return std::to_string(store.GetInt(c.section, c.key, 77));
    return store.WriteString(c.section, c.key, c.write) ? ProfileFiles::Get(file) : "(not written)";
}

TEST(ProfileCompare, IniProfileStoreAnswersAsTheSystemDoes) {
    ProfileFiles files;
    int alike = 0, rewritten = 0, kept = 0;
    for (std::size_t i = 0; i < std::size(kCases); ++i) {
        const Case& c = kCases[i];
        const std::string name = std::to_string(i) + ".ini";
        const fs::path theirsFile = files.Put("system" + name, c.file);
        const fs::path oursFile = files.Put("ours" + name, c.file);
        Win32ProfileStore system(theirsFile.string());
        IniProfileStore ini(oursFile);
        const std::string theirs = Answer(system, c, theirsFile);
        const std::string ours = Answer(ini, c, oursFile);
        if (c.ours != nullptr) {
            ++kept;
            EXPECT_EQ(ours, c.ours) << "case " << i;
            continue;
        }
        const bool wineRewrites =
            c.write != nullptr && c.file != nullptr && WineForm(c.file) != c.file;
        ++(wineRewrites ? rewritten : alike);
        EXPECT_EQ(theirs, wineRewrites ? WineForm(ours) : ours) << "case " << i;
    }
    std::printf(
        "profile comparison: %zu cases: %d alike byte for byte, %d alike after Wine's "
        "rewrite of the file, %d where we keep our own answer\n",
        std::size(kCases), alike, rewritten, kept);
}

TEST(Win32ProfileStore, FailedWriteNamesTheFolderAndTheSystemsReason) {
    ProfileFiles files;
    fs::create_directory(files.Path() / "folder.ini");
    for (const fs::path& file : {files.Path() / "folder.ini", files.Path() / "none" / "qm71.ini"}) {
        Win32ProfileStore store(file.string());
        EXPECT_FALSE(store.WriteString("CONFIG", "X", "1")) << file;
        const ProfileStore::WriteFailure failure = store.LastWriteFailure();
        EXPECT_EQ(failure.folder, file.parent_path().string());
        ASSERT_FALSE(failure.reason.empty());
        EXPECT_NE(failure.reason.back(), '\n');
    }

    // A bare name is a file in the Windows folder; a line break is no value.
    const std::string name = "qm71-test-" + std::to_string(GetCurrentProcessId()) + ".ini";
    Win32ProfileStore bare(name);
    ASSERT_TRUE(bare.WriteString("CONFIG", "X", "1"));
    EXPECT_EQ(bare.LastWriteFailure().reason, "");
    const fs::path written = fs::path(bare.LastWriteFailure().folder) / name;
    EXPECT_FALSE(bare.WriteString("CONFIG", "X", "2\r\n[EVIL]"));
    EXPECT_EQ(ProfileFiles::Get(written), "[CONFIG]\r\nX=1\r\n");
    fs::remove(written);
}

}  // namespace
}  // namespace qm71
