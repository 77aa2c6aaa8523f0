#pragma once

#include "CarefulCopy.h"

#include <QString>

class BackupRecord;
class FileSystem;

// What became of a station's file.
enum class OriginalFate { Deleted, NotBackedUp, ChangedDuringBackup, SymbolicLink };

// Backs the original up into the backup folder under its name or the first free numbered
// one, names the backup in the record, and deletes the original only when the backup read
// back whole and the original is still the file that was copied: the original is first
// moved aside in one step, under a hidden name the record holds beforehand, and what was
// moved is checked against the backup, by status and by content, before it is deleted. A
// file saved under the name meanwhile is another file and stays; a moved file that is not
// its backup, or that cannot be deleted, gets its name back, or the first free numbered one.
// A symbolic link is never followed and stays. A read-only original stays and ends the run
// with error 70, even for root.
//
// Throws RunError, or BackupRecord::Failure when the record cannot take a line; either
// way with the original under its own name, unless it could not be given it back.
OriginalFate backUpThenDelete(FileSystem& fs, BackupRecord& record, const QString& folder,
                              const QString& name, const QString& backupFolder, CopyOptions options);

// Deletes a file moved aside once it has been checked against its backup, or gives it its
// name back when it cannot be deleted. Throws the deletion's RunError after giving it back.
void deleteMovedAside(FileSystem& fs, const QString& aside, const QString& folder, const QString& name);
