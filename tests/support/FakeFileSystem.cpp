#include "support/FakeFileSystem.h"

bool FakeFileSystem::folderExists(const QString& path)
{
    ++folderExistsCalls;
    if (onFolderExists)
        onFolderExists(path);
    return NativeFileSystem::folderExists(path);
}

QStringList FakeFileSystem::listFiles(const QString& folder)
{
    ++listingCalls;
    if (const auto failure = listingFailures.constFind(folder); failure != listingFailures.cend())
        throw *failure;
    QStringList names = NativeFileSystem::listFiles(folder);
    if (afterListing)
        afterListing(folder);
    return names;
}

std::optional<FileTimes> FakeFileSystem::fileTimes(const QString& path)
{
    if (const auto failure = timesFailures.constFind(path); failure != timesFailures.cend())
        throw *failure;
    std::optional<FileTimes> real = NativeFileSystem::fileTimes(path);
    if (real && times.contains(path))
        return times.value(path);
    return real;
}
