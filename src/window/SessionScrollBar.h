#pragma once

#include <QScrollBar>

#include <functional>

// The session scroll bar: it reports a change only when a step or a drag ends,
// takes the keyboard focus, and refuses steps while a handler of the window runs
// (an arrow held down under a message box must not run the session down).
//
// Up means more: the top arrow, Up, Page Up and the wheel turned up raise the
// session. A vertical scroll bar lowers its value towards the top, so the bar
// holds the negated session; value(), setValue() and setRange() speak of sessions.
class SessionScrollBar : public QScrollBar
{
    Q_OBJECT
public:
    explicit SessionScrollBar(QWidget* parent = nullptr);

    int value() const { return -QScrollBar::value(); }
    void setValue(int session) { QScrollBar::setValue(-session); }
    void setRange(int lowest, int highest) { QScrollBar::setRange(-highest, -lowest); }
    int minimum() const { return -QScrollBar::maximum(); }
    int maximum() const { return -QScrollBar::minimum(); }

    void setStepBlocker(std::function<bool()> blocked) { m_blocked = std::move(blocked); }

signals:
    void sessionChanged(int session);

private:
    void onActionTriggered(int action);

    std::function<bool()> m_blocked;
};
