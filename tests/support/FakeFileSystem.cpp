#include "support/FakeFileSystem.h"
#include "platform/Paths.h"

bool FakeFileSystem::folderExists(const QString& path)
{
    ++folderExistsCalls;
    if (onFolderExists)
        onFolderExists(path);
    return NativeFileSystem::folderExists(path);
}

QList<ListedFile> FakeFileSystem::listFiles(const QString& folder, const NameFilter& wanted, bool withTimes)
{
    ++listingCalls;
    if (const auto failure = listingFailures.constFind(folder); failure != listingFailures.cend())
        throw *failure;
    return NativeFileSystem::listFiles(folder, wanted, withTimes);
}

void FakeFileSystem::afterReadingFolder(const QString& folder)
{
    if (afterListing)
        afterListing(folder);
}

FileTimesRead FakeFileSystem::fileTimes(const QString& path)
{
    FileTimesRead result = adjusted(path, [&] { return NativeFileSystem::fileTimes(path); });
    if (result.outcome == FileTimesRead::Refused)
        throw RunError::fromNumber(ErrorNumber::PermissionDenied);
    return result;
}

FileTimesRead FakeFileSystem::statusOfListed(const QString& folder, const QString& name,
                                             const std::function<FileTimesRead()>& status)
{
    return adjusted(joinPath(folder, name), status);
}

FileTimesRead FakeFileSystem::adjusted(const QString& path, const std::function<FileTimesRead()>& status)
{
    if (const auto outcome = timesOutcomes.constFind(path); outcome != timesOutcomes.cend())
        return FileTimesRead{*outcome, {}};
    FileTimesRead real = status();
    if (real.read() && times.contains(path))
        real.times = times.value(path);
    return real;
}
