#pragma once

#include "platform/FileSystem.h"
#include "platform/RunError.h"
#include "window/FileNamePattern.h"

#include <QList>
#include <QString>

#include <optional>

// What one look at a station saw: everything its row shows, as a value that crosses from the
// station's thread to the window's.
struct StationSnapshot
{
    enum Outcome {
        Listed,      // the folder and its files in the pattern, with their times
        NotFound,    // no folder there: a PC switched off, a share not mounted, no path
        Unreachable, // the share is gone or broken (error says how), or the folder went as it was read
        Failed       // another failure (a refused access, say): error says which
    };
    QString path;    // the station's path, as its row held it when the look began
    QString pattern; // the list's pattern then
    Outcome outcome = NotFound;
    QList<ListedFile> files;
    std::optional<RunError> error; // Unreachable and Failed; also a Listed one with a refused file
};

// Looks at the folder: whether it is there, its files in the pattern, their times. Runs on the
// station's own thread; never throws.
StationSnapshot lookAtStation(FileSystem& fs, const QString& path, const QString& patternText,
                              const FileNamePattern& pattern);
