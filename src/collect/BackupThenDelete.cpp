#include "BackupThenDelete.h"
#include "BackupRecord.h"
#include "CarefulCopy.h"
#include "Sha256.h"
#include "platform/FileSystem.h"

namespace {

constexpr qint64 NsPerSecond = 1000000000;

// sshfs and FAT keep whole seconds: a save in the same second as the copy keeps every time.
bool wholeSeconds(const FileStatus& status)
{
    return status.modifiedNs % NsPerSecond == 0 && status.changedNs % NsPerSecond == 0;
}

QString digestOf(FileSystem& fs, const QString& path)
{
    const std::unique_ptr<FileHandle> file = fs.openToRead(path);
    // What the station holds now, not what this machine cached of it.
    file->dropCache();
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    Sha256 digest;
    while (const qint64 n = file->read(buffer.data(), buffer.size()))
        digest.add(buffer.constData(), n);
    return digest.hex();
}

// The same file, of the same size and times to the nanosecond as when it was opened for
// the copy, and where times are whole seconds, the same bytes. The student may still be saving.
bool unchangedSinceCopy(FileSystem& fs, const QString& original, const CopyResult& backup)
{
    if (wholeSeconds(backup.source) && digestOf(fs, original) != backup.sha256)
        return false;
    const std::optional<FileStatus> now = fs.status(original);
    return now && *now == backup.source;
}

} // namespace

OriginalFate backUpThenDelete(FileSystem& fs, BackupRecord& record, const QString& original,
                              const QString& name, const QString& backupFolder)
{
    CopyResult backup;
    try {
        backup = copyWithoutReplacing(fs, original, backupFolder, name, {BackupRecord::fileName()});
    } catch (const CopyMismatch&) {
        return OriginalFate::NotBackedUp;
    }
    record.write(original + QStringLiteral(" Copiado para ") + backup.path);
    if (!unchangedSinceCopy(fs, original, backup))
        return OriginalFate::ChangedDuringBackup;
    if (!backup.source.ownerWritable)
        throw RunError::fromNumber(ErrorNumber::PermissionDenied);
    fs.removeFile(original);
    return OriginalFate::Deleted;
}
