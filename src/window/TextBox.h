#pragma once

#include "WindowColor.h"

#include <QLineEdit>

// A single-line text box whose text colour is kept as a window colour number,
// which the program reads back, and which reports the reason it loses the focus.
class TextBox : public QLineEdit
{
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent = nullptr);

    quint32 foreColor() const { return m_foreColor; }
    void setForeColor(quint32 color);
    // The colour, to be shown by showForeColor(): a box whose colour goes and comes back
    // within one step is not painted at all.
    void setForeColorUnshown(quint32 color) { m_foreColor = color; }
    // Shows the colour set last, if the box shows another.
    void showForeColor();
    // Shows this colour until the next showForeColor(); the colour set stays what it was.
    void showInterimColor(quint32 color);

signals:
    void lostFocus(Qt::FocusReason reason);

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    quint32 m_foreColor = WindowColor::SystemWindowText;
    quint32 m_shownColor = WindowColor::SystemWindowText;
};
