#include "TextEditorLauncher.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace {

// The desktop file of the user's default application for text/plain, or empty.
QString defaultPlainTextApplication()
{
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty())
        return {};
    QProcess query;
    query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("text/plain")});
    if (!query.waitForFinished(3000) || query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0)
        return {};
    const QString desktopId = QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
    if (desktopId.isEmpty() || desktopId.contains(QLatin1Char('\n')))
        return {};
    return QStandardPaths::locate(QStandardPaths::ApplicationsLocation, desktopId);
}

} // namespace

bool launchPlainTextEditor(const QString& absoluteFile)
{
    // A file URL never starts with "-", so no program can read the name as an option.
    const QUrl url = QUrl::fromLocalFile(absoluteFile);
    const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
    const QString application = defaultPlainTextApplication();
    if (!gio.isEmpty() && !application.isEmpty() &&
        QProcess::startDetached(gio,
                                {QStringLiteral("launch"), application, url.toString(QUrl::FullyEncoded)}))
        return true;
    // No text/plain default: the ordinary opener picks the program by the file's type.
    return QDesktopServices::openUrl(url);
}
