#include "Launches.h"
#include "Desktop.h"

#include <QDir>

QString absolutePath(const QString& path)
{
    if (QDir::isAbsolutePath(path))
        return path;
    return QDir::currentPath() + QLatin1Char('/') + path;
}

void openFolderOrReport(Desktop& desktop, const QString& folder)
{
    const QString absolute = absolutePath(folder);
    if (!desktop.openFolder(absolute))
        desktop.messageBox(QStringLiteral("Não foi possível abrir a pasta %1 no gestor de ficheiros.")
                               .arg(QDir::toNativeSeparators(absolute)),
                           MsgBoxStyle::OkExclamation);
}

void openInEditorOrReport(Desktop& desktop, const QString& file)
{
    const QString absolute = absolutePath(file);
    if (!desktop.openInTextEditor(absolute))
        desktop.messageBox(QStringLiteral("Não foi possível abrir o ficheiro %1 no editor de texto.")
                               .arg(QDir::toNativeSeparators(absolute)),
                           MsgBoxStyle::OkExclamation);
}
