#include "platform/atomic_file.h"

#include <windows.h>

#include <string>

#include "platform/win32/system_message.h"

namespace qm71 {

namespace fs = std::filesystem;

namespace {

// A failure with the system's own words for `err` ("There is not enough space
// on the disk").
WriteResult Failed(DWORD err) {
    return {WriteStatus::kFailed, SystemMessage(err)};
}
WriteResult LastFailed() {
    return Failed(::GetLastError());
}
WriteResult Written() {
    return {WriteStatus::kWritten, {}};
}

constexpr DWORD kNoFile = INVALID_FILE_ATTRIBUTES;

// The attributes of the file at `path`, kNoFile when there is none; any other
// reason not to know them is left in `err`.
DWORD AttributesOf(const fs::path& path, DWORD& err) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    err = attributes == kNoFile ? ::GetLastError() : ERROR_SUCCESS;
    if (err == ERROR_FILE_NOT_FOUND) err = ERROR_SUCCESS;
    return attributes;
}

// A hidden file beside the target that holds the bytes until they are
// complete. Removes itself unless it was handed over to the target's name.
class TempFile {
  public:
    TempFile() = default;
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile() { Discard(); }

    // Creates the file with a name no other file has; 0 or the reason.
    DWORD Create(const fs::path& target) {
        static unsigned counter = 0;
        const std::wstring base = L"." + target.filename().wstring().substr(0, 200) + L".tmp" +
                                  std::to_wstring(::GetCurrentProcessId()) + L"-";
        for (int attempt = 0; attempt < 100; ++attempt) {
            path_ = target.parent_path() / (base + std::to_wstring(counter++));
            handle_ = ::CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_HIDDEN, nullptr);
            if (handle_ != INVALID_HANDLE_VALUE) return ERROR_SUCCESS;
            if (::GetLastError() != ERROR_FILE_EXISTS) break;
        }
        const DWORD err = ::GetLastError();
        path_.clear();
        return err;
    }

    // Writes the pieces, gives the file the attributes it is to have under its
    // name (`attributes`, or those of a new file) and makes sure it is on the
    // disk before it gets the name; 0 or the reason.
    DWORD Fill(std::span<const ByteSpan> parts, DWORD attributes) {
        for (ByteSpan part : parts) {
            const std::byte* p = part.data();
            std::size_t left = part.size();
            while (left > 0) {
                const DWORD chunk = left > (1u << 30) ? (1u << 30) : static_cast<DWORD>(left);
                DWORD written = 0;
                if (!::WriteFile(handle_, p, chunk, &written, nullptr)) return ::GetLastError();
                if (written == 0) return ERROR_WRITE_FAULT;
                p += written;
                left -= written;
            }
        }
        constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
        FILE_BASIC_INFO info{};  // zero times: left as they are
        info.FileAttributes = attributes == kNoFile ? 0 : attributes & kKept;
        if (info.FileAttributes == 0) info.FileAttributes = FILE_ATTRIBUTE_NORMAL;
        if (!::SetFileInformationByHandle(handle_, FileBasicInfo, &info, sizeof info) ||
            !::FlushFileBuffers(handle_))
            return ::GetLastError();
        const HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return ::CloseHandle(handle) ? ERROR_SUCCESS : ::GetLastError();
    }

    const fs::path& path() const { return path_; }
    // The file now lives on under the target's name.
    void Release() { path_.clear(); }

    void Discard() {
        if (handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
        if (!path_.empty()) ::DeleteFileW(path_.c_str());
        path_.clear();
    }

  private:
    fs::path path_;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// Gives the complete temporary file the name of a file that is not there.
bool MoveIntoPlace(TempFile& temp, const fs::path& target) {
    if (!::MoveFileExW(temp.path().c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return false;
    temp.Release();
    return true;
}

WriteResult Replace(const fs::path& target, std::span<const ByteSpan> parts) {
    DWORD err = ERROR_SUCCESS;
    DWORD old = AttributesOf(target, err);
    if (err != ERROR_SUCCESS) return Failed(err);
    // Windows replaces neither a read-only file nor a folder; both are refused
    // with its words for it before megabytes are written.
    if (old != kNoFile && (old & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))
        return Failed(ERROR_ACCESS_DENIED);
    // A symbolic link (a reparse point) is replaced as a name; see WrittenFile.
    if (old != kNoFile && (old & FILE_ATTRIBUTE_REPARSE_POINT)) old = kNoFile;

    TempFile temp;
    if (const DWORD e = temp.Create(target)) return Failed(e);
    if (const DWORD e = temp.Fill(parts, old)) return Failed(e);
    if (old == kNoFile) return MoveIntoPlace(temp, target) ? Written() : LastFailed();
    // ReplaceFileW keeps what belongs to the file rather than to its bytes:
    // its security, its creation time, its short name and its streams. On
    // failure without a backup name both files keep their names.
    if (::ReplaceFileW(target.c_str(), temp.path().c_str(), nullptr,
                       REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
        temp.Release();
        return Written();
    }
    // The old file went away in the meantime: the new one takes the free name.
    if (::GetLastError() == ERROR_FILE_NOT_FOUND && MoveIntoPlace(temp, target)) return Written();
    return LastFailed();
}

WriteResult CreateNew(const fs::path& target, std::span<const ByteSpan> parts) {
    // Cheap early answer, so that skipping taken numbers writes nothing. The
    // claim below is what guarantees that nothing is overwritten.
    DWORD err = ERROR_SUCCESS;
    if (AttributesOf(target, err) != kNoFile) return {WriteStatus::kNameTaken, {}};
    if (err != ERROR_SUCCESS) return Failed(err);

    TempFile temp;
    if (const DWORD e = temp.Create(target)) return Failed(e);
    if (const DWORD e = temp.Fill(parts, kNoFile)) return Failed(e);
    // The name is claimed with an empty file that only a free name gives, then
    // the complete file is moved over it.
    const HANDLE claim = ::CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (claim == INVALID_HANDLE_VALUE) {
        err = ::GetLastError();
        if (err == ERROR_FILE_EXISTS || err == ERROR_ALREADY_EXISTS)
            return {WriteStatus::kNameTaken, {}};
        return Failed(err);
    }
    ::CloseHandle(claim);
    if (MoveIntoPlace(temp, target)) return Written();
    err = ::GetLastError();
    ::DeleteFileW(target.c_str());
    return Failed(err);
}

}  // namespace

WriteResult WriteWholeFile(const fs::path& target, std::span<const ByteSpan> parts,
                           WriteMode mode) {
    if (target.filename().empty()) return Failed(ERROR_ACCESS_DENIED);  // a folder
    return mode == WriteMode::kReplace ? Replace(target, parts) : CreateNew(target, parts);
}

// Symbolic links are not followed on Windows: making one takes a privilege an
// ordinary user does not have, so settings and pictures live in plain files,
// and the rename calls replace a link as a name. The file written is the one
// named.
fs::path WrittenFile(const fs::path& target) {
    return target;
}

}  // namespace qm71
