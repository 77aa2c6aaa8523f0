#include "SessionPath.h"
#include "monitor/RefreshStations.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "window/Form1.h"
#include "window/SessionScrollBar.h"
#include "window/TextBox.h"

void UpdatePathRecolha(Form1& form)
{
    const QString laboratory = form.Laboratorio->text();
    const QString session = form.NumSessao->text();
    form.PathRecolha->setText(
        joinPath(joinPath(form.BaseRecolha, laboratory), QStringLiteral("Sessao") + session));
    const bool exists = form.fileSystem().folderExists(form.PathRecolha->text());
    form.PathRecolha->setForeColor(exists ? WindowColor::Black : WindowColor::Red);
}

void NumSessao_Change(Form1& form)
{
    UpdatePathRecolha(form);
}

void Laboratorio_Change(Form1& form)
{
    UpdatePathRecolha(form);
}

void VScrollSessao_Change(Form1& form)
{
    form.NumSessao->setText(QString::number(form.VScrollSessao->value()));
    UpdatePathRecolha(form);
    RefreshStations(form);
}
