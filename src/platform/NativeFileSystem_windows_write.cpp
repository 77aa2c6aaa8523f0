#include "NativeFileSystem.h"
#include "WindowsErrors.h"

#include <QDir>

#include <windows.h>

namespace {

std::wstring native(const QString& path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

[[noreturn]] void fail(LastErrorTarget target = LastErrorTarget::File)
{
    throw errorFromLastError(GetLastError(), target);
}

bool nameTaken(DWORD err)
{
    return err == ERROR_FILE_EXISTS || err == ERROR_ALREADY_EXISTS;
}

// FILETIME counts 100 ns ticks since 1601-01-01 UTC.
constexpr qint64 TicksFrom1601To1970 = 116444736000000000LL;

qint64 nanoseconds(qint64 ticks)
{
    return (ticks - TicksFrom1601To1970) * 100;
}

bool isLink(HANDLE handle, DWORD attributes)
{
    if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return false;
    FILE_ATTRIBUTE_TAG_INFO tag;
    if (!GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &tag, sizeof tag))
        fail();
    return tag.ReparseTag == IO_REPARSE_TAG_SYMLINK || tag.ReparseTag == IO_REPARSE_TAG_MOUNT_POINT;
}

FileStatus statusOf(HANDLE handle)
{
    BY_HANDLE_FILE_INFORMATION info;
    FILE_BASIC_INFO basic;
    if (!GetFileInformationByHandle(handle, &info) ||
        !GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic))
        fail();
    FileStatus status;
    status.kind = isLink(handle, info.dwFileAttributes)                ? FileStatus::Kind::Link
                  : (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? FileStatus::Kind::Folder
                                                                       : FileStatus::Kind::File;
    status.identity =
        FileIdentity{info.dwVolumeSerialNumber, (quint64(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
    status.size = qint64((quint64(info.nFileSizeHigh) << 32) | info.nFileSizeLow);
    status.modifiedNs = nanoseconds(basic.LastWriteTime.QuadPart);
    status.changedNs = nanoseconds(basic.ChangeTime.QuadPart);
    status.ownerWritable = !(info.dwFileAttributes & FILE_ATTRIBUTE_READONLY);
    return status;
}

class WindowsFile : public FileHandle
{
public:
    explicit WindowsFile(HANDLE handle) : m_handle(handle) {}
    ~WindowsFile() override
    {
        if (m_handle != INVALID_HANDLE_VALUE)
            CloseHandle(m_handle);
    }

    qint64 read(char* buffer, qint64 size) override
    {
        DWORD n = 0;
        if (!ReadFile(m_handle, buffer, DWORD(qMin<qint64>(size, 1 << 30)), &n, nullptr))
            fail();
        return n;
    }

    void write(const char* data, qint64 size) override
    {
        while (size > 0) {
            DWORD n = 0;
            if (!WriteFile(m_handle, data, DWORD(qMin<qint64>(size, 1 << 30)), &n, nullptr))
                fail();
            if (n == 0)
                throw RunError::fromNumber(ErrorNumber::DiskFull);
            data += n;
            size -= n;
        }
    }

    FileStatus status() override { return statusOf(m_handle); }

    void setModified(qint64 modifiedNs) override
    {
        // Rounded down, also before 1970.
        const qint64 ticksSince1970 = modifiedNs / 100 - (modifiedNs % 100 < 0 ? 1 : 0);
        ULARGE_INTEGER ticks;
        ticks.QuadPart = quint64(ticksSince1970 + TicksFrom1601To1970);
        FILETIME modified;
        modified.dwLowDateTime = ticks.LowPart;
        modified.dwHighDateTime = ticks.HighPart;
        if (!SetFileTime(m_handle, nullptr, nullptr, &modified))
            fail();
    }

    void sync() override
    {
        if (!FlushFileBuffers(m_handle))
            fail();
    }

    // Windows has no call to forget a file's cached pages.
    void dropCache() override {}

    void truncate(qint64 size) override
    {
        LARGE_INTEGER position;
        position.QuadPart = size;
        if (!SetFilePointerEx(m_handle, position, nullptr, FILE_BEGIN) || !SetEndOfFile(m_handle))
            fail();
    }

    void close() override
    {
        const HANDLE handle = m_handle;
        m_handle = INVALID_HANDLE_VALUE;
        if (!CloseHandle(handle))
            fail();
    }

private:
    HANDLE m_handle;
};

constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The status of a path, opened with the extra flags; nullopt when nothing is there.
std::optional<FileStatus> statusOfPath(const QString& path, DWORD flags)
{
    if (path.isEmpty())
        return std::nullopt;
    // Backup semantics open folders too; no access right is needed to read the status.
    const HANDLE handle = CreateFileW(native(path).c_str(), 0, ShareAll, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD err = GetLastError();
        if (err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND)
            return std::nullopt;
        throw errorFromLastError(err, LastErrorTarget::File);
    }
    WindowsFile file(handle);
    return file.status();
}

} // namespace

std::optional<FileStatus> NativeFileSystem::status(const QString& path)
{
    return statusOfPath(path, 0);
}

std::optional<FileStatus> NativeFileSystem::entryStatus(const QString& path)
{
    return statusOfPath(path, FILE_FLAG_OPEN_REPARSE_POINT);
}

std::unique_ptr<FileHandle> NativeFileSystem::openToRead(const QString& path)
{
    // The link itself is opened, and refused, so that nothing outside the folder is read.
    const HANDLE handle = CreateFileW(
        native(path).c_str(), GENERIC_READ, ShareAll, nullptr, OPEN_EXISTING,
        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        fail();
    auto file = std::make_unique<WindowsFile>(handle);
    if (file->status().kind == FileStatus::Kind::Link)
        throw SymbolicLinkRefused();
    return file;
}

std::unique_ptr<FileHandle> NativeFileSystem::createNew(const QString& path)
{
    const HANDLE handle = CreateFileW(native(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD err = GetLastError();
        if (nameTaken(err))
            return nullptr;
        throw errorFromLastError(err, LastErrorTarget::Folder);
    }
    return std::make_unique<WindowsFile>(handle);
}

// Without MOVEFILE_REPLACE_EXISTING a move never replaces, on every Windows file system.
FileSystem::Claim NativeFileSystem::renameNoReplace(const QString& from, const QString& to)
{
    if (MoveFileExW(native(from).c_str(), native(to).c_str(), MOVEFILE_WRITE_THROUGH))
        return Claim::Claimed;
    const DWORD err = GetLastError();
    if (nameTaken(err))
        return Claim::Taken;
    throw errorFromLastError(err, LastErrorTarget::File);
}

FileSystem::Claim NativeFileSystem::linkNew(const QString& from, const QString& to)
{
    if (CreateHardLinkW(native(to).c_str(), native(from).c_str(), nullptr))
        return Claim::Claimed;
    const DWORD err = GetLastError();
    if (nameTaken(err))
        return Claim::Taken;
    if (err == ERROR_NOT_SUPPORTED || err == ERROR_INVALID_FUNCTION)
        return Claim::Unsupported;
    throw errorFromLastError(err, LastErrorTarget::File);
}

void NativeFileSystem::renameOver(const QString& from, const QString& to)
{
    if (!MoveFileExW(native(from).c_str(), native(to).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        fail();
}

void NativeFileSystem::removeFile(const QString& path)
{
    if (!DeleteFileW(native(path).c_str()))
        fail();
}

// Win32 offers no way to flush a folder; its names rest on the file system's journal.
void NativeFileSystem::syncFolder(const QString&) {}

std::unique_ptr<FileHandle> NativeFileSystem::openToAppend(const QString& path)
{
    // Append access alone: every write goes to the end, and nothing can truncate the file.
    const HANDLE handle = CreateFileW(native(path).c_str(), FILE_APPEND_DATA | SYNCHRONIZE, FILE_SHARE_READ,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        fail();
    return std::make_unique<WindowsFile>(handle);
}
