#include "Launches.h"
#include "Desktop.h"
#include "NativeFileSystem.h"
#include "NativeName.h"
#include "Paths.h"

#include <QDir>

namespace {

QString absolutePath(const QString& path)
{
    if (QDir::isAbsolutePath(path))
        return path;
    const QString folder = workingFolder();
    return folder.isEmpty() ? path : joinPath(folder, path);
}

// launchFailed is the message for a path that could not be opened, with %1 for the path.
template <typename Launch>
void openOrReport(Desktop& desktop, const QString& path, Launch launch, const char* launchFailed)
{
    if (!(desktop.*launch)(absolutePath(path)))
        desktop.messageBox(QString::fromUtf8(launchFailed).arg(launchedPathText(path)),
                           MsgBoxStyle::OkExclamation);
}

} // namespace

void openFolderOrReport(Desktop& desktop, const QString& folder)
{
    openOrReport(desktop, folder, &Desktop::openFolder,
                 "Não foi possível abrir a pasta %1 no gestor de ficheiros.");
}

void openInEditorOrReport(Desktop& desktop, const QString& file)
{
    openOrReport(desktop, file, &Desktop::openInTextEditor,
                 "Não foi possível abrir o ficheiro %1 no editor de texto.");
}

bool openInEditor(Desktop& desktop, const QString& file)
{
    return desktop.openInTextEditor(absolutePath(file));
}

QString launchedPathText(const QString& path)
{
    return displayName(QDir::toNativeSeparators(absolutePath(path)));
}
