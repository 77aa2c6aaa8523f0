#include "DesktopLauncher.h"

#include <QDesktopServices>
#include <QHash>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace {

// The desktop file of the user's default application for a MIME type, or empty.
// Asked once per type and run: the query is a program that may take a moment.
QString defaultApplication(const QString& mimeType)
{
    static QHash<QString, QString> known;
    if (const auto found = known.constFind(mimeType); found != known.cend())
        return *found;

    QString desktopFile;
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (!xdgMime.isEmpty()) {
        QProcess query;
        query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), mimeType});
        if (query.waitForFinished(3000) && query.exitStatus() == QProcess::NormalExit &&
            query.exitCode() == 0) {
            const QString desktopId = QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
            if (!desktopId.isEmpty() && !desktopId.contains(QLatin1Char('\n')))
                desktopFile = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, desktopId);
        }
    }
    known.insert(mimeType, desktopFile);
    return desktopFile;
}

// A file URL never starts with "-", so no program can read the path as an option.
bool launch(const QString& desktopFile, const QUrl& url)
{
    if (desktopFile.isEmpty())
        return false;
    const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
    if (!gio.isEmpty())
        return QProcess::startDetached(
            gio, {QStringLiteral("launch"), desktopFile, url.toString(QUrl::FullyEncoded)});
    // Without GIO the ordinary opener starts the default application of the path's type.
    return QDesktopServices::openUrl(url);
}

} // namespace

bool launchFileManager(const QString& absoluteFolder)
{
    return launch(defaultApplication(QStringLiteral("inode/directory")), QUrl::fromLocalFile(absoluteFolder));
}

bool launchPlainTextEditor(const QString& absoluteFile)
{
    QString editor = defaultApplication(QStringLiteral("text/plain"));
    if (editor.isEmpty())
        editor = defaultApplication(QMimeDatabase().mimeTypeForFile(absoluteFile).name());
    return launch(editor, QUrl::fromLocalFile(absoluteFile));
}
