#pragma once

#include "platform/RunError.h"

#include <chrono>
#include <thread>

// A file that another program holds is refused for moments: an SMB server still closing the
// handle of a file just read, a student's editor saving, an antivirus or indexer reading it.
// The operation is tried again a few times, over about a second in all, before the refusal
// counts; any other failure counts at once.
template <typename Operation> auto retryWhileBusy(Operation operation) -> decltype(operation())
{
    using namespace std::chrono_literals;
    for (const auto pause : {10ms, 20ms, 40ms, 80ms, 160ms, 300ms, 400ms}) {
        try {
            return operation();
        } catch (const RunError& error) {
            if (!error.isBusy())
                throw;
        }
        std::this_thread::sleep_for(pause);
    }
    return operation();
}
