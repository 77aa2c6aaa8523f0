#pragma once

#include "platform/NativeFileSystem.h"
#include "platform/RunError.h"

#include <QDateTime>
#include <QHash>
#include <QSet>

#include <condition_variable>
#include <functional>
#include <mutex>

// The real file system of the test's temporary folders, with file times the test
// chooses (birth times cannot be set on Linux) and operations made to fail on
// purpose (tests run as root, where permissions cannot make a file unreadable).
class FakeFileSystem : public NativeFileSystem
{
public:
    QList<ListedFile> listFiles(const QString& folder, const NameFilter& wanted, bool withTimes) override;
    FileTimesRead fileTimes(const QString& path) override;

    void setTimes(const QString& path, const QDateTime& created, const QDateTime& modified)
    {
        times.insert(path, FileTimes{created.toMSecsSinceEpoch(), modified.toMSecsSinceEpoch()});
    }

    QHash<QString, FileTimes> times;                      // by path as the program builds it
    QHash<QString, RunError> listingFailures;             // by folder
    QHash<QString, FileTimesRead::Outcome> timesOutcomes; // by file path: gone, unreadable, refused
    // Runs once a folder is read, before the status calls of its files.
    std::function<void(const QString&)> afterListing = [](const QString&) {};

    std::unique_ptr<FileHandle> openToRead(const QString& path) override;
    std::unique_ptr<FileHandle> createNew(const QString& path) override;
    Claim renameNoReplace(const QString& from, const QString& to) override;
    Claim linkNew(const QString& from, const QString& to) override;
    void renameOver(const QString& from, const QString& to) override;
    void syncFolder(const QString& path) override; // "sync folder" fails it
    void removeFile(const QString& path) override; // beforeRemove runs first, with the path
    std::function<void(const QString&)> beforeRemove = [](const QString&) {};
    // The first removals and moves of each path refused as busy, as another program holds the file.
    int busyRemovals = 0, busyMoves = 0;

    // Operations that fail with the errno the system would answer: "write" to a new
    // file once failAfterBytes went through; "sync" and "close" of a
    // new file ("write NAME", "sync NAME", "close NAME": of the file of that name only);
    // "replace" (renameOver); "rename" (renameNoReplace) and "link" to a free name, as
    // sshfs, which still reports a taken name as taken.
    // A failed write writes the bytes up to failAfterBytes first.
    QHash<QString, int> errors;
    qint64 failAfterBytes = 0;
    bool corruptNewFiles = false; // a new file reads back with its first byte changed
    qint64 endOfFileAt = -1;      // reads of existing files end early there, as a share may
    // Runs after each read of an existing file, with its path: a student saving meanwhile.
    std::function<void(const QString&)> whileReading = [](const QString&) {};

    // Runs as each claim of a name begins (rename, link or create), with the path.
    std::function<void(const QString&)> beforeClaim = [](const QString&) {};

    void failIf(const QString& operation) const;

    // Emptying the stations: the faults of a new file hold for an appended one. Times in statusTimes
    // (modified, changed, in ns) stand for a path's real ones, by its path and opened, so that a test says
    // what a change shows; zero nanoseconds play a file system of whole seconds.
    std::unique_ptr<FileHandle> openToAppend(const QString& path) override;
    std::optional<FileStatus> status(const QString& path) override;
    FileStatus withStatusTimes(const QString& path, FileStatus status) const;
    QHash<QString, std::pair<qint64, qint64>> statusTimes;

    // Shares that stop answering: every call on a path that starts with one of the
    // folders waits until release(), from whatever thread it comes. callsHeld counts
    // the calls that waited. Slow shares: every call there, and the status of each file a
    // listing there gives, answers after ms.
    void hangUnder(const QString& folder);
    void delayUnder(const QString& folder, int ms);
    void release();
    void waitIfHanging(const QString& path) const;
    int callsHeld() const;

    bool folderExists(const QString& path) override;
    std::optional<FileStatus>
    entryStatus(const QString& path) override; // beforeLook runs first, with the path
    std::function<void(const QString&)> beforeLook = [](const QString&) {};

protected:
    void afterReadingFolder(const QString& folder) override { afterListing(folder); }
    FileTimesRead statusOfListed(const QString& folder, const QString& name,
                                 const std::function<FileTimesRead()>& status) override;

private:
    FileTimesRead adjusted(const QString& path, const std::function<FileTimesRead()>& status);
    QSet<QString> m_created;
    QHash<QString, int> m_refusedAsBusy;
    struct Hang
    {
        std::mutex mutex;
        std::condition_variable released;
        QStringList folders;
        QHash<QString, int> delays;
        int held = 0;
    };
    std::shared_ptr<Hang> m_hang = std::make_shared<Hang>();
};
