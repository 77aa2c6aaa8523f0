#include "LogText.h"
#include "platform/NativeName.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

bool refusedInALine(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029;
}

// One character in Windows-1252, or "?". The encoder writes 0x1A, itself a control
// character, for what it cannot map.
QByteArray windows1252(QStringView character, char32_t c)
{
    QStringEncoder encoder("windows-1252", QStringConverter::Flag::Stateless);
    if (!encoder.isValid()) {
        // Without the Windows-1252 tables, Latin-1 agrees with them above 0x9F.
        return QByteArray(1, c <= 0xFF ? static_cast<char>(c) : '?');
    }
    const QByteArray bytes = encoder.encode(character);
    if (encoder.hasError() || bytes.size() != 1 || bytes[0] == '\x1a')
        return QByteArrayLiteral("?");
    return bytes;
}

} // namespace

QByteArray logLine(const QString& text)
{
    // Escaped bytes stand out before normalising: U+FFFD is not in Windows-1252 either.
    const QString normalised = displayName(text).normalized(QString::NormalizationForm_C);
    QByteArray line;
    line.reserve(normalised.size() + 2);
    for (qsizetype k = 0; k < normalised.size();) {
        const qsizetype length = normalised.at(k).isHighSurrogate() && k + 1 < normalised.size() ? 2 : 1;
        const QStringView character = QStringView(normalised).mid(k, length);
        k += length;
        const char32_t c =
            length == 2 ? QChar::surrogateToUcs4(character[0], character[1]) : character[0].unicode();
        if (refusedInALine(c)) {
            line.append('?');
        } else if (c < 0x80) {
            line.append(static_cast<char>(c));
        } else {
            line.append(windows1252(character, c));
        }
    }
    line.append("\r\n");
    return line;
}

QStringList logLines(const QByteArray& bytes)
{
    QStringDecoder decoder("windows-1252", QStringConverter::Flag::Stateless);
    // Without the Windows-1252 tables, Latin-1 agrees with them above 0x9F.
    const QString text = decoder.isValid() ? decoder.decode(bytes) : QString::fromLatin1(bytes);
    QStringList lines = text.split(QStringLiteral("\r\n"));
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}
