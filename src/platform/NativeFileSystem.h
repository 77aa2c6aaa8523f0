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
};

// The program's working folder, decoded without loss; empty when it cannot be known.
QString workingFolder();
