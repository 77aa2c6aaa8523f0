#include "WindowCommands.h"
#include "Form1.h"
#include "Form2.h"
#include "TextBox.h"
#include "platform/Launches.h"
#include "platform/Paths.h"

void ComClose_Click(Form1& form)
{
    form.close();
}

void Command2_Click(Form1& form)
{
    Form2& info = form.informationWindow();
    info.show();
    // show() alone leaves a window that is already shown where it is, possibly behind this one.
    info.raise();
    info.activateWindow();
}

void CommandAbrePastaRecolha_Click(Form1& form)
{
    openFolderOrReport(form.desktop(), form.PathRecolha->text() + pathSeparator());
}
