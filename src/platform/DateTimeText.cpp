#include "DateTimeText.h"

#include <QLocale>

namespace {

qint64 minuteNumber(qint64 msecsSinceEpoch)
{
    constexpr qint64 MsecsPerMinute = 60 * 1000;
    // Rounded down, also before 1970.
    return msecsSinceEpoch >= 0 ? msecsSinceEpoch / MsecsPerMinute
                                : -((-msecsSinceEpoch + MsecsPerMinute - 1) / MsecsPerMinute);
}

// The locale's long time format names the time zone; the general date form has none.
QString longTimeFormatWithoutZone(const QLocale& locale)
{
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString result;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t'))
            continue;
        result.append(c);
    }
    // Brackets or a comma that held the zone go with it ("HH:mm:ss (t)", "HH:mm:ss, t").
    for (const QString& empty : {QStringLiteral("()"), QStringLiteral("[]")})
        result.remove(empty);
    result = result.trimmed();
    while (result.endsWith(QLatin1Char(',')))
        result = result.chopped(1).trimmed();
    return result;
}

} // namespace

qint64 minuteBoundariesBetween(qint64 from, qint64 to)
{
    return minuteNumber(to) - minuteNumber(from);
}

QString generalDateText(const QDateTime& dateTime)
{
    const QLocale locale = QLocale::system();
    const QDateTime local = dateTime.toLocalTime();
    return locale.toString(local.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           locale.toString(local.time(), longTimeFormatWithoutZone(locale));
}
