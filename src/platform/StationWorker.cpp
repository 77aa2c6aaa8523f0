#include "StationWorker.h"

#include <deque>
#include <thread>

struct StationWorker::Shared
{
    std::mutex mutex;
    std::condition_variable wake;     // the thread: a task or the end
    std::condition_variable finished; // the callers: a task returned
    std::deque<std::function<void()>> tasks;
    quint64 queued = 0, returned = 0; // tasks queued and returned, in order
    bool stuck = false;               // a call passed its deadline and has not returned
    bool ending = false;

    void serve()
    {
        std::unique_lock lock(mutex);
        for (;;) {
            wake.wait(lock, [&] { return ending || !tasks.empty(); });
            if (tasks.empty())
                return;
            std::function<void()> task = std::move(tasks.front());
            tasks.pop_front();
            lock.unlock();
            task();
            task = nullptr; // what it held goes here, on this thread
            lock.lock();
            ++returned;
            stuck = false;
            finished.notify_all();
        }
    }
};

StationWorker::StationWorker() : m_shared(std::make_shared<Shared>())
{
    std::thread([shared = m_shared] { shared->serve(); }).detach();
}

StationWorker::~StationWorker()
{
    // The thread ends once its queue is done, a stuck call included; it owns the shared part.
    const std::lock_guard lock(m_shared->mutex);
    m_shared->ending = true;
    m_shared->wake.notify_one();
}

bool StationWorker::runWithin(std::function<void()> task, std::chrono::milliseconds deadline,
                              const std::function<void()>& onSlow, std::chrono::milliseconds slowAfter)
{
    const auto until = std::chrono::steady_clock::now() + deadline;
    std::unique_lock lock(m_shared->mutex);
    if (m_shared->stuck)
        throw StationNotAnswering();
    m_shared->tasks.push_back(std::move(task));
    const quint64 ticket = ++m_shared->queued;
    m_shared->wake.notify_one();
    const auto answered = [&] { return m_shared->returned >= ticket; };
    if (onSlow && slowAfter < deadline && !m_shared->finished.wait_for(lock, slowAfter, answered)) {
        lock.unlock();
        onSlow();
        lock.lock();
    }
    if (m_shared->finished.wait_until(lock, until, answered))
        return true;
    m_shared->stuck = true;
    return false;
}

void StationWorker::post(std::function<void()> call)
{
    const std::lock_guard lock(m_shared->mutex);
    m_shared->tasks.push_back(std::move(call));
    ++m_shared->queued;
    m_shared->wake.notify_one();
}

bool StationWorker::notAnswering() const
{
    const std::lock_guard lock(m_shared->mutex);
    return m_shared->stuck;
}

void StationWorker::waitUntilIdle()
{
    std::unique_lock lock(m_shared->mutex);
    m_shared->finished.wait(lock, [&] { return m_shared->returned == m_shared->queued; });
}
