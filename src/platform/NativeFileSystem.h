#pragma once

#include "FileSystem.h"

// The file system of the machine the program runs on; one source file per OS.
class NativeFileSystem : public FileSystem
{
public:
    bool folderExists(const QString& path) override;
    bool fileExists(const QString& path) override;
    QStringList listFiles(const QString& folder) override;
    FileTimesRead fileTimes(const QString& path) override;
    QByteArray readFile(const QString& path) override;
};
