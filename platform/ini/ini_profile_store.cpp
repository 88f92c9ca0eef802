#include "platform/ini/ini_profile_store.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>
#include <system_error>
#include <utility>

#include "platform/atomic_file.h"
#include "platform/ini/profile_text.h"

namespace qm71 {
namespace fs = std::filesystem;

namespace {

// Reads the whole file. Returns 0, ENOENT when neither the file nor its folder
// exists, or what else stopped the reading.
int ReadText(const fs::path& file, std::string& text) {
    text.clear();
    std::error_code ec;
    const fs::file_status status = fs::status(file, ec);
    if (status.type() == fs::file_type::not_found) return ENOENT;
    if (ec) return ec.value();
    if (fs::is_directory(status)) return EISDIR;

    errno = 0;
    std::FILE* f = std::fopen(file.string().c_str(), "rb");
    if (f == nullptr) return errno != 0 ? errno : EIO;
    char buffer[8192];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    return failed ? EIO : 0;
}

const char* NonEmptyEnv(const char* name) {
    const char* value = std::getenv(name);
    return (value != nullptr && *value != '\0') ? value : nullptr;
}

}  // namespace

IniProfileStore::IniProfileStore(fs::path file) : file_(std::move(file)) {}

int IniProfileStore::GetInt(std::string_view section, std::string_view key, int defaultValue) {
    std::string text;
    if (ReadText(file_, text) != 0) return defaultValue;
    const std::optional<std::string> value = ProfileValue(text, section, key);
    if (!value || value->empty()) return defaultValue;
    return ParseProfileInt(*value);
}

bool IniProfileStore::WriteString(std::string_view section, std::string_view key,
                                  std::string_view value) {
    writeError_ = Write(section, key, value);
    return writeError_.empty();
}

ProfileStore::WriteFailure IniProfileStore::LastWriteFailure() const {
    const fs::path folder = WrittenFile(file_).parent_path();
    return {folder.empty() ? std::string(".") : folder.string(), writeError_};
}

std::string IniProfileStore::Write(std::string_view section, std::string_view key,
                                   std::string_view value) {
    const fs::path target = WrittenFile(file_);
    std::string old;
    const int read = ReadText(target, old);
    // A file we cannot read is never overwritten: its settings would be lost.
    if (read != 0 && read != ENOENT)
        return "cannot read the existing file: " + std::generic_category().message(read);

    const std::optional<std::string> text = ProfileTextWithValue(old, section, key, value);
    if (!text) return "the entry cannot be stored in a settings file";
    if (read == 0 && *text == old) return {};

    if (read == ENOENT && target.has_parent_path()) {
        std::error_code ec;
        fs::create_directories(target.parent_path(), ec);
        if (ec) return ec.message();
    }
    const ByteSpan parts[] = {std::as_bytes(std::span(*text))};
    return WriteWholeFile(target, parts, WriteMode::kReplace).reason;
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
