#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

// The information window: the program's name and version and who wrote it.
// Not a dialog, so Escape does not close it; "Fechar" holds the focus.
class Form2 : public QWidget
{
    Q_OBJECT
public:
    explicit Form2(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QPushButton* Command1 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
};
