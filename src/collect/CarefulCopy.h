#pragma once

#include "platform/FileHandle.h"
#include "platform/RunError.h"

#include <QSet>
#include <QString>

#include <functional>

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

// A failure on the original's side (opening it, reading it, its status), with the error's
// number and description: the station's, not the copy's.
class SourceError : public RunError
{
public:
    explicit SourceError(const RunError& error) : RunError(error) {}
};

// The original kept changing while it was read: error 75 "O ficheiro foi alterado durante a cópia".
class SourceChanged : public SourceError
{
public:
    SourceChanged();
};

// The share gave fewer or more bytes than the original holds: error 75 "O ficheiro não foi lido até ao fim".
class ShortRead : public SourceError
{
public:
    ShortRead();
};

// Copies a file into a folder under the given name, or the first free one of
// numberedName(name, 2), numberedName(name, 3)..., and never replaces a file: the
// bytes go to a hidden temporary that gets the original's modification time, is
// synced, read back from the disk and compared by SHA-256 before it takes the name.
// The names in reservedNames, whatever their case, count as taken. An original whose
// status (identity, size, times) is not the same after it was read as when it was
// opened is read again, a few times at most.
//
// Throws SymbolicLinkRefused for a link, SourceChanged when the original kept changing,
// ShortRead when fewer or more bytes were read than it holds, SourceError when another
// operation on it failed, CopyMismatch when the read-back differs, otherwise RunError
// with the number of the failed operation. The folder is then left as it was.
// onBytes, when given, hears of the bytes read so far of the original's size.
using CopyProgress = std::function<void(qint64 done, qint64 total)>;
CopyResult copyWithoutReplacing(FileSystem& fs, const QString& sourcePath, const QString& destinationFolder,
                                const QString& name, const QSet<QString>& reservedNames = {},
                                const CopyProgress& onBytes = {});

// Moves a file, in one step, to a new hidden name in its folder, so that a file saved
// under its name from then on is another file; returns the new path. Throws RunError.
QString moveAside(FileSystem& fs, const QString& folder, const QString& name);

// Gives a file moved aside back its name, or the first free numbered one when a file
// took the name meanwhile; returns the name it got. Throws RunError.
QString moveBack(FileSystem& fs, const QString& asidePath, const QString& folder, const QString& name);

// The name with " (number)" before its extension, which starts at the last "." that
// is not the first character; number 1 gives the name itself. The part before the
// number loses whole characters from its end until the name takes at most 255 bytes.
QString numberedName(const QString& name, int number);
