#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

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
};
