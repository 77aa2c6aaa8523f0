#include "QtDesktop.h"
#include "DesktopLauncher.h"

#include <QApplication>
#include <QMessageBox>

int QtDesktop::messageBox(const QString& prompt, int style)
{
    const bool yesNo = style == MsgBoxStyle::YesNo || style == MsgBoxStyle::YesNoCritical;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    if (style == MsgBoxStyle::YesNoCritical)
        icon = QMessageBox::Critical;
    else if (style == MsgBoxStyle::OkExclamation)
        icon = QMessageBox::Warning;

    // Owned by the active window, so that the window manager gives the activation back to it.
    QMessageBox box(icon, QStringLiteral("Varnok"), prompt,
                    yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    const int pressed = box.exec();
    if (!yesNo)
        return MsgBoxAnswer::Ok;
    return pressed == QMessageBox::Yes ? MsgBoxAnswer::Yes : MsgBoxAnswer::No;
}

bool QtDesktop::openFolder(const QString& folder)
{
    return launchFileManager(folder);
}

bool QtDesktop::openInTextEditor(const QString& file)
{
    return launchPlainTextEditor(file);
}

QDateTime QtDesktop::now()
{
    // In UTC: no look at the time zone until the time is shown.
    return QDateTime::currentDateTimeUtc();
}
