#include "Windows1252.h"

#include <QStringDecoder>
#include <QStringEncoder>

// Qt built with ICU, as Debian's is, knows the code page by name.

QString fromWindows1252(QByteArrayView bytes)
{
    QStringDecoder decoder("windows-1252", QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

std::optional<char> toWindows1252(QStringView character)
{
    QStringEncoder encoder("windows-1252", QStringConverter::Flag::Stateless);
    const QByteArray bytes = encoder.encode(character);
    // The encoder writes 0x1A, itself a control character, for what it cannot map.
    if (encoder.hasError() || bytes.size() != 1 || bytes[0] == '\x1a')
        return std::nullopt;
    return bytes[0];
}
