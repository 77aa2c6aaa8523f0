#include "NativeFileSystem.h"
#include "NativeName.h"
#include "PosixErrors.h"

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray encoded(const QString& path)
{
    return nativeBytes(path);
}

QDateTime fromTimespec(qint64 seconds, qint64 nanoseconds)
{
    return QDateTime::fromMSecsSinceEpoch(seconds * 1000 + nanoseconds / 1000000);
}

bool isHidden(const char* name)
{
    return name[0] == '.';
}

struct DirCloser
{
    void operator()(DIR* dir) const { closedir(dir); }
};

} // namespace

bool NativeFileSystem::folderExists(const QString& path)
{
    if (path.isEmpty())
        return false;
    struct stat st;
    return ::stat(encoded(path).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool NativeFileSystem::fileExists(const QString& path)
{
    if (path.isEmpty())
        return false;
    struct stat st;
    return ::stat(encoded(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

QStringList NativeFileSystem::listFiles(const QString& folder)
{
    if (folder.isEmpty())
        throw RunError::fromNumber(ErrorNumber::PathNotFound);
    std::unique_ptr<DIR, DirCloser> dir(::opendir(encoded(folder).constData()));
    if (!dir)
        throw errorFromErrno(errno, ErrnoTarget::Folder);

    const int dirFd = ::dirfd(dir.get());
    QStringList names;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir.get());
        if (!entry) {
            if (errno != 0)
                throw errorFromErrno(errno, ErrnoTarget::Folder);
            break;
        }
        if (isHidden(entry->d_name))
            continue;
        bool plainFile = entry->d_type == DT_REG;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            // The entry type is not known without a status call (some network file systems, links).
            struct stat st;
            plainFile = ::fstatat(dirFd, entry->d_name, &st, 0) == 0 && S_ISREG(st.st_mode);
        }
        if (plainFile)
            names.append(nameFromNative(QByteArray(entry->d_name)));
    }
    return names;
}

std::optional<FileTimes> NativeFileSystem::fileTimes(const QString& path)
{
    const QByteArray name = encoded(path);
    if (name.isEmpty())
        return std::nullopt;
#ifdef STATX_BTIME
    struct statx stx;
    if (::statx(AT_FDCWD, name.constData(), 0, STATX_TYPE | STATX_MTIME | STATX_BTIME, &stx) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return std::nullopt;
        throw errorFromErrno(errno, ErrnoTarget::File);
    }
    if (!S_ISREG(stx.stx_mode))
        return std::nullopt;
    FileTimes times;
    times.modified = fromTimespec(stx.stx_mtime.tv_sec, stx.stx_mtime.tv_nsec);
    times.created = (stx.stx_mask & STATX_BTIME) ? fromTimespec(stx.stx_btime.tv_sec, stx.stx_btime.tv_nsec)
                                                 : times.modified;
    return times;
#else
    struct stat st;
    if (::stat(name.constData(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return std::nullopt;
        throw errorFromErrno(errno, ErrnoTarget::File);
    }
    if (!S_ISREG(st.st_mode))
        return std::nullopt;
    FileTimes times;
    times.modified = fromTimespec(st.st_mtime, 0);
    times.created = times.modified;
    return times;
#endif
}

QByteArray NativeFileSystem::readFile(const QString& path)
{
    const int fd = ::open(encoded(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw errorFromErrno(errno, ErrnoTarget::File);
    struct FdCloser
    {
        int fd;
        ~FdCloser() { ::close(fd); }
    } closer{fd};

    struct stat st;
    if (::fstat(fd, &st) != 0)
        throw errorFromErrno(errno, ErrnoTarget::File);
    if (S_ISDIR(st.st_mode))
        throw RunError::fromNumber(ErrorNumber::PathFileAccessError);

    QByteArray content;
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw errorFromErrno(errno, ErrnoTarget::File);
        }
        if (n == 0)
            break;
        content.append(buffer, n);
    }
    return content;
}

QString workingFolder()
{
    // Not QDir::currentPath(): it decodes the bytes with loss.
    const std::unique_ptr<char, decltype(&std::free)> folder(::getcwd(nullptr, 0), &std::free);
    return folder ? nameFromNative(QByteArray(folder.get())) : QString();
}
