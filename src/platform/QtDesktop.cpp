#include "QtDesktop.h"
#include "TextEditorLauncher.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

int QtDesktop::messageBox(const QString& prompt, int style)
{
    const bool yesNo = style == MsgBoxStyle::YesNo || style == MsgBoxStyle::YesNoCritical;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    if (style == MsgBoxStyle::YesNoCritical)
        icon = QMessageBox::Critical;
    else if (style == MsgBoxStyle::OkExclamation)
        icon = QMessageBox::Warning;

    QMessageBox box(icon, QStringLiteral("Varnok"), prompt,
                    yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    const int pressed = box.exec();
    if (!yesNo)
        return MsgBoxAnswer::Ok;
    return pressed == QMessageBox::Yes ? MsgBoxAnswer::Yes : MsgBoxAnswer::No;
}

bool QtDesktop::openFolder(const QString& folder)
{
    // A file manager that is already running lives in another folder: hand it an absolute path.
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(folder).absoluteFilePath()));
}

bool QtDesktop::openInTextEditor(const QString& file)
{
    return launchPlainTextEditor(QFileInfo(file).absoluteFilePath());
}

QDateTime QtDesktop::now()
{
    return QDateTime::currentDateTime();
}
