#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class Form1;

// The lines of log.txt, each ready to be written as it is.

// The eight lines that open it: when, which session, laboratory, teacher, filter,
// how many stations and which folder, as the window shows them now; an empty line.
QList<QByteArray> logHeader(Form1& form);

// Where a station's file went: the collection folder, with the name of the copy when
// that name was taken and the copy had to take another.
QByteArray copyLine(const QString& source, const QString& folder, const QString& otherName);

// A listed file that is a symbolic link: never followed, so not collected.
QString linkSkippedText(const QString& source);
QByteArray linkSkippedLine(const QString& source);

// A station that gave nothing, or nothing more, when its turn came, and why.
QString nothingCollectedText(const QString& station, const QString& reason);
QByteArray nothingCollectedLine(const QString& station, const QString& reason);
// A station whose share broke or stopped answering during the run, and the files left on it.
QString stationLostText(const QString& station, const QString& reason, const QStringList& left);

// The last line of a run that failed.
QByteArray interruptionLine(const QString& failure);
