#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

struct FileTimes
{
    QDateTime created; // birth time where the file system keeps one, else the last modification
    QDateTime modified;
};

// What one status call of a listed file found.
struct FileTimesRead
{
    enum Outcome {
        Read,      // times holds both times
        Gone,      // no plain file there any more
        Unreadable // there, but the share did not answer for it (I/O error, stale handle, ...)
    };
    Outcome outcome = Gone;
    FileTimes times;

    bool read() const { return outcome == Read; }
};

// Every file and folder operation of the program. Operations that can fail
// throw RunError with the number that matches the failure; the existence tests
// answer false, never an error, for empty, malformed or unreachable paths.
class FileSystem
{
public:
    virtual ~FileSystem() = default;

    virtual bool folderExists(const QString& path) = 0;
    virtual bool fileExists(const QString& path) = 0;

    // Names (without folder) of the plain files in a folder, hidden ones left out, in no set order.
    // An entry whose kind cannot be told (its status call fails, but not for a missing
    // file) is listed: a file the share does not describe is still a student's file.
    virtual QStringList listFiles(const QString& folder) = 0;

    // Both times of a plain file in one status call. A refused access throws RunError 70;
    // a file that is gone or that the share cannot give answers so, without an error.
    virtual FileTimesRead fileTimes(const QString& path) = 0;

    // The whole content of a file.
    virtual QByteArray readFile(const QString& path) = 0;
};
