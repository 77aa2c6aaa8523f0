#pragma once

#include "platform/FileHandle.h"
#include "platform/RunError.h"

#include <QString>

#include <memory>

class FileSystem;

// backup-log.txt in the backup folder: where each backup came from, as a backup may have
// a numbered name. Only ever added to, and each line is on the disk before the run goes
// on, so that no original is deleted before the line that names its backup.
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

    // One line, in the text of logLine(). Throws Failure.
    void write(const QString& line);

private:
    std::unique_ptr<FileHandle> m_file;
};
