#pragma once

#include <chrono>
#include <functional>

class FileSystem;

// Calls to a station made without waiting for them: each station has a thread of its own,
// and a task posted to it runs there with the file system, while the window goes on.
class StationCalls
{
public:
    virtual ~StationCalls() = default;

    // The task must own everything it uses: it may run long after the caller has gone on.
    virtual void post(int station, std::function<void(FileSystem&)> task) = 0;
    // How long the station has had a call in hand with no answer from its share; zero when it has none.
    virtual std::chrono::milliseconds silence(int station) const = 0;
    // The silence after which a station is not answering.
    virtual std::chrono::milliseconds deadline() const = 0;
};
