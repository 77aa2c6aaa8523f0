#include "BoundedFileSystem.h"

#include <cstring>
#include <mutex>

namespace {

// A read of a station's file asks for no more than this at once, so that a slow share that
// still answers answers within the deadline.
constexpr qint64 StationReadSize = 256 * 1024;

// A station's open file: every operation on the station's thread, its closing too.
class BoundedFile : public FileHandle
{
public:
    BoundedFile(StationWorker& worker, std::chrono::milliseconds deadline, std::function<void()> whileWaiting,
                std::unique_ptr<FileHandle> file)
        : m_worker(worker), m_deadline(deadline), m_whileWaiting(std::move(whileWaiting)),
          m_file(std::move(file)), m_buffer(std::make_shared<QByteArray>())
    {
    }
    ~BoundedFile() override
    {
        m_worker.post([file = std::move(m_file)]() mutable { file.reset(); });
    }

    qint64 read(char* buffer, qint64 size) override
    {
        const qint64 wanted = qMin(size, StationReadSize);
        // Read into a buffer of its own: a late read must not write into the caller's.
        const qint64 n = m_worker.run(
            [file = m_file, scratch = m_buffer, wanted] {
                if (scratch->size() < wanted)
                    scratch->resize(wanted);
                return file->read(scratch->data(), wanted);
            },
            m_deadline, m_whileWaiting);
        std::memcpy(buffer, m_buffer->constData(), size_t(n));
        return n;
    }

    void write(const char* data, qint64 size) override
    {
        m_worker.run(
            [file = m_file, bytes = QByteArray(data, size)] { file->write(bytes.constData(), bytes.size()); },
            m_deadline, m_whileWaiting);
    }

    FileStatus status() override
    {
        return m_worker.run([file = m_file] { return file->status(); }, m_deadline, m_whileWaiting);
    }
    void setModified(qint64 modifiedNs) override
    {
        m_worker.run([file = m_file, modifiedNs] { file->setModified(modifiedNs); }, m_deadline,
                     m_whileWaiting);
    }
    void sync() override
    {
        m_worker.run([file = m_file] { file->sync(); }, m_deadline, m_whileWaiting);
    }
    void dropCache() override
    {
        m_worker.run([file = m_file] { file->dropCache(); }, m_deadline, m_whileWaiting);
    }
    void truncate(qint64 size) override
    {
        m_worker.run([file = m_file, size] { file->truncate(size); }, m_deadline, m_whileWaiting);
    }
    void close() override
    {
        m_worker.run([file = m_file] { file->close(); }, m_deadline, m_whileWaiting);
    }

private:
    StationWorker& m_worker;
    std::chrono::milliseconds m_deadline;
    std::function<void()> m_whileWaiting;
    std::shared_ptr<FileHandle> m_file;
    std::shared_ptr<QByteArray> m_buffer;
};

// The caller's filter, called from a station's thread only until the caller stopped waiting.
class GuardedFilter
{
public:
    explicit GuardedFilter(const NameFilter& wanted) : m_wanted(wanted) {}

    NameFilter filter(const std::shared_ptr<GuardedFilter>& self) const
    {
        if (!m_wanted)
            return {};
        return [self](const QString& name) {
            const std::lock_guard lock(self->m_mutex);
            return !self->m_abandoned && self->m_wanted(name);
        };
    }
    void abandon()
    {
        const std::lock_guard lock(m_mutex);
        m_abandoned = true;
    }

private:
    const NameFilter& m_wanted;
    std::mutex m_mutex;
    bool m_abandoned = false;
};

} // namespace

BoundedFileSystem::BoundedFileSystem(FileSystem& inner, std::function<int(const QString&)> stationOf,
                                     std::chrono::milliseconds deadline)
    : m_inner(inner), m_stationOf(std::move(stationOf)), m_deadline(deadline)
{
}

StationWorker* BoundedFileSystem::workerOf(const QString& path)
{
    const int station = m_stationOf ? m_stationOf(path) : -1;
    return station >= 0 && station < MaxStations ? &m_workers[size_t(station)] : nullptr;
}

template <typename Call>
std::invoke_result_t<Call, FileSystem&> BoundedFileSystem::onStation(const QString& path, Call call)
{
    StationWorker* worker = workerOf(path);
    if (!worker)
        return call(m_inner);
    return worker->run([inner = &m_inner, call = std::move(call)] { return call(*inner); }, m_deadline,
                       m_whileWaiting);
}

