#include "DesktopLauncher.h"

#include <QDir>
#include <QProcess>

#include <windows.h>

namespace {

// Windows's own copies, by their full names: a program of the same name in the lab folder
// (the working folder) or on PATH is never the one started.
QString inFolder(UINT (*folderOf)(LPWSTR, UINT), const wchar_t* program)
{
    wchar_t folder[MAX_PATH];
    const UINT length = folderOf(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return QString::fromWCharArray(program);
    return QDir::toNativeSeparators(QString::fromWCharArray(folder, int(length)) + QLatin1Char('/') +
                                    QString::fromWCharArray(program));
}

} // namespace

bool launchFileManager(const QString& absoluteFolder)
{
    return QProcess::startDetached(inFolder(GetWindowsDirectoryW, L"explorer.exe"),
                                   {QDir::toNativeSeparators(absoluteFolder)});
}

bool launchPlainTextEditor(const QString& absoluteFile)
{
    return QProcess::startDetached(inFolder(GetSystemDirectoryW, L"notepad.exe"),
                                   {QDir::toNativeSeparators(absoluteFile)});
}
