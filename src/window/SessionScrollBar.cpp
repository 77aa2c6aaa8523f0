#include "SessionScrollBar.h"

SessionScrollBar::SessionScrollBar(QWidget* parent) : QScrollBar(Qt::Vertical, parent)
{
    setTracking(false);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QAbstractSlider::actionTriggered, this, &SessionScrollBar::onActionTriggered);
    connect(this, &QAbstractSlider::valueChanged, this,
            [this](int negated) { emit sessionChanged(-negated); });
}

void SessionScrollBar::onActionTriggered(int action)
{
    if (action == SliderNoAction || action == SliderMove || !m_blocked || !m_blocked())
        return;
    // The step is applied after this signal; putting the position back cancels it.
    setSliderPosition(QScrollBar::value());
    setRepeatAction(SliderNoAction);
}
