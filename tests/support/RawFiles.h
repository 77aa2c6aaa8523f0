#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

// Files by the bytes of their names, which need not be UTF-8: QDir and QFile would
// leave such a name out or change it.

// Writes the file, and sets its modification time when one is given.
void writeRaw(const QString& path, const QByteArray& content, qint64 modifiedNs = 0);

// Every entry of a folder with its content; a folder's content is "<folder>", a link's
// "<link> " and where it leads.
QMap<QString, QByteArray> contents(const QString& folder);
