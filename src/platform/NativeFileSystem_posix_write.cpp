#include "NativeFileSystem.h"
#include "NativeName.h"
#include "PosixErrors.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qint64 NsPerSecond = 1000000000;

qint64 nanoseconds(const timespec& time)
{
    return qint64(time.tv_sec) * NsPerSecond + time.tv_nsec;
}

FileStatus fromStat(const struct stat& st)
{
    FileStatus status;
    status.kind = S_ISREG(st.st_mode)   ? FileStatus::Kind::File
                  : S_ISDIR(st.st_mode) ? FileStatus::Kind::Folder
                  : S_ISLNK(st.st_mode) ? FileStatus::Kind::Link
                                        : FileStatus::Kind::Other;
    status.identity = FileIdentity{quint64(st.st_dev), quint64(st.st_ino)};
    status.size = st.st_size;
    status.modifiedNs = nanoseconds(st.st_mtim);
    status.changedNs = nanoseconds(st.st_ctim);
    status.ownerWritable = (st.st_mode & S_IWUSR) != 0;
    return status;
}

[[noreturn]] void fail(ErrnoTarget target = ErrnoTarget::File)
{
    throw errorFromErrno(errno, target);
}

class PosixFile : public FileHandle
{
public:
    explicit PosixFile(int fd) : m_fd(fd) {}
    ~PosixFile() override
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }

    qint64 read(char* buffer, qint64 size) override
    {
        for (;;) {
            const ssize_t n = ::read(m_fd, buffer, size_t(size));
            if (n >= 0)
                return n;
            if (errno != EINTR)
                fail();
        }
    }

    void write(const char* data, qint64 size) override
    {
        while (size > 0) {
            const ssize_t n = ::write(m_fd, data, size_t(size));
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                fail();
            }
            if (n == 0)
                throw errorFromErrno(ENOSPC, ErrnoTarget::File);
            data += n;
            size -= n;
        }
    }

    FileStatus status() override
    {
        struct stat st;
        if (::fstat(m_fd, &st) != 0)
            fail();
        return fromStat(st);
    }

    void setModified(qint64 modifiedNs) override
    {
        // Rounded down, also before 1970: the nanoseconds of a timespec are never negative.
        const qint64 seconds = modifiedNs / NsPerSecond - (modifiedNs % NsPerSecond < 0 ? 1 : 0);
        const timespec times[2] = {{0, UTIME_OMIT},
                                   {time_t(seconds), long(modifiedNs - seconds * NsPerSecond)}};
        if (::futimens(m_fd, times) != 0)
            fail();
    }

    void sync() override
    {
        while (::fsync(m_fd) != 0) {
            if (errno != EINTR)
                fail();
        }
    }

    void dropCache() override { ::posix_fadvise(m_fd, 0, 0, POSIX_FADV_DONTNEED); }

    void truncate(qint64 size) override
    {
        while (::ftruncate(m_fd, off_t(size)) != 0) {
            if (errno != EINTR)
                fail();
        }
    }

    void close() override
    {
        const int fd = m_fd;
        m_fd = -1;
        // After EINTR the descriptor is closed all the same on Linux.
        if (::close(fd) != 0 && errno != EINTR)
            fail();
    }

private:
    int m_fd;
};

int openRetrying(const QByteArray& path, int flags, mode_t mode = 0)
{
    for (;;) {
        const int fd = ::open(path.constData(), flags | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EINTR)
            return fd;
    }
}

// The status of a path, with fstatat's flags; nullopt when nothing is there.
std::optional<FileStatus> statusAt(const QString& path, int flags)
{
    if (path.isEmpty())
        return std::nullopt;
    struct stat st;
    if (::fstatat(AT_FDCWD, nativeBytes(path).constData(), &st, flags) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return std::nullopt;
        fail();
    }
    return fromStat(st);
}

} // namespace

std::optional<FileStatus> NativeFileSystem::status(const QString& path)
{
    return statusAt(path, 0);
}

std::optional<FileStatus> NativeFileSystem::entryStatus(const QString& path)
{
    return statusAt(path, AT_SYMLINK_NOFOLLOW);
}

std::unique_ptr<FileHandle> NativeFileSystem::openToRead(const QString& path)
{
    // Not blocking: a pipe given the name of a file would otherwise hang the opening.
    const int fd = openRetrying(nativeBytes(path), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW);
    if (fd < 0) {
        if (errno == ELOOP)
            throw SymbolicLinkRefused();
        fail();
    }
    auto file = std::make_unique<PosixFile>(fd);
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
        fail();
    return file;
}

std::unique_ptr<FileHandle> NativeFileSystem::createNew(const QString& path)
{
    const int fd = openRetrying(nativeBytes(path), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY, 0644);
    if (fd < 0) {
        if (errno == EEXIST)
            return nullptr;
        fail(ErrnoTarget::Folder); // a missing name is the folder's
    }
    return std::make_unique<PosixFile>(fd);
}

FileSystem::Claim NativeFileSystem::renameNoReplace(const QString& from, const QString& to)
{
    if (::renameat2(AT_FDCWD, nativeBytes(from).constData(), AT_FDCWD, nativeBytes(to).constData(),
                    RENAME_NOREPLACE) == 0)
        return Claim::Claimed;
    return renameNoReplaceOutcome(errno);
}

FileSystem::Claim NativeFileSystem::linkNew(const QString& from, const QString& to)
{
    if (::link(nativeBytes(from).constData(), nativeBytes(to).constData()) == 0)
        return Claim::Claimed;
    return linkOutcome(errno);
}

void NativeFileSystem::renameOver(const QString& from, const QString& to)
{
    if (::rename(nativeBytes(from).constData(), nativeBytes(to).constData()) != 0)
        fail();
}

void NativeFileSystem::removeFile(const QString& path)
{
    if (::unlink(nativeBytes(path).constData()) != 0)
        fail();
}

void NativeFileSystem::syncFolder(const QString& path)
{
    const int fd = openRetrying(nativeBytes(path), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        fail(ErrnoTarget::Folder);
    int err;
    do {
        err = ::fsync(fd) == 0 ? 0 : errno;
    } while (err == EINTR);
    ::close(fd);
    // Some network and FUSE file systems cannot sync a folder: the server keeps its names.
    if (err != 0 && err != EINVAL && err != EBADF && err != EROFS && err != ENOTSUP)
        throw errorFromErrno(err, ErrnoTarget::Folder);
}

std::unique_ptr<FileHandle> NativeFileSystem::openToAppend(const QString& path)
{
    // Not O_APPEND, which smbnetfs refuses (after seconds). The file is opened without truncating it
    // and written from the end its status gives: a seek to the end would ask the share again, and
    // smbnetfs answers that with an error just after the file was closed.
    const int fd = openRetrying(nativeBytes(path), O_WRONLY | O_CREAT | O_NOCTTY, 0644);
    if (fd < 0)
        fail();
    auto file = std::make_unique<PosixFile>(fd);
    struct stat st;
    if (::fstat(fd, &st) != 0 || ::lseek(fd, st.st_size, SEEK_SET) < 0)
        fail();
    return file;
}
