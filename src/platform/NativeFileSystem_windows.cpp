#include "NativeFileSystem.h"
#include "RunError.h"
#include "StationWorker.h"
#include "WindowsErrors.h"

#include <QDir>

#include <windows.h>

namespace {

std::wstring native(const QString& path);

// Hands every entry of a folder to take; a folder that cannot be read throws.
template <typename Take> void forEachEntry(const QString& folder, Take take)
{
    if (folder.isEmpty())
        throw RunError::fromNumber(ErrorNumber::PathNotFound);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileExW(native(folder + QStringLiteral("\\*")).c_str(), FindExInfoBasic, &found,
                                     FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) {
        // An empty drive root has not even "." and "..": nothing found is an empty folder there.
        const DWORD err = GetLastError();
        if (err == ERROR_FILE_NOT_FOUND)
            return;
        throw errorFromLastError(err, LastErrorTarget::Folder);
    }
    do {
        noteStationAnswer();
        take(found);
    } while (FindNextFileW(search, &found));
    const DWORD err = GetLastError();
    FindClose(search);
    if (err != ERROR_NO_MORE_FILES)
        throw errorFromLastError(err, LastErrorTarget::Folder);
}

std::wstring native(const QString& path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

// A symbolic link or a junction; other reparse points (cloud placeholders, deduplicated
// files) are the files they stand for.
bool isLink(const WIN32_FIND_DATAW& found)
{
    return (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
           (found.dwReserved0 == IO_REPARSE_TAG_SYMLINK || found.dwReserved0 == IO_REPARSE_TAG_MOUNT_POINT);
}

qint64 fromFileTime(const FILETIME& ft)
{
    ULARGE_INTEGER ticks;
    ticks.LowPart = ft.dwLowDateTime;
    ticks.HighPart = ft.dwHighDateTime;
    // 100 ns ticks since 1601-01-01 UTC.
    const qint64 msecsSince1601 = static_cast<qint64>(ticks.QuadPart / 10000);
    constexpr qint64 msecsFrom1601To1970 = 11644473600000LL;
    return msecsSince1601 - msecsFrom1601To1970;
}

bool attributes(const QString& path, WIN32_FILE_ATTRIBUTE_DATA& data)
{
    return !path.isEmpty() && GetFileAttributesExW(native(path).c_str(), GetFileExInfoStandard, &data);
}

} // namespace

bool NativeFileSystem::folderExists(const QString& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    return attributes(path, data) && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

QList<ListedFile> NativeFileSystem::listFiles(const QString& folder, const NameFilter& wanted, bool withTimes)
{
    // The listing gives both times with each name: no status call is needed.
    QList<ListedFile> files;
    forEachEntry(folder, [&](const WIN32_FIND_DATAW& found) {
        const DWORD attr = found.dwFileAttributes;
        const bool link = isLink(found);
        if ((attr & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) ||
            ((attr & FILE_ATTRIBUTE_DIRECTORY) && !link))
            return;
        QString name = QString::fromWCharArray(found.cFileName);
        if (wanted && !wanted(name))
            return;
        ListedFile file{std::move(name), {}};
        if (link) {
            file.times.outcome = FileTimesRead::Link;
        } else if (withTimes) {
            file.times.outcome = FileTimesRead::Read;
            file.times.times =
                FileTimes{fromFileTime(found.ftCreationTime), fromFileTime(found.ftLastWriteTime),
                          qint64(found.nFileSizeHigh) << 32 | found.nFileSizeLow};
        }
        files.append(std::move(file));
    });
    afterReadingFolder(folder);
    for (ListedFile& file : files) {
        if (withTimes && file.times.outcome != FileTimesRead::Link) {
            file.times = statusOfListed(folder, file.name, [times = file.times] { return times; });
            noteStationAnswer();
        }
    }
    return files;
}

FileTimesRead NativeFileSystem::fileTimes(const QString& path)
{
    FileTimesRead result;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!attributes(path, data)) {
        const DWORD err = GetLastError();
        if (err == ERROR_ACCESS_DENIED)
            throw errorFromLastError(err, LastErrorTarget::File);
        const bool gone = path.isEmpty() || err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND;
        result.outcome = gone ? FileTimesRead::Gone : FileTimesRead::Unreadable;
        return result;
    }
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return result;
    result.outcome = FileTimesRead::Read;
    result.times = FileTimes{fromFileTime(data.ftCreationTime), fromFileTime(data.ftLastWriteTime),
                             qint64(data.nFileSizeHigh) << 32 | data.nFileSizeLow};
    return result;
}

QByteArray NativeFileSystem::readFile(const QString& path)
{
    if (folderExists(path))
        throw RunError::fromNumber(ErrorNumber::PathFileAccessError);
    HANDLE file = CreateFileW(native(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw errorFromLastError(GetLastError(), LastErrorTarget::File);

    QByteArray content;
    char buffer[16384];
    for (;;) {
        DWORD n = 0;
        if (!ReadFile(file, buffer, sizeof buffer, &n, nullptr)) {
            const DWORD err = GetLastError();
            CloseHandle(file);
            throw errorFromLastError(err, LastErrorTarget::File);
        }
        if (n == 0)
            break;
        content.append(buffer, static_cast<qsizetype>(n));
    }
    CloseHandle(file);
    return content;
}

QString workingFolder()
{
    return QDir::toNativeSeparators(QDir::currentPath());
}

QStringList NativeFileSystem::listAllFiles(const QString& folder)
{
    // Hidden and system files are the students' files too.
    QStringList names;
    forEachEntry(folder, [&](const WIN32_FIND_DATAW& found) {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || isLink(found))
            names.append(QString::fromWCharArray(found.cFileName));
    });
    return names;
}
