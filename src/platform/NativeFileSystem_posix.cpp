#include "NativeFileSystem.h"
#include "NativeName.h"
#include "PosixErrors.h"
#include "StationWorker.h"

#include <cerrno>
#include <cstdlib>
#include <algorithm>
#include <memory>
#include <vector>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray encoded(const QString& path)
{
    return nativeBytes(path);
}

qint64 milliseconds(qint64 seconds, qint64 nanoseconds)
{
    return seconds * 1000 + nanoseconds / 1000000;
}

bool isHidden(const char* name)
{
    return name[0] == '.';
}

// A file that went away, or that the share cannot describe just now, only has no time
// to show; a refused access is for the caller to report.
FileTimesRead::Outcome outcomeOfFailedStatus(int err)
{
    switch (err) {
    case ENOENT:
    case ENOTDIR:
        return FileTimesRead::Gone;
    case EACCES:
    case EPERM:
        return FileTimesRead::Refused;
    default:
        // EIO, ESTALE, ENOTCONN, EHOSTDOWN, ENAMETOOLONG and the like.
        return FileTimesRead::Unreadable;
    }
}

// Kind and both times in one status call, relative to a folder already open (or AT_FDCWD);
// a link is not followed.
FileTimesRead statusAt(int dirFd, const char* name)
{
    FileTimesRead result;
#ifdef STATX_BTIME
    struct statx stx;
    if (::statx(dirFd, name, AT_SYMLINK_NOFOLLOW, STATX_TYPE | STATX_MTIME | STATX_BTIME | STATX_SIZE,
                &stx) != 0) {
        result.outcome = outcomeOfFailedStatus(errno);
        return result;
    }
    if (!S_ISREG(stx.stx_mode)) {
        result.outcome = S_ISLNK(stx.stx_mode) ? FileTimesRead::Link : FileTimesRead::NotPlain;
        return result;
    }
    result.times.modified = milliseconds(stx.stx_mtime.tv_sec, stx.stx_mtime.tv_nsec);
    result.times.size = qint64(stx.stx_size);
    result.times.created = (stx.stx_mask & STATX_BTIME)
                               ? milliseconds(stx.stx_btime.tv_sec, stx.stx_btime.tv_nsec)
                               : result.times.modified;
#else
    struct stat st;
    if (::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
        result.outcome = outcomeOfFailedStatus(errno);
        return result;
    }
    if (!S_ISREG(st.st_mode)) {
        result.outcome = S_ISLNK(st.st_mode) ? FileTimesRead::Link : FileTimesRead::NotPlain;
        return result;
    }
    result.times.modified = milliseconds(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
    result.times.size = qint64(st.st_size);
    result.times.created = result.times.modified;
#endif
    result.outcome = FileTimesRead::Read;
    return result;
}

// Decodes a name into a buffer kept from one entry to the next, so that a name that is
// not wanted costs no allocation; an ASCII name needs no decoder.
void decodeInto(QString& name, QByteArrayView bytes)
{
    const bool ascii =
        std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (!ascii) {
        name = nameFromNative(bytes);
        return;
    }
    name.resize(bytes.size());
    QChar* out = name.data();
    for (const char c : bytes)
        *out++ = QLatin1Char(c);
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

QList<ListedFile> NativeFileSystem::listFiles(const QString& folder, const NameFilter& wanted, bool withTimes)
{
    if (folder.isEmpty())
        throw RunError::fromNumber(ErrorNumber::PathNotFound);
    std::unique_ptr<DIR, DirCloser> dir(::opendir(encoded(folder).constData()));
    if (!dir)
        throw errorFromErrno(errno, ErrnoTarget::Folder);

    // Names are matched as they are read; only the wanted ones are looked at afterwards.
    enum class Kind { Plain, Link, Unknown };
    struct Entry
    {
        QByteArray name;
        Kind kind;
    };
    std::vector<Entry> entries;
    QList<ListedFile> files;
    QString name;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir.get());
        noteStationAnswer();
        if (!entry) {
            if (errno != 0)
                throw errorFromErrno(errno, ErrnoTarget::Folder);
            break;
        }
        // The entries of some network file systems say nothing of their kind.
        const Kind kind = entry->d_type == DT_REG   ? Kind::Plain
                          : entry->d_type == DT_LNK ? Kind::Link
                                                    : Kind::Unknown;
        if (isHidden(entry->d_name) || (kind == Kind::Unknown && entry->d_type != DT_UNKNOWN))
            continue;
        const QByteArrayView bytes(entry->d_name);
        decodeInto(name, bytes);
        if (wanted && !wanted(name))
            continue;
        entries.push_back({bytes.toByteArray(), kind});
        ListedFile file{name, {}};
        if (kind == Kind::Link)
            file.times.outcome = FileTimesRead::Link;
        files.append(std::move(file));
    }
    afterReadingFolder(folder);

    const int dirFd = ::dirfd(dir.get());
    qsizetype kept = 0;
    for (qsizetype k = 0; k < files.size(); ++k) {
        const Entry& entry = entries[k];
        if ((withTimes && entry.kind == Kind::Plain) || entry.kind == Kind::Unknown) {
            files[k].times = statusOfListed(folder, files[k].name,
                                            [&] { return statusAt(dirFd, entry.name.constData()); });
            noteStationAnswer();
            const FileTimesRead::Outcome outcome = files[k].times.outcome;
            if (entry.kind == Kind::Unknown &&
                (outcome == FileTimesRead::Gone || outcome == FileTimesRead::NotPlain))
                continue;
        }
        if (kept != k)
            files[kept] = std::move(files[k]);
        ++kept;
    }
    files.resize(kept);
    return files;
}

FileTimesRead NativeFileSystem::fileTimes(const QString& path)
{
    FileTimesRead result;
    const QByteArray name = encoded(path);
    if (name.isEmpty())
        return result;
    result = statusAt(AT_FDCWD, name.constData());
    if (result.outcome == FileTimesRead::Refused)
        throw RunError::fromNumber(ErrorNumber::PermissionDenied);
    return result;
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

QStringList NativeFileSystem::listAllFiles(const QString& folder)
{
    if (folder.isEmpty())
        throw RunError::fromNumber(ErrorNumber::PathNotFound);
    std::unique_ptr<DIR, DirCloser> dir(::opendir(encoded(folder).constData()));
    if (!dir)
        throw errorFromErrno(errno, ErrnoTarget::Folder);
    QStringList names;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir.get());
        noteStationAnswer();
        if (!entry) {
            if (errno != 0)
                throw errorFromErrno(errno, ErrnoTarget::Folder);
            return names;
        }
        // A link is listed as a link, never followed; some network file systems give no kind at all.
        if (entry->d_type != DT_REG && entry->d_type != DT_LNK) {
            if (entry->d_type != DT_UNKNOWN)
                continue;
            const FileTimesRead::Outcome outcome = statusAt(::dirfd(dir.get()), entry->d_name).outcome;
            if (outcome == FileTimesRead::Gone || outcome == FileTimesRead::NotPlain)
                continue;
        }
        names.append(nameFromNative(entry->d_name));
    }
}
