#include "FileNameFilter.h"
#include "StationLooks.h"
#include "platform/Desktop.h"
#include "platform/RunError.h"
#include "window/FileListBox.h"
#include "window/FileNamePattern.h"
#include "window/Form1.h"
#include "window/TextBox.h"

bool applyFilter(Form1& form, int index)
{
    const QString filter = form.Filtro[index]->text();
    try {
        FileNamePattern::parse(filter);
    } catch (const RunError& error) {
        form.desktop().messageBox(
            QStringLiteral("Filter Error %1  %2").arg(error.number()).arg(error.description()),
            MsgBoxStyle::OkOnly);
        return false;
    }
    StationLooks& looks = StationLooks::of(form);
    for (int i = 0; i < StationCount; ++i) {
        // A station off the network keeps the pattern it is listed with.
        if (looks.isOut(i))
            continue;
        form.File1[i]->setPattern(filter);
        looks.lookAt(i);
    }
    return true;
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
