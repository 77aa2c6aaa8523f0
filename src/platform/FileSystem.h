#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

// Instants in milliseconds since the epoch. They are compared as they are and turned
// into local time only where they are shown: a conversion to local time is a look at
// the time zone, for every file of every refresh.
struct FileTimes
{
    qint64 created = 0; // birth time where the file system keeps one, else the last modification
    qint64 modified = 0;
};

// What one status call of a listed file found.
struct FileTimesRead
{
    enum Outcome {
        Read,       // times holds both times
        Gone,       // nothing there any more, or not read
        NotPlain,   // there, but a folder or another kind of entry
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
    virtual bool fileExists(const QString& path) = 0;

    // The plain files of a folder whose names pass wanted, hidden ones left out, in no set
    // order. With withTimes, each comes with its times, from one status call made after the
    // whole folder was read; without, only entries whose kind the listing does not give are
    // looked at. A file listed as such that is gone by its status call stays listed (its
    // times say Gone); an entry whose kind cannot be told because its status call fails,
    // but not for a missing file, is listed too: a file the share does not describe is
    // still a student's file.
    virtual QList<ListedFile> listFiles(const QString& folder, const NameFilter& wanted, bool withTimes) = 0;

    // Both times of a plain file in one status call; a file that is gone, or that the share
    // cannot give, answers so without an error. A refused access throws RunError 70.
    virtual FileTimesRead fileTimes(const QString& path) = 0;

    // The whole content of a file.
    virtual QByteArray readFile(const QString& path) = 0;
};
