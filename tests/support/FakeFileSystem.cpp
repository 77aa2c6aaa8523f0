#include "support/FakeFileSystem.h"
#include "platform/Paths.h"
#include "platform/PosixErrors.h"

#include <algorithm>
#include <thread>

namespace {

// The real file with the fake's faults.
class FakeFile : public FileHandle
{
public:
    FakeFile(const FakeFileSystem& fs, std::unique_ptr<FileHandle> real, const QString& path, bool isNew)
        : m_fs(fs), m_real(std::move(real)), m_new(isNew), m_path(path)
    {
    }

    qint64 read(char* buffer, qint64 size) override
    {
        m_fs.waitIfHanging(m_path);
        if (!m_new && m_fs.endOfFileAt >= 0)
            size = qMin(size, m_fs.endOfFileAt - m_done);
        const qint64 n = size > 0 ? m_real->read(buffer, size) : 0;
        if (m_new && m_fs.corruptNewFiles && m_done == 0 && n > 0)
            buffer[0] ^= 1;
        m_done += n;
        if (!m_new)
            m_fs.whileReading(m_path);
        return n;
    }

    // A failing write first writes what fits, as a disk that fills up in the middle of it.
    void write(const char* data, qint64 size) override
    {
        const QString fault = QStringLiteral("write");
        if (m_done + size > m_fs.failAfterBytes &&
            (m_fs.errors.contains(fault) || m_fs.errors.contains(fault + QLatin1Char(' ') + name()))) {
            const qint64 fits = qMax<qint64>(0, m_fs.failAfterBytes - m_done);
            m_real->write(data, fits);
            m_done += fits;
            failIf(fault);
        }
        m_real->write(data, size);
        m_done += size;
    }

    void truncate(qint64 size) override
    {
        m_real->truncate(size);
        m_done = size;
    }

    FileStatus status() override { return m_fs.withStatusTimes(m_path, m_real->status()); }
    void setModified(qint64 modifiedNs) override { m_real->setModified(modifiedNs); }
    void sync() override
    {
        if (m_new)
            failIf(QStringLiteral("sync"));
        m_real->sync();
    }
    void dropCache() override { m_real->dropCache(); }
    void close() override
    {
        m_real->close();
        if (m_new)
            failIf(QStringLiteral("close"));
    }

private:
    // The fault of the operation on any new file, or on this one by name.
    void failIf(const QString& operation) const
    {
        m_fs.failIf(operation);
        m_fs.failIf(operation + QLatin1Char(' ') + name());
    }
    QString name() const { return m_path.section(pathSeparator(), -1); }

    const FakeFileSystem& m_fs;
    std::unique_ptr<FileHandle> m_real;
    bool m_new;
    QString m_path;
    qint64 m_done = 0;
};

} // namespace

void FakeFileSystem::hangUnder(const QString& folder)
{
    const std::lock_guard lock(m_hang->mutex);
    m_hang->folders.append(folder);
}

void FakeFileSystem::release()
{
    const std::lock_guard lock(m_hang->mutex);
    m_hang->folders.clear();
    m_hang->released.notify_all();
}

void FakeFileSystem::delayUnder(const QString& folder, int ms)
{
    const std::lock_guard lock(m_hang->mutex);
    m_hang->delays.insert(folder, ms);
}

void FakeFileSystem::waitIfHanging(const QString& path) const
{
    std::unique_lock lock(m_hang->mutex);
    for (auto delay = m_hang->delays.cbegin(); delay != m_hang->delays.cend(); ++delay) {
        if (path.startsWith(delay.key())) {
            lock.unlock();
            std::this_thread::sleep_for(std::chrono::milliseconds(delay.value()));
            lock.lock();
            break;
        }
    }
    const auto hanging = [&] {
        return std::any_of(m_hang->folders.cbegin(), m_hang->folders.cend(),
                           [&](const QString& folder) { return path.startsWith(folder); });
    };
    if (!hanging())
        return;
    ++m_hang->held;
    m_hang->released.wait(lock, [&] { return !hanging(); });
}

int FakeFileSystem::callsHeld() const
{
    const std::lock_guard lock(m_hang->mutex);
    return m_hang->held;
}

std::optional<FileStatus> FakeFileSystem::entryStatus(const QString& path)
{
    waitIfHanging(path);
    beforeLook(path);
    return NativeFileSystem::entryStatus(path);
}

