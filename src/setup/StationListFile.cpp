#include "StationListFile.h"
#include "platform/RunError.h"
#include "platform/Windows1252.h"

#include <QStringDecoder>

namespace {

QString decode(const QByteArray& content)
{
    // The decoder drops a leading byte-order mark.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(content);
    if (!utf8.hasError())
        return text;
    return fromWindows1252(content);
}

} // namespace

QStringList stationListLines(const QByteArray& content)
{
    const QString text = decode(content);
    QStringList lines = text.split(QLatin1Char('\n'));
    // The piece after a final line end is no line.
    if (lines.last().isEmpty())
        lines.removeLast();
    else if (lines.last() == QLatin1String("\r"))
        lines.removeLast();
    for (QString& line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    return lines;
}

QString LineReader::readLine()
{
    if (atEnd())
        throw RunError::fromNumber(ErrorNumber::InputPastEndOfFile);
    return m_lines.at(m_next++);
}
