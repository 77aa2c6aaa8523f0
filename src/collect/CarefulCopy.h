#pragma once

#include "platform/FileHandle.h"
#include "platform/RunError.h"

#include <QSet>
#include <QString>

class FileSystem;

struct CopyResult
{
    QString name;      // the name the copy got, exactly: it may hold escaped bytes
    QString path;      // the folder joined with that name
    QString sha256;    // of the copied bytes, in lowercase hex as sha256sum prints it
    FileStatus source; // the original as it was opened: size, times, identity
};

// The copy read back from the disk is not the original: error 75 "A cópia não coincide com o original".
class CopyMismatch : public RunError
{
public:
    CopyMismatch();
};

// Copies a file into a folder under the given name, or the first free one of
// numberedName(name, 2), numberedName(name, 3)..., and never replaces a file: the
// bytes go to a hidden temporary that gets the original's modification time, is
// synced, read back from the disk and compared by SHA-256 before it takes the name.
// The names in reservedNames, whatever their case, count as taken.
//
// Throws CopyMismatch when the read-back differs, otherwise RunError with the number
// of the failed operation. The folder is then left as it was, except when only the
// last step, syncing the folder, failed: the complete copy then keeps its name.
CopyResult copyWithoutReplacing(FileSystem& fs, const QString& sourcePath, const QString& destinationFolder,
                                const QString& name, const QSet<QString>& reservedNames = {});

// The name with " (number)" before its extension, which starts at the last "." that
// is not the first character; number 1 gives the name itself. The part before the
// number loses whole characters from its end until the name takes at most 255 bytes.
QString numberedName(const QString& name, int number);
