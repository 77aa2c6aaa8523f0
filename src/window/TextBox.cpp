#include "TextBox.h"

#include <QFocusEvent>

TextBox::TextBox(QWidget* parent) : QLineEdit(parent)
{
    // Text the program writes is shown from its start, like a path read left to right.
    connect(this, &QLineEdit::cursorPositionChanged, this, [this](int, int position) {
        // The window's focus widget, not hasFocus(): a box given the focus while its window is
        // inactive (after a message box) keeps the selection made for the invigilator.
        if (position != 0 && window()->focusWidget() != this)
            setCursorPosition(0);
    });
}

void TextBox::setForeColor(quint32 color)
{
    m_foreColor = color;
    showForeColor();
}

void TextBox::showForeColor()
{
    showInterimColor(m_foreColor);
}

void TextBox::showInterimColor(quint32 color)
{
    if (m_shownColor == color)
        return;
    m_shownColor = color;
    applyWindowColor(this, QPalette::Text, color);
}

void TextBox::focusOutEvent(QFocusEvent* event)
{
    // Qt's own handling clears the selection; a handler that selects the text again must run after it.
    QLineEdit::focusOutEvent(event);
    emit lostFocus(event->reason());
}
