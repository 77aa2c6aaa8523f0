#include "FilterBeforePress.h"
#include "window/Form1.h"
#include "window/TextBox.h"

#include <QMouseEvent>
#include <QTimer>
#include <QWindow>

FilterBeforePress::FilterBeforePress(Form1& form, std::function<bool()> applyFilter)
    : QObject(&form), m_form(form), m_applyFilter(std::move(applyFilter))
{
    // The window handle that sees presses first exists only once the window is shown.
    form.installEventFilter(this);
    connect(form.Filtro[0], &TextBox::lostFocus, &form,
            [this](Qt::FocusReason reason) { onFilterLostFocus(reason); });
}

void FilterBeforePress::onFilterLostFocus(Qt::FocusReason reason)
{
    // Only a move to another control of this window applies the filter, not the window
    // losing activation or the box's context menu opening.
    switch (reason) {
    case Qt::MouseFocusReason:
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
    case Qt::OtherFocusReason:
        break;
    default:
        return;
    }
    if (m_appliedBeforePress) {
        m_appliedBeforePress = false;
        return;
    }
    m_form.runHandler([&] { m_applyFilter(); });
}

bool FilterBeforePress::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_form) {
        if (event->type() == QEvent::Show) {
            if (QWindow* window = m_form.windowHandle())
                window->installEventFilter(this);
        }
        return false;
    }
    if (event->type() == QEvent::MouseButtonPress && watched == m_form.windowHandle())
        return applyBeforePress(static_cast<QMouseEvent*>(event));
    return false;
}

bool FilterBeforePress::applyBeforePress(QMouseEvent* press)
{
    TextBox* filter = m_form.Filtro[0];
    // The window's own focus widget: a click may arrive while the window is not yet active.
    if (m_form.focusWidget() != filter || m_form.guard().busy() || m_form.isUnloaded())
        return false;
    QWidget* target = m_form.childAt(press->position().toPoint());
    while (target && target != &m_form &&
           !(target->isEnabled() && (target->focusPolicy() & Qt::ClickFocus) == Qt::ClickFocus))
        target = target->parentWidget();
    if (!target || target == &m_form || target == filter)
        return false;

    HandlerGuard::Scope scope(m_form.guard());
    if (!m_applyFilter())
        return true;
    m_appliedBeforePress = true;
    // The press moves the focus at once; should it not, the next departure applies the filter again.
    QTimer::singleShot(0, this, [this] { m_appliedBeforePress = false; });
    return false;
}
