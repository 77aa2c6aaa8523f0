#include "FileNameFilter.h"
#include "platform/Desktop.h"
#include "platform/FileSystem.h"
#include "platform/RunError.h"
#include "window/FileListBox.h"
#include "window/Form1.h"
#include "window/TextBox.h"

bool applyFilter(Form1& form, int index)
{
    try {
        for (int i = 0; i < StationCount; ++i) {
            if (!form.fileSystem().folderExists(form.PC1Path[i]->text()))
                continue;
            FileListBox* list = form.File1[i];
            const QString previous = list->pattern();
            list->setPattern(form.Filtro[index]->text());
            try {
                // The refresh that follows reads the times.
                list->refreshNames();
            } catch (const RunError&) {
                // A station whose list could not be re-read keeps the pattern it is listed with.
                list->setPattern(previous);
                throw;
            }
        }
        return true;
    } catch (const RunError& error) {
        form.desktop().messageBox(
            QStringLiteral("Filter Error %1  %2").arg(error.number()).arg(error.description()),
            MsgBoxStyle::OkOnly);
        return false;
    }
}

bool Filtro_LostFocus(Form1& form, int index)
{
    if (applyFilter(form, index))
        return true;
    TextBox* filter = form.Filtro[index];
    filter->setFocus(Qt::OtherFocusReason);
    filter->selectAll();
    return false;
}
