#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Windows-1252, the code page of the lab's Windows PCs, in which log.txt is written and
// pcs.txt may be: the system's own tables (ICU on Linux, code page 1252 on Windows).

QString fromWindows1252(QByteArrayView bytes);
// One character (one code point, as its UTF-16) as its byte, or nullopt when the code page has
// no such character.
std::optional<char> toWindows1252(QStringView character);
