#pragma once

#include <QScrollBar>

#include <functional>

// The session scroll bar: it reports a change only when a step or a drag ends,
// takes the keyboard focus, and refuses steps while a handler of the window runs
// (an arrow held down under a message box must not run the session down).
class SessionScrollBar : public QScrollBar
{
    Q_OBJECT
public:
    explicit SessionScrollBar(QWidget* parent = nullptr);

    void setStepBlocker(std::function<bool()> blocked) { m_blocked = std::move(blocked); }

private:
    void onActionTriggered(int action);

    std::function<bool()> m_blocked;
};
