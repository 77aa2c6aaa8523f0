#pragma once

// What the benchmark programs share: clocks, medians, and waiting for the window.

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

#include <time.h>

inline double clockMs(clockid_t clock)
{
    timespec ts;
    clock_gettime(clock, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

struct Sample
{
    double cpuMs = 0;
    double wallMs = 0;
};

template <typename Work> Sample measure(Work&& work)
{
    const double cpu = clockMs(CLOCK_PROCESS_CPUTIME_ID), wall = clockMs(CLOCK_MONOTONIC);
    work();
    return {clockMs(CLOCK_PROCESS_CPUTIME_ID) - cpu, clockMs(CLOCK_MONOTONIC) - wall};
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Handles what is pending until the event loop has nothing left to do.
inline void settleEvents()
{
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    QCoreApplication::sendPostedEvents();
    for (int k = 0; k < 1000 && dispatcher->processEvents(QEventLoop::AllEvents); ++k) {
    }
}

// Handles events, waiting for them, until done() holds; then whatever is left.
template <typename Done> void settleUntil(Done done)
{
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    settleEvents();
}

inline void waitUntilExposed(QWidget& window)
{
    QElapsedTimer waited;
    waited.start();
    while (!(window.windowHandle() && window.windowHandle()->isExposed())) {
        if (waited.elapsed() > 20000)
            throw std::runtime_error("the window was not exposed within 20 s");
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    // The first paint, and whatever the window manager sends after it.
    for (int k = 0; k < 10; ++k) {
        settleEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}
