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

FileTimesRead FakeFileSystem::fileTimes(const QString& path)
{
    if (const auto failure = timesFailures.constFind(path); failure != timesFailures.cend())
        throw *failure;
    if (const auto outcome = timesOutcomes.constFind(path); outcome != timesOutcomes.cend())
        return FileTimesRead{*outcome, {}};
    FileTimesRead real = NativeFileSystem::fileTimes(path);
    if (real.read() && times.contains(path))
        real.times = times.value(path);
    return real;
}
