#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The lines of the station list file: decoded once for the whole file (UTF-8 when
// it is valid UTF-8, its byte-order mark dropped, else Windows-1252) and split at
// CR LF or LF. A line end after the last line starts no further line.
QStringList stationListLines(const QByteArray& content);

// Reads lines one after the other; reading past the last one fails with error 62.
class LineReader
{
public:
    explicit LineReader(QStringList lines) : m_lines(std::move(lines)) {}

    bool atEnd() const { return m_next >= m_lines.size(); }
    QString readLine();

private:
    QStringList m_lines;
    qsizetype m_next = 0;
};
