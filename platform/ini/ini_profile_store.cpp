#include "platform/ini/ini_profile_store.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <system_error>
#include <utility>

#include "platform/ini/profile_text.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace qm71 {
namespace fs = std::filesystem;

namespace {

enum class ReadResult { kRead, kMissing, kFailed };

// Reads the whole file. A file that does not exist (nor its folder) is
// "missing", anything else that stops reading is a failure.
ReadResult ReadText(const fs::path& file, std::string& text) {
    text.clear();
    std::error_code ec;
    const fs::file_status status = fs::status(file, ec);
    if (status.type() == fs::file_type::not_found) return ReadResult::kMissing;
    if (ec || fs::is_directory(status)) return ReadResult::kFailed;

    std::FILE* f = std::fopen(file.string().c_str(), "rb");
    if (f == nullptr) return ReadResult::kFailed;
    char buffer[8192];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    return failed ? ReadResult::kFailed : ReadResult::kRead;
}

// A fresh name for the temporary file beside `target`. Short enough to be a
// valid file name whatever the length of the target's name.
fs::path TemporaryNameBeside(const fs::path& target, unsigned attempt) {
    static std::mt19937 generator{[] {
        try {
            return std::random_device{}();
        } catch (...) {
            return 0x9e3779b9u;
        }
    }()};
    const unsigned long tag = generator() ^ attempt;
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, ".%08lx.tmp", tag & 0xffffffffUL);
    std::string name = "." + target.filename().string().substr(0, 64) + suffix;
    return target.parent_path() / name;
}

// Writes `text` to a new temporary file beside `target`, flushed to the disk,
// and renames it over `target`. On failure the temporary file is removed and
// `target` is left as it was.
bool ReplaceFile(const fs::path& target, const std::string& text,
                 std::optional<fs::perms> keepPermissions) {
    fs::path temporary;
    std::FILE* f = nullptr;
    for (unsigned attempt = 0; attempt < 16 && f == nullptr; ++attempt) {
        temporary = TemporaryNameBeside(target, attempt);
        // "x": never take over a file someone else has just created.
        f = std::fopen(temporary.string().c_str(), "wbx");
    }
    if (f == nullptr) return false;

    bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    ok = std::fflush(f) == 0 && ok;
#ifndef _WIN32
    // Without this a crash soon after the rename could leave an empty file.
    ok = ::fsync(::fileno(f)) == 0 && ok;
#endif
    ok = std::fclose(f) == 0 && ok;

    std::error_code ec;
    if (ok && keepPermissions) fs::permissions(temporary, *keepPermissions, ec);
    if (ok) {
        fs::rename(temporary, target, ec);
        ok = !ec;
    }
    if (!ok) fs::remove(temporary, ec);
    return ok;
}

// The file a write has to replace: for a symbolic link the file it points to,
// so that the link survives.
fs::path ResolveLink(const fs::path& file) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(file, ec))) return file;
    fs::path resolved = fs::weakly_canonical(file, ec);
    return ec ? file : resolved;
}

const char* NonEmptyEnv(const char* name) {
    const char* value = std::getenv(name);
    return (value != nullptr && *value != '\0') ? value : nullptr;
}

}  // namespace

IniProfileStore::IniProfileStore(fs::path file) : file_(std::move(file)) {}

int IniProfileStore::GetInt(std::string_view section, std::string_view key, int defaultValue) {
    std::string text;
    if (ReadText(file_, text) != ReadResult::kRead) return defaultValue;
    const std::optional<std::string> value = ProfileValue(text, section, key);
    if (!value || value->empty()) return defaultValue;
    return ParseProfileInt(*value);
}

bool IniProfileStore::WriteString(std::string_view section, std::string_view key,
                                  std::string_view value) {
    errno = 0;
    const bool ok = Write(section, key, value);
    writeError_ = ok ? std::string() : std::generic_category().message(errno ? errno : EIO);
    return ok;
}

ProfileStore::WriteFailure IniProfileStore::LastWriteFailure() const {
    const fs::path folder = ResolveLink(file_).parent_path();
    return {folder.empty() ? std::string(".") : folder.string(), writeError_};
}

bool IniProfileStore::Write(std::string_view section, std::string_view key,
                            std::string_view value) {
    const fs::path target = ResolveLink(file_);
    std::string old;
    const ReadResult read = ReadText(target, old);
    // A file we cannot read is never overwritten: its settings would be lost.
    if (read == ReadResult::kFailed) return false;

    const std::optional<std::string> text = ProfileTextWithValue(old, section, key, value);
    if (!text) return false;
    if (read == ReadResult::kRead && *text == old) return true;

    std::error_code ec;
    std::optional<fs::perms> permissions;
    if (read == ReadResult::kRead) {
        const fs::file_status status = fs::status(target, ec);
        if (!ec) permissions = status.permissions();
    } else if (target.has_parent_path()) {
        fs::create_directories(target.parent_path(), ec);
        if (ec) return false;
    }
    return ReplaceFile(target, *text, permissions);
}

fs::path ConfigDirectory() {
    if (const char* dir = NonEmptyEnv("QM71_CONFIG_DIR")) return fs::path(dir);
    if (const char* xdg = NonEmptyEnv("XDG_CONFIG_HOME")) return fs::path(xdg) / "qm71";
    if (const char* home = NonEmptyEnv("HOME")) return fs::path(home) / ".config" / "qm71";
    std::error_code ec;
    fs::path current = fs::current_path(ec);
    return ec ? fs::path(".") : current;
}

}  // namespace qm71
