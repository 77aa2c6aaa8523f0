#pragma once

#include <QDateTime>
#include <QString>

// Minute boundaries crossed from one instant to the other, in milliseconds since the epoch
// (10:00:59 to 10:11:00 is 11). Counted on instants, not on the local clock: the two agree
// except across a change of the UTC offset, where the clock would count a file saved
// seconds before the autumn change as saved an hour later, and five minutes across the
// spring change as sixty-five.
qint64 minuteBoundariesBetween(qint64 from, qint64 to);

// The system's general date form: short date, a blank, the time with seconds (no time zone).
QString generalDateText(const QDateTime& dateTime);
