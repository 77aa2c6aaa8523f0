#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

// Files by the bytes of their names, which need not be UTF-8: QDir and QFile would
// leave such a name out or change it.

// Writes the file, and sets its modification time when one is given.
void writeRaw(const QString& path, const QByteArray& content, qint64 modifiedNs = 0);

// A symbolic link at path to target, as it is written (relative to the link's folder, or not).
bool makeLink(const QString& target, const QString& path);

// Every entry under a folder, by its path from there, with its content: a link's is
// "<link> " and where it leads; a folder is an entry "name/" only when it is empty.
QMap<QString, QByteArray> contents(const QString& folder);

// This system's own part of contents(): the names in a folder, hidden ones included, and where a
// symbolic link leads.
QStringList entryNames(const QString& folder);
QByteArray linkTarget(const QString& link);
