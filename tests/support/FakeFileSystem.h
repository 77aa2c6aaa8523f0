#pragma once

#include "platform/NativeFileSystem.h"
#include "platform/RunError.h"

#include <QHash>

#include <functional>

// The real file system of the test's temporary folders, with file times the test
// chooses (birth times cannot be set on Linux) and operations made to fail on
// purpose (tests run as root, where permissions cannot make a file unreadable).
class FakeFileSystem : public NativeFileSystem
{
public:
    bool folderExists(const QString& path) override;
    QStringList listFiles(const QString& folder) override;
    FileTimesRead fileTimes(const QString& path) override;

    // Without a modification time, the file was last saved when it was created.
    void setTimes(const QString& path, const QDateTime& created, const QDateTime& modified = {})
    {
        times.insert(path, FileTimes{created, modified.isValid() ? modified : created});
    }

    QHash<QString, FileTimes> times;                      // by path as the program builds it
    QHash<QString, RunError> listingFailures;             // by folder
    QHash<QString, RunError> timesFailures;               // by file path
    QHash<QString, FileTimesRead::Outcome> timesOutcomes; // by file path: gone or unreadable
    std::function<void(const QString&)> onFolderExists;
    std::function<void(const QString&)> afterListing;

    int folderExistsCalls = 0;
    int listingCalls = 0;
};
