#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

#include "FileHandle.h"

struct FileTimes
{
    QDateTime created; // birth time where the file system keeps one, else the last modification
    QDateTime modified;
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
    virtual QStringList listFiles(const QString& folder) = 0;

    // Both times of a plain file in one status call; nullopt when no file is there.
    virtual std::optional<FileTimes> fileTimes(const QString& path) = 0;

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
};
