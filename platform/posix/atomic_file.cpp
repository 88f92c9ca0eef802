#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <system_error>

namespace qm71 {

namespace fs = std::filesystem;

namespace {

WriteResult Failed(int err) {
    return {WriteStatus::kFailed, std::generic_category().message(err)};
}
WriteResult Written() {
    return {WriteStatus::kWritten, {}};
}
WriteResult NameTaken() {
    return {WriteStatus::kNameTaken, {}};
}

fs::path FolderOf(const fs::path& file) {
    fs::path dir = file.parent_path();
    return dir.empty() ? fs::path(".") : dir;
}

std::size_t TotalSize(std::span<const ByteSpan> parts) {
    std::size_t total = 0;
    for (ByteSpan part : parts) total += part.size();
    return total;
}

// Writes every byte or says why not; a short write is retried until the
// system gives an error (a full disk reports ENOSPC on the next call).
int WriteAll(int fd, std::span<const ByteSpan> parts) {
    for (ByteSpan part : parts) {
        const std::byte* p = part.data();
        std::size_t left = part.size();
        while (left > 0) {
            const ssize_t n = ::write(fd, p, left);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return errno;
            if (n == 0) return EIO;
            p += n;
            left -= static_cast<std::size_t>(n);
        }
    }
    return 0;
}

// Follows symbolic links from `target` to the file they end at, which need not
// exist. Returns 0 or the reason (ELOOP for a circle).
int Resolve(const fs::path& target, fs::path& file) {
    file = target;
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        const fs::file_status status = fs::symlink_status(file, ec);
        if (!fs::is_symlink(status)) return 0;
        const fs::path link = fs::read_symlink(file, ec);
        if (ec) return ec.value();
        file = link.is_absolute() ? link : file.parent_path() / link;
    }
    return ELOOP;
}

// Makes a rename or link in the folder durable. Best effort: some file systems
// refuse fsync on a folder, and the file's bytes are safe already.
void SyncFolder(const fs::path& file) {
    const int fd = ::open(FolderOf(file).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    (void)::fsync(fd);
    ::close(fd);
}

// A hidden file beside the target that holds the bytes until they are
// complete. Removes itself unless it was handed over to the target's name.
class TempFile {
  public:
    TempFile() = default;
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile() { Discard(); }

    // Creates the file with a name no other file has. Its mode goes through
    // the umask like that of any new file.
    int Create(const fs::path& target) {
        static unsigned counter = 0;
        // The target's name is cut so that the temporary name stays within
        // the usual limit of 255 bytes.
        const std::string base = "." + target.filename().string().substr(0, 200) + ".tmp" +
                                 std::to_string(static_cast<long>(::getpid())) + "-";
        for (int attempt = 0; attempt < 100; ++attempt) {
            path_ = FolderOf(target) / (base + std::to_string(counter++));
            fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd_ >= 0) return 0;
            if (errno != EEXIST) break;
        }
        const int err = errno;
        path_.clear();
        return err;
    }

    // Writes the pieces, gives the file the old one's owner and mode, and
    // makes sure it is on the disk before it gets its name.
    int Fill(std::span<const ByteSpan> parts, const std::optional<struct stat>& old) {
        if (const int err = WriteAll(fd_, parts)) return err;
        if (old) {
            // Owner first: a change of owner may clear the set-id bits that
            // fchmod then puts back. An ordinary user may only keep the group
            // (when a member of it), or neither; the file is then theirs.
            if (::fchown(fd_, old->st_uid, old->st_gid) != 0)
                (void)!::fchown(fd_, static_cast<uid_t>(-1), old->st_gid);
            if (::fchmod(fd_, old->st_mode & 07777) != 0) return errno;
        }
        if (::fsync(fd_) != 0) return errno;
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) != 0 ? errno : 0;
    }