template <typename Open>
std::unique_ptr<FileHandle> BoundedFileSystem::openOnStation(const QString& path, Open open)
{
    StationWorker* worker = workerOf(path);
    if (!worker)
        return open(m_inner);
    // Owned by the task until it returns: opened past the deadline, the file is closed there.
    std::unique_ptr<FileHandle> file =
        worker->run([inner = &m_inner, open] { return open(*inner); }, m_deadline, m_whileWaiting);
    if (!file)
        return file;
    return std::make_unique<BoundedFile>(*worker, m_deadline, m_whileWaiting, std::move(file));
}

bool BoundedFileSystem::folderExists(const QString& path)
{
    try {
        return onStation(path, [path](FileSystem& fs) { return fs.folderExists(path); });
    } catch (const StationNotAnswering&) {
        return false;
    }
}

QList<ListedFile> BoundedFileSystem::listFiles(const QString& folder, const NameFilter& wanted,
                                               bool withTimes)
{
    const auto guard = std::make_shared<GuardedFilter>(wanted);
    try {
        return onStation(folder, [folder, filter = guard->filter(guard), withTimes](FileSystem& fs) {
            return fs.listFiles(folder, filter, withTimes);
        });
    } catch (const StationNotAnswering&) {
        guard->abandon();
        throw;
    }
}

FileTimesRead BoundedFileSystem::fileTimes(const QString& path)
{
    return onStation(path, [path](FileSystem& fs) { return fs.fileTimes(path); });
}

QByteArray BoundedFileSystem::readFile(const QString& path)
{
    return onStation(path, [path](FileSystem& fs) { return fs.readFile(path); });
}

std::optional<FileStatus> BoundedFileSystem::status(const QString& path)
{
    return onStation(path, [path](FileSystem& fs) { return fs.status(path); });
}

std::optional<FileStatus> BoundedFileSystem::entryStatus(const QString& path)
{
    return onStation(path, [path](FileSystem& fs) { return fs.entryStatus(path); });
}

std::unique_ptr<FileHandle> BoundedFileSystem::openToRead(const QString& path)
{
    return openOnStation(path, [path](FileSystem& fs) { return fs.openToRead(path); });
}

std::unique_ptr<FileHandle> BoundedFileSystem::createNew(const QString& path)
{
    return openOnStation(path, [path](FileSystem& fs) { return fs.createNew(path); });
}

FileSystem::Claim BoundedFileSystem::renameNoReplace(const QString& from, const QString& to)
{
    return onStation(from, [from, to](FileSystem& fs) { return fs.renameNoReplace(from, to); });
}

FileSystem::Claim BoundedFileSystem::linkNew(const QString& from, const QString& to)
{
    return onStation(from, [from, to](FileSystem& fs) { return fs.linkNew(from, to); });
}

void BoundedFileSystem::renameOver(const QString& from, const QString& to)
{
    onStation(from, [from, to](FileSystem& fs) { fs.renameOver(from, to); });
}

void BoundedFileSystem::removeFile(const QString& path)
{
    onStation(path, [path](FileSystem& fs) { fs.removeFile(path); });
}

void BoundedFileSystem::syncFolder(const QString& path)
{
    onStation(path, [path](FileSystem& fs) { fs.syncFolder(path); });
}

QStringList BoundedFileSystem::listAllFiles(const QString& folder)
{
    return onStation(folder, [folder](FileSystem& fs) { return fs.listAllFiles(folder); });
}

std::unique_ptr<FileHandle> BoundedFileSystem::openToAppend(const QString& path)
{
    return openOnStation(path, [path](FileSystem& fs) { return fs.openToAppend(path); });
}

bool BoundedFileSystem::notAnswering(const QString& path)
{
    const StationWorker* worker = workerOf(path);
    return worker && worker->notAnswering(m_deadline);
}

void BoundedFileSystem::post(int station, std::function<void(FileSystem&)> task)
{
    m_workers.at(size_t(station)).post([inner = &m_inner, task = std::move(task)] { task(*inner); });
}

std::chrono::milliseconds BoundedFileSystem::silence(int station) const
{
    return m_workers.at(size_t(station)).silence();
}

bool BoundedFileSystem::anyBusy() const
{
    for (const StationWorker& worker : m_workers) {
        if (worker.busy())
            return true;
    }
    return false;
}

void BoundedFileSystem::waitUntilIdle()
{
    for (StationWorker& worker : m_workers)
        worker.waitUntilIdle();
}
