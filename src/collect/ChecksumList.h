#pragma once

#include <QByteArray>
#include <QString>

// A line of SHA256SUMS exactly as sha256sum writes it, so that "sha256sum -c
// SHA256SUMS" in the collection folder proves each copy unchanged: the digest, two
// blanks, the name's bytes. A name holding "\", a line feed or a carriage return
// has them written "\\", "\n" and "\r", and its line starts with "\".
QByteArray checksumLine(const QString& sha256, const QString& name);
