#include "BackupRecord.h"
#include "LogText.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

BackupRecord::BackupRecord(FileSystem& fs, const QString& folder)
{
    try {
        m_file = fs.openToAppend(pathIn(folder));
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

void BackupRecord::write(const QString& line)
{
    const QByteArray bytes = logLine(line);
    try {
        m_file->write(bytes.constData(), bytes.size());
        m_file->sync();
    } catch (const RunError& error) {
        throw Failure(error);
    }
}
