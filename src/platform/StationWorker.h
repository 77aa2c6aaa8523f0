#pragma once

#include "RunError.h"

#include <chrono>
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

// One thread for the calls to one station's share, so that a share that stops answering
// holds that thread and not the window. A call waits for its answer at most a deadline;
// past it the station is not answering, and gets no new call until the late one returns.
// The thread is never killed: a call stuck in the kernel keeps it until the kernel lets go.
class StationWorker
{
public:
    StationWorker();
    // Leaves a stuck thread to end by itself; everything it uses stays alive with it.
    ~StationWorker();
    StationWorker(const StationWorker&) = delete;
    StationWorker& operator=(const StationWorker&) = delete;

    // The call's result, or its exception; throws StationNotAnswering instead when the
    // station is not answering, or when the call passes the deadline. The call must own
    // everything it uses: past its deadline it goes on without the caller.
    // onSlow, when given, runs here once the call has taken longer than slowAfter.
    template <typename Call>
    auto run(Call call, std::chrono::milliseconds deadline, const std::function<void()>& onSlow = {},
             std::chrono::milliseconds slowAfter = std::chrono::milliseconds(100)) -> decltype(call());

    // Queues the call, without waiting: what must still be done on the station's thread,
    // such as closing one of its files, even while it is stuck.
    void post(std::function<void()> call);

    bool notAnswering() const;
    // Waits until every queued call has returned, for a caller about to destroy what they use.
    void waitUntilIdle();

private:
    struct Shared;

    // Runs task on the thread; false when the deadline passed first. What the task wrote is
    // seen here once it returned true.
    bool runWithin(std::function<void()> task, std::chrono::milliseconds deadline,
                   const std::function<void()>& onSlow, std::chrono::milliseconds slowAfter);

    std::shared_ptr<Shared> m_shared;
};

template <typename Call>
auto StationWorker::run(Call call, std::chrono::milliseconds deadline, const std::function<void()>& onSlow,
                        std::chrono::milliseconds slowAfter) -> decltype(call())
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
        deadline, onSlow, slowAfter);
    if (!answered)
        throw StationNotAnswering();
    if (outcome->error)
        std::rethrow_exception(outcome->error);
    if constexpr (!std::is_void_v<Result>)
        return std::move(*outcome->value);
}
