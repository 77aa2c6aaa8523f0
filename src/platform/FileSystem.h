#pragma once

#include "FileHandle.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

// Instants in milliseconds since the epoch. They are compared as they are and turned
// into local time only where they are shown: a conversion to local time is a look at
// the time zone, for every file of every refresh.
struct FileTimes
{
    qint64 created = 0; // birth time where the file system keeps one, else the last modification
    qint64 modified = 0;
    qint64 size = -1; // bytes, from the same status call; -1 when not known
};

// What one status call of a listed file found.
struct FileTimesRead
{
    enum Outcome {
        Read,       // times holds both times
        Gone,       // nothing there any more, or not read
        NotPlain,   // there, but a folder or another kind of entry
        Link,       // a symbolic link: listed as what it is, never followed
        Unreadable, // there, but the share did not answer for it (I/O error, stale handle, ...)
        Refused     // access refused: an error of whoever needs the times
    };
    Outcome outcome = Gone;
    FileTimes times;

    bool read() const { return outcome == Read; }
};

struct ListedFile
{
    QString name; // exact: it may hold escaped bytes
    FileTimesRead times;
};

using NameFilter = std::function<bool(const QString&)>;

// Every file and folder operation of the program. Operations that can fail
// throw RunError with the number that matches the failure; the existence tests
// answer false, never an error, for empty, malformed or unreachable paths.
class FileSystem
{
public:
    virtual ~FileSystem() = default;

    virtual bool folderExists(const QString& path) = 0;

    // The plain files and symbolic links of a folder whose names pass wanted, hidden ones
    // left out, in no set order; a link is never followed, and its times say Link. With withTimes, each comes
    // with its times, from one status call made after the whole folder was read; without, only entries whose
    // kind the listing does not give are looked at. A file listed as such that is gone by its status call
    // stays listed (its times say Gone); an entry whose kind cannot be told because its status call fails,
    // but not for a missing file, is listed too: a file the share does not describe is
    // still a student's file.
    virtual QList<ListedFile> listFiles(const QString& folder, const NameFilter& wanted, bool withTimes) = 0;

    // Both times of a plain file in one status call, a final link not followed; a file that
    // is gone, or that the share cannot give, answers so without an error. A refused access throws
    // RunError 70.
    virtual FileTimesRead fileTimes(const QString& path) = 0;

    // The whole content of a file.
    virtual QByteArray readFile(const QString& path) = 0;

    // Writing without ever replacing a file.

    // How an attempt to give a file a name, without taking it from another file, ended.
    enum class Claim {
        Claimed,
        Taken,      // a file or folder has the name
        Unsupported // the file system cannot make this attempt; another way may work
    };

    // The status of what the path leads to, links followed; nullopt when nothing is there.
    virtual std::optional<FileStatus> status(const QString& path) = 0;
    // The status of the entry itself: a final symbolic link is not followed and is of kind Link.
    virtual std::optional<FileStatus> entryStatus(const QString& path) = 0;
    // Never through a final symbolic link: such a path throws SymbolicLinkRefused.
    virtual std::unique_ptr<FileHandle> openToRead(const QString& path) = 0;
    // A new empty file; nullptr when the name is taken.
    virtual std::unique_ptr<FileHandle> createNew(const QString& path) = 0;
    // Moves the file within its folder, only if the new name is free.
    virtual Claim renameNoReplace(const QString& from, const QString& to) = 0;
    // Gives the file a second name, only if that name is free.
    virtual Claim linkNew(const QString& from, const QString& to) = 0;
    // Moves the file onto another, replacing it: only onto a file the program has just created itself.
    virtual void renameOver(const QString& from, const QString& to) = 0;
    virtual void removeFile(const QString& path) = 0;
    // Makes the names created in the folder outlive a power cut, where the file system can.
    virtual void syncFolder(const QString& path) = 0;

    // Emptying the stations' folders.

    // The names of every plain file and symbolic link directly in a folder, hidden ones
    // included, in no set order; as listFiles, an entry whose kind cannot be told is listed,
    // sub-folders are not.
    virtual QStringList listAllFiles(const QString& folder) = 0;
    // A file to add to at its end, created when missing: never truncated, never replaced.
    virtual std::unique_ptr<FileHandle> openToAppend(const QString& path) = 0;

    // Whether the share that holds the path has stopped answering: its calls then fail at
    // once with StationNotAnswering (and folderExists says false) until it answers again.
    virtual bool notAnswering(const QString& path)
    {
        Q_UNUSED(path);
        return false;
    }
};
