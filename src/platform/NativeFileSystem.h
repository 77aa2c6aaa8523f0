#pragma once

#include "FileSystem.h"

// The file system of the machine the program runs on; one source file per OS.
class NativeFileSystem : public FileSystem
{
public:
    bool folderExists(const QString& path) override;
    QList<ListedFile> listFiles(const QString& folder, const NameFilter& wanted, bool withTimes) override;
    FileTimesRead fileTimes(const QString& path) override;
    QByteArray readFile(const QString& path) override;

    // Writing without ever replacing a file.
    std::optional<FileStatus> status(const QString& path) override;
    std::optional<FileStatus> entryStatus(const QString& path) override;
    std::unique_ptr<FileHandle> openToRead(const QString& path) override;
    std::unique_ptr<FileHandle> createNew(const QString& path) override;
    Claim renameNoReplace(const QString& from, const QString& to) override;
    Claim linkNew(const QString& from, const QString& to) override;
    void renameOver(const QString& from, const QString& to) override;
    void removeFile(const QString& path) override;
    void syncFolder(const QString& path) override;

    // Emptying the stations' folders.
    QStringList listAllFiles(const QString& folder) override;
    std::unique_ptr<FileHandle> openToAppend(const QString& path) override;

protected:
    // Seams for tests: between reading a folder and the status calls of its files, and
    // around each status call of a listed file.
    virtual void afterReadingFolder(const QString& folder) { Q_UNUSED(folder); }
    virtual FileTimesRead statusOfListed(const QString& folder, const QString& name,
                                         const std::function<FileTimesRead()>& status)
    {
        Q_UNUSED(folder);
        Q_UNUSED(name);
        return status();
    }
};

// The program's working folder, decoded without loss; empty when it cannot be known.
QString workingFolder();
