#pragma once

#include "platform/FileHandle.h"
#include "platform/RunError.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class FileSystem;

// backup-log.txt in the backup folder: where each backup came from, as a backup may have
// a numbered name, and under which hidden name each original waited to be deleted. Only
// ever added to, and each line is on the disk before the run goes on, so that no original is
// moved aside, or deleted, before the lines that name its backup.
class BackupRecord
{
public:
    // A failure of the record itself, which the run reports under the record's path.
    class Failure : public RunError
    {
    public:
        explicit Failure(const RunError& error) : RunError(error) {}
    };

    // Opens the record of the folder, created when missing. Throws Failure.
    BackupRecord(FileSystem& fs, const QString& folder);

    static QString fileName();
    static QString pathIn(const QString& folder);

    // Lines, in the text of logLine(), written and synced together. Throws Failure.
    void write(const QStringList& lines);
    void write(const QString& line) { write(QStringList{line}); }
    // For a run already ending: what can still be written, without a word.
    void writeQuietly(const QString& line);

    // What the record says of an original that was moved aside under hiddenName to be
    // deleted; nullopt when no line names it. The record as it was when first asked is read once:
    // what this run writes is not looked for.
    struct MovedAside
    {
        QString original; // as the record shows it: characters it cannot hold are "?"
        QString backup;
        QString sha256;
    };
    std::optional<MovedAside> movedAside(const QString& hiddenName);
    // The line written before an original is moved aside, which movedAside() reads back.
    static QString movedAsideLine(const QString& original, const QString& hiddenName, const QString& backup,
                                  const QString& sha256);

private:
    FileSystem& m_fs;
    QString m_path;
    std::unique_ptr<FileHandle> m_file;
    std::optional<QStringList> m_lines;
};
