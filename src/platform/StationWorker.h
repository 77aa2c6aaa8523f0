#pragma once

#include "RunError.h"

#include <chrono>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <type_traits>

// Said by a file system operation each time the share answers one of the calls it makes (a
// batch of a listing, the status of one file), on whatever thread it runs: a station whose
// calls keep being answered is slow, not dead.
void noteStationAnswer();

// One thread for the calls to one station's share, so that a share that stops answering
// holds that thread and not the window. The station's silence is how long a call in hand
// has gone without an answer from the share: a long listing that keeps answering is not
// silent. The thread is never killed: a call stuck in the kernel keeps it until the kernel
// lets go.
class StationWorker
{
public:
    StationWorker();
    // Joins an idle thread; leaves one in a call to end by itself, everything it uses alive with it.
    ~StationWorker();
    StationWorker(const StationWorker&) = delete;
    StationWorker& operator=(const StationWorker&) = delete;

    // The call's result, or its exception; throws StationNotAnswering instead when the station
    // has been silent for the deadline, before the call or while it waits. whileWaiting, when
    // given, runs every few milliseconds meanwhile. The call must own everything it uses: past
    // its deadline it goes on without the caller.
    template <typename Call>
    auto run(Call call, std::chrono::milliseconds deadline, const std::function<void()>& whileWaiting = {})
        -> decltype(call());

    // Queues the call, without waiting.
    void post(std::function<void()> call);

    // How long a call in hand has gone without an answer; zero when the thread has none.
    std::chrono::milliseconds silence() const;
    bool notAnswering(std::chrono::milliseconds deadline) const { return silence() >= deadline; }
    // Whether a call is in hand or queued.
    bool busy() const;
    // Waits until every queued call has returned, for a caller about to destroy what they use.
    void waitUntilIdle();

private:
    struct Shared;

    // Runs task on the thread; false when the station fell silent for the deadline first.
    // What the task wrote is seen here once it returned true.
    bool runWithin(std::function<void()> task, std::chrono::milliseconds deadline,
                   const std::function<void()>& whileWaiting);

    std::shared_ptr<Shared> m_shared;
    std::thread m_thread;
};

template <typename Call>
auto StationWorker::run(Call call, std::chrono::milliseconds deadline,
                        const std::function<void()>& whileWaiting) -> decltype(call())
{
    using Result = decltype(call());
    struct Outcome
    {
        std::conditional_t<std::is_void_v<Result>, bool, std::optional<Result>> value{};
        std::exception_ptr error;
    };
    auto outcome = std::make_shared<Outcome>();
    const bool answered = runWithin(
        [outcome, call = std::move(call)]() mutable {
            try {
                if constexpr (std::is_void_v<Result>)
                    call();
                else
                    outcome->value = call();
            } catch (...) {
                outcome->error = std::current_exception();
            }
        },
        deadline, whileWaiting);
    if (!answered)
        throw StationNotAnswering();
    if (outcome->error)
        std::rethrow_exception(outcome->error);
    if constexpr (!std::is_void_v<Result>)
        return std::move(*outcome->value);
}
