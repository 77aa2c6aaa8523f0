#include "RecordFile.h"
#include "BusyRetry.h"
#include "Interruption.h"
#include "platform/FileSystem.h"

std::unique_ptr<RecordFile> RecordFile::createNew(FileSystem& fs, const QString& path)
{
    try {
        std::unique_ptr<FileHandle> file = retryWhileBusy([&] { return fs.createNew(path); });
        if (!file)
            return nullptr;
        return std::unique_ptr<RecordFile>(new RecordFile(fs, path, std::move(file)));
    } catch (const RunError& error) {
        throw Interruption(error, Interruption::Action::Writing, path);
    }
}

RecordFile::RecordFile(FileSystem& fs, QString path, std::unique_ptr<FileHandle> file)
    : m_fs(fs), m_path(std::move(path)), m_file(std::move(file))
{
}

void RecordFile::write(const QByteArray& line)
{
    try {
        m_file->write(line.constData(), line.size());
    } catch (const RunError& error) {
        cutBackQuietly(m_size);
        throw Interruption(error, Interruption::Action::Writing, m_path);
    }
    m_size += line.size();
}

void RecordFile::cutBackQuietly(qint64 size)
{
    try {
        if (m_file) {
            m_file->truncate(size);
            m_size = size;
        }
    } catch (const RunError&) {
    }
}

void RecordFile::close()
{
    // Closed even when the sync fails.
    const std::unique_ptr<FileHandle> file = std::move(m_file);
    try {
        file->sync();
        file->close();
    } catch (const RunError& error) {
        throw Interruption(error, Interruption::Action::Writing, m_path);
    }
}

void RecordFile::writeAndCloseQuietly(const QByteArray& line)
{
    try {
        if (m_file)
            write(line);
    } catch (const Interruption&) {
    }
    closeQuietly();
}

void RecordFile::closeQuietly()
{
    try {
        if (m_file)
            close();
    } catch (const Interruption&) {
    }
}

void RecordFile::discard()
{
    closeQuietly();
    try {
        m_fs.removeFile(m_path);
    } catch (const RunError&) {
    }
}
