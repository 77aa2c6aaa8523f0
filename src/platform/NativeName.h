#pragma once

#include <QByteArray>
#include <QString>

// File names on Linux are bytes, and not every name is valid UTF-8 (a name made
// on a machine with another encoding, a FAT stick). Names are decoded without
// loss: a valid UTF-8 name as it stands, otherwise each byte that is not part of
// a valid sequence (0x80 to 0xFF) becomes the reserved code point U+DC00 + byte
// (U+DC80 to U+DCFF), which encodes back to exactly that byte. nativeBytes() is
// the only way a name or a path goes back to the operating system: Qt's own path
// functions would each turn such a code point into something else.

QString nameFromNative(const QByteArray& bytes);
QByteArray nativeBytes(const QString& name);

// True when the name holds a byte that is not valid UTF-8.
bool hasEscapedBytes(const QString& name);

// What the invigilator sees of a name or a path: each escaped byte as U+FFFD.
QString displayName(const QString& name);
