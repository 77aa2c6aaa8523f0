#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// A line of a log the invigilator reads (the collection's log.txt, the backup record):
// Windows-1252, ended by CR LF. Students choose their file names and the window's texts
// come from the station list and the teacher, so nothing written may end a line early
// or add one of its own: after NFC normalisation, every control character (C0, DEL,
// C1), line or paragraph separator, escaped byte of a name, or character that
// Windows-1252 cannot hold is written as "?".
QByteArray logLine(const QString& text);

// The lines of such a log, read back.
QStringList logLines(const QByteArray& bytes);
