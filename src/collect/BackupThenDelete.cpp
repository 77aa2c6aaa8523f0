#include "BackupThenDelete.h"
#include "BackupRecord.h"
#include "CarefulCopy.h"
#include "Sha256.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace {

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

// The same file, of the same size and times to the nanosecond as when it was opened for the copy.
bool unchangedSinceCopy(FileSystem& fs, const QString& original, const CopyResult& backup)
{
    const std::optional<FileStatus> now = fs.status(original);
    return now && *now == backup.source;
}

// The file moved aside holds the bytes of its backup. Its status change time moved with the
// move itself, so the content decides; and only it can on file systems of whole seconds,
// where a save in the same second keeps every time.
bool movedIsBackup(FileSystem& fs, const QString& aside, const CopyResult& backup)
{
    return digestOf(fs, aside) == backup.sha256;
}

} // namespace

OriginalFate backUpThenDelete(FileSystem& fs, BackupRecord& record, const QString& folder,
                              const QString& name, const QString& backupFolder, const CopyProgress& onBytes)
{
    const QString original = joinPath(folder, name);
    CopyResult backup;
    try {
        backup = copyWithoutReplacing(fs, original, backupFolder, name, {BackupRecord::fileName()}, onBytes);
    } catch (const CopyMismatch&) {
        return OriginalFate::NotBackedUp;
    } catch (const ShortRead&) {
        return OriginalFate::NotBackedUp;
    } catch (const SourceChanged&) {
        return OriginalFate::ChangedDuringBackup;
    } catch (const SymbolicLinkRefused&) {
        return OriginalFate::SymbolicLink;
    }
    record.write(original + QStringLiteral(" Copiado para ") + backup.path);
    if (!unchangedSinceCopy(fs, original, backup))
        return OriginalFate::ChangedDuringBackup;
    if (!backup.source.ownerWritable)
        throw RunError::fromNumber(ErrorNumber::PermissionDenied);
    const QString aside = moveAside(fs, folder, name);
    bool verified = false;
    try {
        verified = movedIsBackup(fs, aside, backup);
    } catch (const RunError&) {
        moveBack(fs, aside, folder, name);
        throw;
    }
    if (!verified) {
        moveBack(fs, aside, folder, name);
        return OriginalFate::ChangedDuringBackup;
    }
    fs.removeFile(aside);
    return OriginalFate::Deleted;
}
