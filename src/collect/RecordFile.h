#pragma once

#include "platform/FileHandle.h"

#include <QByteArray>
#include <QString>

#include <memory>

class FileSystem;

// One of the collection's own files (log.txt, SHA256SUMS). It is created, never
// replaced; each line goes to the system at once, so that the lines written so far
// are on disk whatever happens later, and the file is synced when closed. A line is
// written whole or not at all: what a failed write left of it is cut back.
// Failures throw Interruption, naming the file.
class RecordFile
{
public:
    // Null when a file already has the path.
    static std::unique_ptr<RecordFile> createNew(FileSystem& fs, const QString& path);

    void write(const QByteArray& line);
    void close();

    // The bytes of the lines written so far.
    qint64 size() const { return m_size; }
    // Takes back the lines written after the file had this size, for a run already
    // interrupted; what cannot be taken back stays.
    void cutBackQuietly(qint64 size);

    // For a run already interrupted: what can still be done, without a word.
    void writeAndCloseQuietly(const QByteArray& line);
    void closeQuietly();
    // Closes and removes the file, for a run that goes no further.
    void discard();

private:
    RecordFile(FileSystem& fs, QString path, std::unique_ptr<FileHandle> file);

    FileSystem& m_fs;
    QString m_path;
    std::unique_ptr<FileHandle> m_file;
    qint64 m_size = 0;
};
