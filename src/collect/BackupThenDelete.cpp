#include "BackupThenDelete.h"
#include "BackupRecord.h"
#include "BusyRetry.h"
#include "CarefulCopy.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace {

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
    return digestOfFile(fs, aside) == backup.sha256;
}

} // namespace

void deleteMovedAside(FileSystem& fs, const QString& aside, const QString& folder, const QString& name)
{
    try {
        retryWhileBusy([&] { fs.removeFile(aside); });
    } catch (const RunError&) {
        try {
            moveBack(fs, aside, folder, name);
        } catch (const RunError&) {
            // The record names the hidden file: the next run finds it.
        }
        throw;
    }
}

OriginalFate backUpThenDelete(FileSystem& fs, BackupRecord& record, const QString& folder,
                              const QString& name, const QString& backupFolder, CopyOptions options)
{
    const QString original = joinPath(folder, name);
    CopyResult backup;
    try {
        options.reservedNames = {BackupRecord::fileName()};
        backup = copyWithoutReplacing(fs, original, backupFolder, name, options);
    } catch (const CopyMismatch&) {
        return OriginalFate::NotBackedUp;
    } catch (const ShortRead&) {
        return OriginalFate::NotBackedUp;
    } catch (const SourceChanged&) {
        return OriginalFate::ChangedDuringBackup;
    } catch (const SymbolicLinkRefused&) {
        return OriginalFate::SymbolicLink;
    }
    const QString copied = original + QStringLiteral(" Copiado para ") + backup.path;
    if (!unchangedSinceCopy(fs, original, backup)) {
        record.write(copied);
        return OriginalFate::ChangedDuringBackup;
    }
    if (!backup.source.ownerWritable) {
        record.write(copied);
        throw RunError::fromNumber(ErrorNumber::PermissionDenied);
    }
    // Each hidden name is on the disk before the move to it: a run stopped at any point leaves
    // no file whose origin the record does not tell.
    const auto recordHiddenName = [&, first = true](const QString& hidden) mutable {
        QStringList lines{BackupRecord::movedAsideLine(original, hidden, backup.path, backup.sha256)};
        if (std::exchange(first, false))
            lines.prepend(copied);
        record.write(lines);
    };
    const QString aside = moveAside(fs, folder, name, recordHiddenName);
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
    deleteMovedAside(fs, aside, folder, name);
    return OriginalFate::Deleted;
}
