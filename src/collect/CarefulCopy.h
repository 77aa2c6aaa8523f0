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

using CopyProgress = std::function<void(qint64 done, qint64 total)>;

struct CopyOptions
{
    // Names that count as taken, whatever their case.
    QSet<QString> reservedNames;
    // Hears of the bytes read so far of the original's size; also called while the copy waits.
    CopyProgress onBytes;
    // The invigilator's clock as the copy begins, in ms since the epoch: an original saved
    // within a second of it is left to settle first. 0: no wait.
    qint64 nowMs = 0;
    // The bytes the original held when it was last listed, or -1: an original found empty
    // after it was listed with bytes is being saved.
    qint64 listedSize = -1;
};

// Copies a file into a folder under the given name, or the first free one of
// numberedName(name, 2), numberedName(name, 3)..., and never replaces a file: the
// bytes go to a hidden temporary that gets the original's modification time, is
// synced, read back from the disk and compared by SHA-256 before it takes the name.
// An original that a student is saving just now is waited for, a few seconds at most,
// until it has been still for a second. An original whose status (identity, size, times)
// is not the same after it was read as when it was opened is read again, a few times at
// most. An operation that another program's hold on a file refuses is tried again briefly.
//
// Throws SymbolicLinkRefused for a link, SourceChanged when the original kept changing,
// ShortRead when fewer or more bytes were read than it holds, SourceError when another
// operation on it failed, CopyMismatch when the read-back differs, otherwise RunError
// with the number of the failed operation. The folder is then left as it was.
CopyResult copyWithoutReplacing(FileSystem& fs, const QString& sourcePath, const QString& destinationFolder,
                                const QString& name, const CopyOptions& options = {});

// The hidden names the program gives its temporaries and the files it moves aside.
QString randomTemporaryName();
bool isTemporaryName(const QString& name);

// Moves a file, in one step, to a new hidden name in its folder, so that a file saved
// under its name from then on is another file; returns the new path. Each hidden name is
// given to beforeAttempt before the move to it is tried. Throws RunError.
QString moveAside(FileSystem& fs, const QString& folder, const QString& name,
                  const std::function<void(const QString& hiddenName)>& beforeAttempt);

// Gives a file moved aside back its name, or the first free numbered one when a file
// took the name meanwhile; returns the name it got. Throws RunError.
QString moveBack(FileSystem& fs, const QString& asidePath, const QString& folder, const QString& name);

// The SHA-256 of a file's bytes as the disk holds them now, not as this machine cached them.
QString digestOfFile(FileSystem& fs, const QString& path);

// The name with " (number)" before its extension, which starts at the last "." that
// is not the first character; number 1 gives the name itself. The part before the
// number loses whole characters from its end until the name takes at most 255 bytes.
QString numberedName(const QString& name, int number);
