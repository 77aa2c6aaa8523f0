#pragma once

#include <QString>

class BackupRecord;
class FileSystem;

// An original that a deletion moved aside under a hidden name and did not finish with: the
// program was stopped, or the file could be neither deleted nor given its name back. What
// it was is in the record, written before the move.
struct MovedAsideOutcome
{
    enum How {
        Deleted,  // it holds the bytes of its backup, which is there and whole
        Restored, // it has its name back (name), to be backed up again
        Removed,  // an empty file put down to claim the hidden name, never filled
        Unknown   // the record does not say what it is: it stays as it is
    };
    How how = Unknown;
    QString name;
};

// Finishes or undoes that deletion, and says so in the record. Throws RunError, or
// BackupRecord::Failure when the record cannot be read or written.
MovedAsideOutcome recoverMovedAside(FileSystem& fs, BackupRecord& record, const QString& folder,
                                    const QString& hiddenName);
