#pragma once

#include <QtGlobal>

// The same device and inode: the same file or folder, whatever path led to it.
struct FileIdentity
{
    quint64 device = 0;
    quint64 inode = 0;

    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

struct FileStatus
{
    enum class Kind { File, Folder, Link, Other };

    Kind kind = Kind::Other;
    FileIdentity identity;
    qint64 size = 0;
    qint64 modifiedNs = 0; // nanoseconds since 1970-01-01 UTC
    qint64 changedNs = 0;  // the status change: any write, rename, link or change of times moves it
    // False for a read-only file, which the program never deletes, even when run as root.
    bool ownerWritable = true;

    friend bool operator==(const FileStatus&, const FileStatus&) = default;
};

// An open file, closed when destroyed. Every operation throws RunError.
class FileHandle
{
public:
    virtual ~FileHandle() = default;

    // Up to size bytes, maybe fewer; 0 only at the end of the file.
    virtual qint64 read(char* buffer, qint64 size) = 0;
    // All of the bytes, or an error.
    virtual void write(const char* data, qint64 size) = 0;
    virtual FileStatus status() = 0;
    virtual void setModified(qint64 modifiedNs) = 0;
    // Onto the disk, so that the file outlives a power cut.
    virtual void sync() = 0;
    // Forgets the cached content, so that the next opening reads the disk; a no-op where that cannot be done.
    virtual void dropCache() = 0;
    // Cuts the file back to size bytes: a line that could not be written whole is taken back.
    virtual void truncate(qint64 size) = 0;
    // Network file systems may report a failed write only here.
    virtual void close() = 0;
};
