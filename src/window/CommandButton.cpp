#include "CommandButton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

CommandButton::CommandButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent)
{
    // Outside a dialog Qt presses a focused button on Enter only when it is auto-default.
    setAutoDefault(true);
}

void CommandButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);

    const QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    const bool sunken = option.state & (QStyle::State_Sunken | QStyle::State_On);
    const QPoint shift = sunken
                             ? QPoint(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                                      style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this))
                             : QPoint();
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(area.translated(shift), Qt::AlignCenter | Qt::TextWordWrap, caption);
}
