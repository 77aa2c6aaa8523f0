#pragma once

#include "platform/NativeFileSystem.h"
#include "platform/RunError.h"

#include <QDateTime>
#include <QHash>

#include <functional>

// The real file system of the test's temporary folders, with file times the test
// chooses (birth times cannot be set on Linux) and operations made to fail on
// purpose (tests run as root, where permissions cannot make a file unreadable).
class FakeFileSystem : public NativeFileSystem
{
public:
    bool folderExists(const QString& path) override;
    QList<ListedFile> listFiles(const QString& folder, const NameFilter& wanted, bool withTimes) override;
    FileTimesRead fileTimes(const QString& path) override;

    // Without a modification time, the file was last saved when it was created.
    void setTimes(const QString& path, const QDateTime& created, const QDateTime& modified = {})
    {
        const QDateTime saved = modified.isValid() ? modified : created;
        times.insert(path, FileTimes{created.toMSecsSinceEpoch(), saved.toMSecsSinceEpoch()});
    }

    QHash<QString, FileTimes> times;                      // by path as the program builds it
    QHash<QString, RunError> listingFailures;             // by folder
    QHash<QString, FileTimesRead::Outcome> timesOutcomes; // by file path: gone, unreadable, refused
    std::function<void(const QString&)> onFolderExists;
    // Runs once a folder is read, before the status calls of its files.
    std::function<void(const QString&)> afterListing;

    int folderExistsCalls = 0;
    int listingCalls = 0;

protected:
    void afterReadingFolder(const QString& folder) override;
    FileTimesRead statusOfListed(const QString& folder, const QString& name,
                                 const std::function<FileTimesRead()>& status) override;

private:
    FileTimesRead adjusted(const QString& path, const std::function<FileTimesRead()>& status);
};
