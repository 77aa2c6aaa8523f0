#include "BackupRecord.h"
#include "BusyRetry.h"
#include "LogText.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

#include <QRegularExpression>

namespace {

const QString MovedAsidePattern =
    QStringLiteral("^A apagar (.*): movido para %1 \\(cópia (.*), SHA-256 ([0-9a-f]{64})\\)$");

} // namespace

BackupRecord::BackupRecord(FileSystem& fs, const QString& folder) : m_fs(fs), m_path(pathIn(folder))
{
    try {
        m_file = retryWhileBusy([&] { return fs.openToAppend(m_path); });
    } catch (const RunError& error) {
        throw Failure(error);
    }
}

QString BackupRecord::fileName()
{
    return QStringLiteral("backup-log.txt");
}

QString BackupRecord::pathIn(const QString& folder)
{
    return joinPath(folder, fileName());
}

void BackupRecord::write(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += logLine(line);
    try {
        m_file->write(bytes.constData(), bytes.size());
        m_file->sync();
    } catch (const RunError& error) {
        throw Failure(error);
    }
}

void BackupRecord::writeQuietly(const QString& line)
{
    try {
        write(line);
    } catch (const Failure&) {
    }
}

QString BackupRecord::movedAsideLine(const QString& original, const QString& hiddenName,
                                     const QString& backup, const QString& sha256)
{
    return QStringLiteral("A apagar %1: movido para %2 (cópia %3, SHA-256 %4)")
        .arg(original, hiddenName, backup, sha256);
}

std::optional<BackupRecord::MovedAside> BackupRecord::movedAside(const QString& hiddenName)
{
    if (!m_lines) {
        try {
            m_lines = logLines(retryWhileBusy([&] { return m_fs.readFile(m_path); }));
        } catch (const RunError& error) {
            throw Failure(error);
        }
    }
    const QRegularExpression pattern(MovedAsidePattern.arg(QRegularExpression::escape(hiddenName)));
    for (qsizetype k = m_lines->size() - 1; k >= 0; --k) {
        const QRegularExpressionMatch match = pattern.match(m_lines->at(k));
        if (match.hasMatch())
            return MovedAside{match.captured(1), match.captured(2), match.captured(3)};
    }
    return std::nullopt;
}
