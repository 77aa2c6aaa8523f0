#include "DesktopLauncher.h"

#include <QDir>
#include <QProcess>

bool launchFileManager(const QString& absoluteFolder)
{
    return QProcess::startDetached(QStringLiteral("explorer.exe"),
                                   {QDir::toNativeSeparators(absoluteFolder)});
}

bool launchPlainTextEditor(const QString& absoluteFile)
{
    return QProcess::startDetached(QStringLiteral("notepad.exe"), {QDir::toNativeSeparators(absoluteFile)});
}
