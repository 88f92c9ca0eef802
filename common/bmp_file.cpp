#include "common/bmp_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace qm71 {

namespace fs = std::filesystem;

std::array<std::byte, kBitmapFileHeaderSize> BitmapFileHeader(
    std::uint32_t infoAndTableAndPixelsSize, std::uint32_t pixelOffset) {
    std::array<std::byte, kBitmapFileHeaderSize> h{};
    const auto put32 = [&h](std::size_t at, std::uint32_t v) {
        for (std::size_t i = 0; i < 4; ++i)
            h[at + i] = static_cast<std::byte>((v >> (8 * i)) & 0xFF);
    };
    h[0] = std::byte{'B'};
    h[1] = std::byte{'M'};
    put32(2, static_cast<std::uint32_t>(kBitmapFileHeaderSize) + infoAndTableAndPixelsSize);
    put32(6, 0);  // both reserved words
    put32(10, pixelOffset);
    return h;
}

namespace {

SaveResult Failed(int err) {
    return {SaveStatus::kFailed, std::generic_category().message(err)};
}
SaveResult Written() {
    return {SaveStatus::kWritten, {}};
}
SaveResult NameTaken() {
    return {SaveStatus::kNameTaken, {}};
}

fs::path FolderOf(const fs::path& target) {
    fs::path dir = target.parent_path();
    return dir.empty() ? fs::path(".") : dir;
}

// Writes every byte or reports why not; a short write is retried until the
// system gives an error (a full disk reports ENOSPC on the next call).
int WriteAll(int fd, ByteSpan bytes) {
    const std::byte* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (n == 0) return EIO;
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return 0;
}

// A hidden file beside the target that holds the bytes until they are complete.
// Removes itself unless it was handed over to its final name.
class TempFile {
  public:
    TempFile() = default;
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile() { Discard(); }

    // Creates the file with a name no other file has. The mode goes through the
    // umask like that of any newly created file.
    int Create(const fs::path& target) {
        static unsigned counter = 0;
        // A long target name is cut so that the temporary name still fits the
        // file system's limit on a name.
        const std::string base = "." + target.filename().string().substr(0, 200) + ".tmp" +
                                 std::to_string(static_cast<long>(::getpid())) + "-";
        for (int attempt = 0; attempt < 100; ++attempt) {
            path_ = FolderOf(target) / (base + std::to_string(counter++));
            fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd_ >= 0) return 0;
            if (errno != EEXIST) {
                const int err = errno;
                path_.clear();
                return err;
            }
        }
        path_.clear();
        return EEXIST;
    }

    // Writes the pieces and makes sure they are on the disk before the file
    // gets its name.
    int Fill(std::span<const ByteSpan> parts) {
        for (ByteSpan part : parts) {
            if (const int err = WriteAll(fd_, part)) return err;
        }
        if (::fsync(fd_) != 0) return errno;
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) return errno;
        return 0;
    }

    const fs::path& path() const { return path_; }
    // The file now lives on under another name (rename) or a second one (link).
    void Release() { path_.clear(); }

    void Discard() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
        if (!path_.empty()) ::unlink(path_.c_str());
        path_.clear();
    }

  private:
    fs::path path_;
    int fd_ = -1;
};

// Makes a rename or link in the folder itself durable. Best effort: some file
// systems refuse fsync on a folder, and the file's bytes are safe already.
void SyncFolder(const fs::path& target) {
    const int fd = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    (void)::fsync(fd);
    ::close(fd);
}

bool NameInUse(const fs::path& target) {
    struct stat st {};
    return ::lstat(target.c_str(), &st) == 0;
}

// Errors of link(2) that mean "this file system has no hard links" rather
// than "this cannot be done here".
bool NoHardLinks(int err) {
    return err == EPERM || err == ENOTSUP || err == EOPNOTSUPP || err == ENOSYS;
}

SaveResult ClaimByCreateThenRename(const fs::path& target, TempFile& temp) {
    const int claim = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (claim < 0) return errno == EEXIST ? NameTaken() : Failed(errno);
    ::close(claim);
    // The name is ours (an empty file); replace it with the complete one.
    if (::rename(temp.path().c_str(), target.c_str()) != 0) {
        const int err = errno;
        ::unlink(target.c_str());
        return Failed(err);
    }
    temp.Release();
    SyncFolder(target);
    return Written();
}

}  // namespace

SaveResult WriteBitmapFile(const fs::path& target, ByteSpan header14, ByteSpan body) {
    const ByteSpan parts[] = {header14, body};
    return WriteBitmapFile(target, parts);
}

SaveResult WriteBitmapFile(const fs::path& target, std::span<const ByteSpan> parts) {
    if (target.filename().empty()) return Failed(EISDIR);
    TempFile temp;
    if (const int err = temp.Create(target)) return Failed(err);
    if (const int err = temp.Fill(parts)) return Failed(err);
    if (::rename(temp.path().c_str(), target.c_str()) != 0) return Failed(errno);
    temp.Release();
    SyncFolder(target);
    return Written();
}

SaveResult CreateBitmapFileExclusive(const fs::path& target, std::span<const ByteSpan> parts) {
    return detail::CreateBitmapFileExclusive(target, parts, detail::ClaimMethod::kLink);
}

namespace detail {

SaveResult CreateBitmapFileExclusive(const fs::path& target, std::span<const ByteSpan> parts,
                                     ClaimMethod method) {
    if (target.filename().empty()) return Failed(EISDIR);
    // Cheap early answer, so that skipping taken numbers writes nothing. The
    // claim below is what guarantees that no file is overwritten.
    if (NameInUse(target)) return NameTaken();

    TempFile temp;
    if (const int err = temp.Create(target)) return Failed(err);
    if (const int err = temp.Fill(parts)) return Failed(err);

    if (method == ClaimMethod::kLink) {
        // link(2) gives the complete file its name only if the name is free,
        // so no one ever sees a partial file under it.
        if (::link(temp.path().c_str(), target.c_str()) == 0) {
            temp.Discard();  // drops the temporary name; the file stays under `target`
            SyncFolder(target);
            return Written();
        }
        if (errno == EEXIST) return NameTaken();
        if (!NoHardLinks(errno)) return Failed(errno);
    }
    return ClaimByCreateThenRename(target, temp);
}

}  // namespace detail

}  // namespace qm71
