#include "Startup.h"
#include "StationListFile.h"
#include "monitor/FileNameFilter.h"
#include "monitor/RefreshStations.h"
#include "platform/Desktop.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/RunError.h"
#include "window/FileNamePattern.h"
#include "window/Form1.h"
#include "window/SessionScrollBar.h"
#include "window/TextBox.h"

#include <QDir>
#include <QTimer>

#include <cstdio>

namespace {

const QString StationListName = QStringLiteral("pcs.txt");

void reportStartupFailure(Form1& form, const RunError& error)
{
    // Joined, not substituted: a folder named "lab%1" must reach the message as it is.
    const QString message = QStringLiteral("Não foi possível arrancar com o ficheiro ") + StationListName +
                            QStringLiteral(" da pasta ") + QDir::toNativeSeparators(QDir::currentPath()) +
                            QStringLiteral(": erro ") + QString::number(error.number()) +
                            QStringLiteral("  ") + error.description();
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    std::fflush(stderr);
    form.desktop().messageBox(message, MsgBoxStyle::OkExclamation);
}

void readStationList(Form1& form)
{
    LineReader reader(
        stationListLines(form.fileSystem().readFile(joinPath(QStringLiteral("."), StationListName))));
    form.Filtro[0]->setText(reader.readLine());
    form.Laboratorio->setText(reader.readLine());
    form.BaseRecolha = reader.readLine();
    form.PathRecolha->setText(joinPath(joinPath(form.BaseRecolha, form.Laboratorio->text()),
                                       QStringLiteral("Sessao") + form.NumSessao->text()));
    form.PathBackup = reader.readLine();

    int stations = 0;
    while (!reader.atEnd()) {
        const QString path = reader.readLine();
        if (stations >= StationCount)
            throw RunError(ErrorNumber::ControlArrayElementMissing,
                           QStringLiteral("Control array element '%1' doesn't exist").arg(stations));
        form.PC1Path[stations]->setText(path);
        ++stations;
    }
    form.NumPCs->setText(QString::number(stations));
}

} // namespace

bool runStartup(Form1& form)
{
    HandlerGuard::Scope scope(form.guard());
    form.NumSessao->setText(QStringLiteral("1"));
    try {
        readStationList(form);
    } catch (const RunError& error) {
        reportStartupFailure(form, error);
        return false;
    }
    // The filter before the first looks, so that each station is looked at once, in it. A filter
    // the lists refuse is told once the window is shown: no box opens before it.
    try {
        FileNamePattern::parse(form.Filtro[0]->text());
        applyFilter(form, 0);
    } catch (const RunError&) {
        QTimer::singleShot(0, &form, [&form] { form.runHandler([&form] { Filtro_LostFocus(form, 0); }); });
    }
    form.VScrollSessao->setValue(form.NumSessao->text().toInt());
    RefreshStations(form);
    return true;
}
