#pragma once

#include <QObject>

#include <functional>

class Form1;
class QMouseEvent;

// Applies the filter when its box loses the focus to another control of the window.
// A click on another control while the box holds the focus applies it before the
// press reaches that control: a refused filter then keeps the click from acting, and
// no message box opens inside the press, where it would swallow the release.
class FilterBeforePress : public QObject
{
public:
    // applyFilter returns false when the filter was refused. Owned by the form.
    FilterBeforePress(Form1& form, std::function<bool()> applyFilter);

    // The box lost the focus for the given reason.
    void onFilterLostFocus(Qt::FocusReason reason);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool applyBeforePress(QMouseEvent* press);

    Form1& m_form;
    std::function<bool()> m_applyFilter;
    bool m_appliedBeforePress = false;
};