    const fs::path& path() const { return path_; }
    // The file now lives on under the target's name.
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

// Overwrites an existing file through its own inode; see the header for what
// this cannot promise.
WriteResult OverwriteInPlace(const fs::path& file, std::span<const ByteSpan> parts) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return Failed(errno);
    const auto size = static_cast<off_t>(TotalSize(parts));
    // Reserving the space first finds a full disk while the old bytes are
    // still whole. File systems without the call emulate it or say they
    // cannot, which is no failure.
    int err = size > 0 ? ::posix_fallocate(fd, 0, size) : 0;
    if (err == EOPNOTSUPP || err == EINVAL || err == ENODEV) err = 0;
    if (err == 0) err = WriteAll(fd, parts);
    if (err == 0 && ::ftruncate(fd, size) != 0) err = errno;
    if (err == 0 && ::fsync(fd) != 0) err = errno;
    if (::close(fd) != 0 && err == 0) err = errno;
    return err == 0 ? Written() : Failed(err);
}

WriteResult Replace(const fs::path& target, std::span<const ByteSpan> parts) {
    fs::path file;
    if (const int err = Resolve(target, file)) return Failed(err);
    std::optional<struct stat> old;
    struct stat st {};
    if (::lstat(file.c_str(), &st) == 0) old = st;
    if (old && S_ISDIR(old->st_mode)) return Failed(EISDIR);  // before writing megabytes
    const bool regular = old && S_ISREG(old->st_mode);
    if (regular && old->st_nlink > 1) return OverwriteInPlace(file, parts);

    TempFile temp;
    if (const int err = temp.Create(file)) {
        // The folder is closed to us; the file itself may still be writable.
        if (regular && (err == EACCES || err == EPERM)) return OverwriteInPlace(file, parts);
        return Failed(err);
    }
    if (const int err = temp.Fill(parts, regular ? old : std::nullopt)) return Failed(err);
    if (::rename(temp.path().c_str(), file.c_str()) != 0) return Failed(errno);
    temp.Release();
    SyncFolder(file);
    return Written();
}

// Claims the name with an empty file, then renames the complete one over it:
// for file systems without hard links.
WriteResult ClaimThenRename(const fs::path& target, TempFile& temp) {
    const int claim = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (claim < 0) return errno == EEXIST ? NameTaken() : Failed(errno);
    ::close(claim);
    if (::rename(temp.path().c_str(), target.c_str()) != 0) {
        const int err = errno;
        ::unlink(target.c_str());
        return Failed(err);
    }
    temp.Release();
    SyncFolder(target);
    return Written();
}

WriteResult CreateNew(const fs::path& target, std::span<const ByteSpan> parts) {
    // Cheap early answer, so that skipping taken numbers writes nothing. The
    // link or the claim below is what guarantees that nothing is overwritten.
    struct stat st {};
    if (::lstat(target.c_str(), &st) == 0) return NameTaken();

    TempFile temp;
    if (const int err = temp.Create(target)) return Failed(err);
    if (const int err = temp.Fill(parts, std::nullopt)) return Failed(err);
    // link(2) gives the complete file the name only if the name is free, so no
    // one ever sees a partial file under it.
    if (::link(temp.path().c_str(), target.c_str()) == 0) {
        temp.Discard();  // drops the temporary name; the file stays under `target`
        SyncFolder(target);
        return Written();
    }
    if (errno == EEXIST) return NameTaken();
    // Anything but "no hard links here" is a real failure.
    if (errno != EPERM && errno != ENOTSUP && errno != EOPNOTSUPP && errno != ENOSYS)
        return Failed(errno);
    return ClaimThenRename(target, temp);
}

}  // namespace

WriteResult WriteWholeFile(const fs::path& target, std::span<const ByteSpan> parts,
                           WriteMode mode) {
    if (target.filename().empty()) return Failed(EISDIR);
    return mode == WriteMode::kReplace ? Replace(target, parts) : CreateNew(target, parts);
}

fs::path WrittenFile(const fs::path& target) {
    fs::path file;
    return Resolve(target, file) == 0 ? file : target;
}

}  // namespace qm71
