#pragma once

#include "FileSystem.h"

// The file system of the machine the program runs on; one source file per OS.
class NativeFileSystem : public FileSystem
{
public:
    bool folderExists(const QString& path) override;
    bool fileExists(const QString& path) override;
    QStringList listFiles(const QString& folder) override;
    std::optional<FileTimes> fileTimes(const QString& path) override;
    QByteArray readFile(const QString& path) override;

    // Writing without ever replacing a file.
    std::optional<FileStatus> status(const QString& path) override;
    std::unique_ptr<FileHandle> openToRead(const QString& path) override;
    std::unique_ptr<FileHandle> createNew(const QString& path) override;
    Claim renameNoReplace(const QString& from, const QString& to) override;
    Claim linkNew(const QString& from, const QString& to) override;
    void renameOver(const QString& from, const QString& to) override;
    void removeFile(const QString& path) override;
    void syncFolder(const QString& path) override;
};
