#pragma once

#include <QPushButton>

// A push button whose caption wraps onto a second line when it is wider than the
// button, as the fixed layout of the window expects; Enter presses it when focused.
class CommandButton : public QPushButton
{
    Q_OBJECT
public:
    explicit CommandButton(const QString& caption, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
