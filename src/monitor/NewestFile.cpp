#include "NewestFile.h"
#include "platform/DateTimeText.h"

#include <QDateTime>

qint64 newestFileStartValue()
{
    static const qint64 start = QDateTime(QDate(1980, 1, 1), QTime(0, 0, 0)).toMSecsSinceEpoch();
    return start;
}

NewestFile findNewestFile(const QList<FileTimesRead>& listedTimes)
{
    NewestFile newest;
    newest.created = newestFileStartValue();
    if (!listedTimes.isEmpty() && listedTimes.first().read())
        newest.modified = listedTimes.first().times.modified;
    for (qsizetype k = 0; k < listedTimes.size(); ++k) {
        const FileTimesRead& entry = listedTimes[k];
        if (!entry.read()) {
            newest.someUnreadable |= entry.outcome == FileTimesRead::Unreadable;
            continue;
        }
        newest.noTimeRead = false;
        if (minuteBoundariesBetween(newest.created, entry.times.created) > 0) {
            newest.position = static_cast<int>(k);
            newest.created = entry.times.created;
            newest.modified = entry.times.modified;
        }
    }
    return newest;
}
