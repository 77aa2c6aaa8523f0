#include "StationWorker.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// The answers counter of the station whose thread this is.
thread_local std::atomic<quint64>* t_answers = nullptr;

} // namespace

void noteStationAnswer()
{
    if (t_answers)
        t_answers->fetch_add(1, std::memory_order_relaxed);
}

struct StationWorker::Shared
{
    mutable std::mutex mutex;
    std::condition_variable wake;     // the thread: a task or the end
    std::condition_variable finished; // the callers: a task returned
    std::deque<std::function<void()>> tasks;
    quint64 queued = 0, returned = 0; // tasks queued and returned, in order
    bool running = false;
    bool ending = false;
    // Counted by the thread without the lock; looked at by whoever asks for the silence.
    std::atomic<quint64> answers{0};
    mutable quint64 answersSeen = 0;
    mutable Clock::time_point lastAnswer;

    bool busy() const { return running || !tasks.empty(); }

    std::chrono::milliseconds silence(Clock::time_point now) const
    {
        if (!busy())
            return {};
        const quint64 counted = answers.load(std::memory_order_relaxed);
        if (counted != answersSeen) {
            answersSeen = counted;
            lastAnswer = now;
        }
        return std::chrono::duration_cast<std::chrono::milliseconds>(now - lastAnswer);
    }

    quint64 push(std::function<void()> task)
    {
        // A thread that had nothing to do has been silent for no time.
        if (!busy())
            lastAnswer = Clock::now();
        tasks.push_back(std::move(task));
        wake.notify_one();
        return ++queued;
    }

    void serve()
    {
        t_answers = &answers;
        std::unique_lock lock(mutex);
        for (;;) {
            wake.wait(lock, [&] { return ending || !tasks.empty(); });
            if (tasks.empty())
                return;
            std::function<void()> task = std::move(tasks.front());
            tasks.pop_front();
            running = true;
            lastAnswer = Clock::now(); // the previous call's return
            lock.unlock();
            task();
            task = nullptr; // what it held goes here, on this thread
            lock.lock();
            running = false;
            lastAnswer = Clock::now();
            ++returned;
            finished.notify_all();
        }
    }
};

StationWorker::StationWorker()
    : m_shared(std::make_shared<Shared>()), m_thread([shared = m_shared] { shared->serve(); })
{
}

StationWorker::~StationWorker()
{
    // The thread ends once its queue is done, a stuck call included; it owns the shared part. An
    // idle one ends at once and is joined, so that none is still ending as the process ends.
    bool idle = false;
    {
        const std::lock_guard lock(m_shared->mutex);
        m_shared->ending = true;
        m_shared->wake.notify_one();
        idle = !m_shared->running && m_shared->tasks.empty();
    }
    if (idle)
        m_thread.join();
    else
        m_thread.detach();
}

bool StationWorker::runWithin(std::function<void()> task, std::chrono::milliseconds deadline,
                              const std::function<void()>& whileWaiting)
{
    using namespace std::chrono_literals;
    std::unique_lock lock(m_shared->mutex);
    if (m_shared->silence(Clock::now()) >= deadline)
        throw StationNotAnswering();
    const quint64 ticket = m_shared->push(std::move(task));
    const auto answered = [&] { return m_shared->returned >= ticket; };
    const auto slice = whileWaiting ? 10ms : std::max<std::chrono::milliseconds>(deadline / 10, 10ms);
    for (;;) {
        if (m_shared->finished.wait_for(lock, slice, answered))
            return true;
        if (m_shared->silence(Clock::now()) >= deadline)
            return false;
        if (whileWaiting) {
            lock.unlock();
            whileWaiting();
            lock.lock();
        }
    }
}

void StationWorker::post(std::function<void()> call)
{
    const std::lock_guard lock(m_shared->mutex);
    m_shared->push(std::move(call));
}

std::chrono::milliseconds StationWorker::silence() const
{
    const std::lock_guard lock(m_shared->mutex);
    return m_shared->silence(Clock::now());
}

bool StationWorker::busy() const
{
    const std::lock_guard lock(m_shared->mutex);
    return m_shared->busy();
}

void StationWorker::waitUntilIdle()
{
    std::unique_lock lock(m_shared->mutex);
    m_shared->finished.wait(lock, [&] { return m_shared->returned == m_shared->queued; });
}
