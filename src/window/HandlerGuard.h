#pragma once

// Marks that a handler of the window is running, message boxes it shows included.
// Events that arrive meanwhile from a nested event loop (a timer tick, a scroll
// bar's auto-repeat) are skipped, so no handler ever runs inside another.
class HandlerGuard
{
public:
    bool busy() const { return m_depth > 0; }

    class Scope
    {
    public:
        explicit Scope(HandlerGuard& guard) : m_guard(guard) { ++m_guard.m_depth; }
        ~Scope() { --m_guard.m_depth; }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        HandlerGuard& m_guard;
    };

private:
    int m_depth = 0;
};