bool FakeFileSystem::folderExists(const QString& path)
{
    waitIfHanging(path);
    return NativeFileSystem::folderExists(path);
}

QList<ListedFile> FakeFileSystem::listFiles(const QString& folder, const NameFilter& wanted, bool withTimes)
{
    waitIfHanging(folder);
    if (const auto failure = listingFailures.constFind(folder); failure != listingFailures.cend())
        throw *failure;
    return NativeFileSystem::listFiles(folder, wanted, withTimes);
}

FileTimesRead FakeFileSystem::fileTimes(const QString& path)
{
    return adjusted(path, [&] { return NativeFileSystem::fileTimes(path); });
}

FileTimesRead FakeFileSystem::statusOfListed(const QString& folder, const QString& name,
                                             const std::function<FileTimesRead()>& status)
{
    waitIfHanging(joinPath(folder, name));
    return adjusted(joinPath(folder, name), status);
}

FileTimesRead FakeFileSystem::adjusted(const QString& path, const std::function<FileTimesRead()>& status)
{
    if (const auto outcome = timesOutcomes.constFind(path); outcome != timesOutcomes.cend())
        return FileTimesRead{*outcome, {}};
    FileTimesRead real = status();
    if (const auto chosen = times.constFind(path); real.read() && chosen != times.cend()) {
        real.times.created = chosen->created;
        real.times.modified = chosen->modified;
    }
    return real;
}

std::unique_ptr<FileHandle> FakeFileSystem::openToRead(const QString& path)
{
    waitIfHanging(path);
    return std::make_unique<FakeFile>(*this, NativeFileSystem::openToRead(path), path,
                                      m_created.contains(path));
}

std::unique_ptr<FileHandle> FakeFileSystem::createNew(const QString& path)
{
    beforeClaim(path);
    std::unique_ptr<FileHandle> real = NativeFileSystem::createNew(path);
    if (!real)
        return nullptr;
    m_created.insert(path);
    return std::make_unique<FakeFile>(*this, std::move(real), path, true);
}

FileSystem::Claim FakeFileSystem::renameNoReplace(const QString& from, const QString& to)
{
    beforeClaim(to);
    if (m_refusedAsBusy[from]++ < busyMoves)
        throw errorFromErrno(EBUSY, ErrnoTarget::File);
    if (errors.contains("rename") && !status(to))
        return renameNoReplaceOutcome(errors.value("rename"));
    return NativeFileSystem::renameNoReplace(from, to);
}

FileSystem::Claim FakeFileSystem::linkNew(const QString& from, const QString& to)
{
    beforeClaim(to);
    if (errors.contains("link") && !status(to))
        return linkOutcome(errors.value("link"));
    return NativeFileSystem::linkNew(from, to);
}

void FakeFileSystem::renameOver(const QString& from, const QString& to)
{
    failIf("replace");
    NativeFileSystem::renameOver(from, to);
}

void FakeFileSystem::syncFolder(const QString& path)
{
    failIf("sync folder");
    NativeFileSystem::syncFolder(path);
}

void FakeFileSystem::removeFile(const QString& path)
{
    beforeRemove(path);
    if (m_refusedAsBusy[path]++ < busyRemovals)
        throw errorFromErrno(EBUSY, ErrnoTarget::File);
    NativeFileSystem::removeFile(path);
}

void FakeFileSystem::failIf(const QString& operation) const
{
    if (const auto error = errors.constFind(operation); error != errors.cend())
        throw errorFromErrno(*error, ErrnoTarget::File);
}

std::unique_ptr<FileHandle> FakeFileSystem::openToAppend(const QString& path)
{
    return std::make_unique<FakeFile>(*this, NativeFileSystem::openToAppend(path), path, true);
}

std::optional<FileStatus> FakeFileSystem::status(const QString& path)
{
    waitIfHanging(path);
    std::optional<FileStatus> real = NativeFileSystem::status(path);
    return real ? std::optional(withStatusTimes(path, *real)) : std::nullopt;
}

FileStatus FakeFileSystem::withStatusTimes(const QString& path, FileStatus status) const
{
    if (const auto times = statusTimes.constFind(path); times != statusTimes.cend())
        std::tie(status.modifiedNs, status.changedNs) = *times;
    return status;
}
