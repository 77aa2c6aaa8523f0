#include "RefreshStations.h"
#include "StationLooks.h"
#include "platform/Desktop.h"
#include "platform/FileSystem.h"
#include "platform/RunError.h"
#include "window/FileListBox.h"
#include "window/Form1.h"
#include "window/TextBox.h"

namespace {

void refreshCollectionFolder(Form1& form)
{
    const QString collection = form.PathRecolha->text();
    if (form.fileSystem().folderExists(collection)) {
        form.PathRecolha->setForeColor(WindowColor::Black);
        form.File2->setPath(collection);
        form.File2->setEnabled(true);
        form.File2->refresh();
    } else {
        form.PathRecolha->setForeColor(WindowColor::Red);
        form.File2->setPath(QString());
        form.File2->refresh();
        form.File2->setEnabled(false);
    }
}

} // namespace

void RefreshStations(Form1& form)
{
    StationLooks::of(form).lookAtAll();
    try {
        refreshCollectionFolder(form);
    } catch (const RunError& error) {
        if (error.number() == ErrorNumber::InvalidPropertyValue)
            return;
        form.desktop().messageBox(
            QStringLiteral("Refresh Error %1  %2").arg(error.number()).arg(error.description()),
            MsgBoxStyle::OkOnly);
    }
}
