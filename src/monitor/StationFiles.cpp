#include "StationFiles.h"
#include "platform/DateTimeText.h"
#include "platform/FileSystem.h"
#include "platform/Launches.h"
#include "platform/Paths.h"
#include "platform/RunError.h"
#include "window/FileListBox.h"
#include "window/Form1.h"
#include "window/TextBox.h"

#include <QDateTime>

void ComOpenShare_Click(Form1& form, int station)
{
    const QString folder = form.PC1Path[station]->text();
    if (form.fileSystem().folderExists(folder))
        openFolderOrReport(form.desktop(), folder + pathSeparator());
}

void File1_DblClick(Form1& form, int station)
{
    const QString name = form.File1[station]->fileName();
    if (name.isEmpty())
        return;
    openInEditorOrReport(form.desktop(), joinPath(form.PC1Path[station]->text(), name));
}

void File1_GotFocus(Form1& form, int station)
{
    FileListBox* list = form.File1[station];
    const QString name = list->fileName(); // empty for an empty list
    if (name.isEmpty())
        return;
    try {
        const FileTimesRead times =
            form.fileSystem().fileTimes(joinPath(form.PC1Path[station]->text(), name));
        if (times.read())
            list->setToolTip(generalDateText(QDateTime::fromMSecsSinceEpoch(times.times.modified)));
    } catch (const RunError&) {
        // A message box here would take the focus away and give it back, again and again.
    }
}
