#pragma once

#include "platform/FileSystem.h"

#include <QDateTime>
#include <QList>

#include <optional>

// The newest of a station's listed files, by the clock minute of its creation:
// the first in list order wins among files created in the same minute, and files
// that vanished (nullopt) are skipped. With no later file than the start value,
// position 0 and the start value (1 January 1980, 00:00) stay.
struct NewestFile
{
    int position = 0;
    QDateTime created;
    std::optional<QDateTime> modified; // of the chosen file; none when it vanished
};

QDateTime newestFileStartValue();
NewestFile findNewestFile(const QList<std::optional<FileTimes>>& listedTimes);
