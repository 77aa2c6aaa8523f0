#pragma once

#include <QString>

class BackupRecord;
class FileSystem;

// What became of a station's file.
enum class OriginalFate { Deleted, NotBackedUp, ChangedDuringBackup };

// Backs the original up into the backup folder under its name or the first free numbered
// one, names the backup in the record, and deletes the original only when the backup read
// back whole and the original is still the file that was copied. A read-only original
// stays and ends the run with error 70, even for root.
//
// Throws RunError, or BackupRecord::Failure when the record cannot take the line; either
// way before the original is deleted.
OriginalFate backUpThenDelete(FileSystem& fs, BackupRecord& record, const QString& original,
                              const QString& name, const QString& backupFolder);
