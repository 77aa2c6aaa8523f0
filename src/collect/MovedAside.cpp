#include "MovedAside.h"
#include "BackupRecord.h"
#include "BackupThenDelete.h"
#include "BusyRetry.h"
#include "CarefulCopy.h"
#include "LogText.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

#include <optional>

namespace {

// The original's name in the station's folder, from the path as the record shows it; empty
// when the record names another folder.
QString nameInFolder(const QString& recorded, const QString& folder)
{
    const QString prefix = logLines(logLine(joinPath(folder, QString()))).value(0);
    const QString name = recorded.startsWith(prefix) ? recorded.mid(prefix.size()) : QString();
    return name.contains(pathSeparator()) ? QString() : name;
}

bool holds(FileSystem& fs, const QString& path, const QString& sha256)
{
    const std::optional<FileStatus> status = fs.entryStatus(path);
    return status && status->kind == FileStatus::Kind::File && digestOfFile(fs, path) == sha256;
}

} // namespace

MovedAsideOutcome recoverMovedAside(FileSystem& fs, BackupRecord& record, const QString& folder,
                                    const QString& hiddenName)
{
    const QString aside = joinPath(folder, hiddenName);
    const std::optional<BackupRecord::MovedAside> moved = record.movedAside(hiddenName);
    const QString name = moved ? nameInFolder(moved->original, folder) : QString();
    if (name.isEmpty())
        return {MovedAsideOutcome::Unknown, {}};

    if (holds(fs, aside, moved->sha256) && holds(fs, moved->backup, moved->sha256)) {
        deleteMovedAside(fs, aside, folder, name);
        record.write(
            QStringLiteral("Apagado %1: era %2, copiado para %3").arg(aside, moved->original, moved->backup));
        return {MovedAsideOutcome::Deleted, {}};
    }
    // The move claims a hidden name with an empty file first where the file system cannot
    // move without replacing: stopped there, it left that empty file and the original as it was.
    const std::optional<FileStatus> status = fs.entryStatus(aside);
    if (status && status->kind == FileStatus::Kind::File && status->size == 0 &&
        fs.status(joinPath(folder, name))) {
        retryWhileBusy([&] { fs.removeFile(aside); });
        record.write(QStringLiteral("Apagado %1: vazio").arg(aside));
        return {MovedAsideOutcome::Removed, {}};
    }
    const QString restored = moveBack(fs, aside, folder, name);
    record.write(QStringLiteral("Reposto %1 como %2").arg(aside, joinPath(folder, restored)));
    return {MovedAsideOutcome::Restored, restored};
}
