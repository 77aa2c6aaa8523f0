#pragma once

#include "platform/BoundedFileSystem.h"
#include "platform/NativeFileSystem.h"

class Form1;

// The file system of the window as the program runs it: every call that touches a station's
// folder runs on that station's own thread, and fails once the station has been silent for the
// deadline. Whoever waits for one meanwhile keeps the window answering (repaints, the desktop's
// pings), the invigilator's input held until the call is done.
class WindowFileSystem
{
public:
    WindowFileSystem() : WindowFileSystem(m_native) {}
    // Over another file system, with another deadline (the tests' fake).
    explicit WindowFileSystem(FileSystem& inner, std::chrono::milliseconds deadline = StationDeadline);

    FileSystem& fileSystem() { return m_bounded; }
    StationCalls& stationCalls() { return m_bounded; }
    // From now on, the window's station rows say which paths are a station's.
    void attach(Form1& form) { m_form = &form; }
    bool anyBusy() const { return m_bounded.anyBusy(); }
    void waitUntilIdle() { m_bounded.waitUntilIdle(); }

private:
    NativeFileSystem m_native;
    Form1* m_form = nullptr;
    BoundedFileSystem m_bounded;
};
