#include "LogText.h"
#include "platform/NativeName.h"
#include "platform/Windows1252.h"

namespace {

bool refusedInALine(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029;
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
            line.append(toWindows1252(character).value_or('?'));
        }
    }
    line.append("\r\n");
    return line;
}

QStringList logLines(const QByteArray& bytes)
{
    const QString text = fromWindows1252(bytes);
    QStringList lines = text.split(QStringLiteral("\r\n"));
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}
