#include "TextEditorLauncher.h"

#include <QDir>
#include <QProcess>

bool launchPlainTextEditor(const QString& absoluteFile)
{
    return QProcess::startDetached(QStringLiteral("notepad.exe"), {QDir::toNativeSeparators(absoluteFile)});
}
