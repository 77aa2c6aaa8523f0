#pragma once

#include "platform/FileSystem.h"

#include <QList>

#include <optional>

// The newest of a station's listed files, by the clock minute of its creation:
// the first in list order wins among files created in the same minute, and files
// whose times could not be read are skipped. With no later file than the start
// value, position 0 and the start value (1 January 1980, 00:00) stay.
struct NewestFile
{
    int position = 0;
    qint64 created = 0;             // an instant, as the file system gives it
    std::optional<qint64> modified; // of the chosen file; none when its times were not read
    bool noTimeRead = true;         // not one listed file's times could be read
    bool someUnreadable = false;    // the share could not give the times of a listed file
};

// 1 January 1980, 00:00:00 local time, as an instant.
qint64 newestFileStartValue();
NewestFile findNewestFile(const QList<FileTimesRead>& listedTimes);
