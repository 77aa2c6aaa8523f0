#include "StationLook.h"

StationSnapshot lookAtStation(FileSystem& fs, const QString& path, const QString& patternText,
                              const FileNamePattern& pattern)
{
    StationSnapshot snapshot;
    snapshot.path = path;
    snapshot.pattern = patternText;
    try {
        if (!fs.folderExists(path))
            return snapshot;
        snapshot.files = fs.listFiles(
            path, [&pattern](const QString& name) { return pattern.matches(name); }, true);
        snapshot.outcome = StationSnapshot::Listed;
        for (const ListedFile& file : std::as_const(snapshot.files)) {
            if (file.times.outcome == FileTimesRead::Refused)
                snapshot.error = RunError::fromNumber(ErrorNumber::PermissionDenied);
        }
    } catch (const RunError& error) {
        // A folder found and then not listable went, or its share did.
        const bool gone = error.isShareGone() || error.number() == ErrorNumber::PathNotFound ||
                          error.number() == ErrorNumber::FileNotFound;
        snapshot.outcome = gone ? StationSnapshot::Unreachable : StationSnapshot::Failed;
        snapshot.error = error;
        snapshot.files.clear();
    }
    return snapshot;
}
