#pragma once

#include <QDateTime>
#include <QString>

// Minute boundaries crossed from one local date-time to the other (10:00:59 to 10:11:00 is 11).
qint64 minuteBoundariesBetween(const QDateTime& from, const QDateTime& to);

// The system's general date form: short date, a blank, the time with seconds (no time zone).
QString generalDateText(const QDateTime& dateTime);
