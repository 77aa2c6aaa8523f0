#include "NewestFile.h"
#include "platform/DateTimeText.h"

QDateTime newestFileStartValue()
{
    return QDateTime(QDate(1980, 1, 1), QTime(0, 0, 0));
}

NewestFile findNewestFile(const QList<std::optional<FileTimes>>& listedTimes)
{
    NewestFile newest;
    newest.created = newestFileStartValue();
    if (!listedTimes.isEmpty() && listedTimes.first())
        newest.modified = listedTimes.first()->modified;
    for (qsizetype k = 0; k < listedTimes.size(); ++k) {
        const std::optional<FileTimes>& times = listedTimes[k];
        if (!times)
            continue;
        if (minuteBoundariesBetween(newest.created, times->created) > 0) {
            newest.position = static_cast<int>(k);
            newest.created = times->created;
            newest.modified = times->modified;
        }
    }
    return newest;
}
