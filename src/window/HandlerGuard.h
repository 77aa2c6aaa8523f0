#pragma once

#include <functional>

// Marks that a handler of the window is running, message boxes it shows included.
// Events that arrive meanwhile from a nested event loop (a timer tick, a scroll
// bar's auto-repeat) are skipped, so no handler ever runs inside another.
class HandlerGuard
{
public:
    bool busy() const { return m_depth > 0; }
    // Runs each time the last running handler ends: what was held back meanwhile can go on.
    void setOnIdle(std::function<void()> onIdle) { m_onIdle = std::move(onIdle); }

    class Scope
    {
    public:
        explicit Scope(HandlerGuard& guard) : m_guard(guard) { ++m_guard.m_depth; }
        ~Scope()
        {
            if (--m_guard.m_depth == 0 && m_guard.m_onIdle)
                m_guard.m_onIdle();
        }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        HandlerGuard& m_guard;
    };

private:
    int m_depth = 0;
    std::function<void()> m_onIdle;
};
