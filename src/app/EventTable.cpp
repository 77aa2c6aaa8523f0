#include "EventTable.h"
#include "FilterBeforePress.h"
#include "collect/CollectionRun.h"
#include "collect/DeleteOriginals.h"
#include "monitor/FileNameFilter.h"
#include "monitor/RefreshStations.h"
#include "monitor/StationFiles.h"
#include "setup/SessionPath.h"
#include "window/FileListBox.h"
#include "window/Form1.h"
#include "window/SessionScrollBar.h"
#include "window/TextBox.h"
#include "window/WindowCommands.h"

#include <QPushButton>
#include <QTimer>

namespace {

// Text set by the program raises these at once, inside the handler that set it, so
// they run whether or not another handler is running.
template <typename Signal>
void connectNested(Form1& form, const auto* sender, Signal signal, void (*handler)(Form1&))
{
    QObject::connect(sender, signal, &form, [&form, handler] {
        HandlerGuard::Scope scope(form.guard());
        handler(form);
    });
}

template <typename Signal>
void connectHandler(Form1& form, const auto* sender, Signal signal, void (*handler)(Form1&))
{
    QObject::connect(sender, signal, &form, [&form, handler] { form.runHandler([&] { handler(form); }); });
}

template <typename Signal>
void connectStationHandler(Form1& form, const auto* sender, Signal signal, void (*handler)(Form1&, int),
                           int i)
{
    QObject::connect(sender, signal, &form,
                     [&form, handler, i] { form.runHandler([&] { handler(form, i); }); });
}

} // namespace

void connectEvents(Form1& form)
{
    connectHandler(form, form.Timer1, &QTimer::timeout, RefreshStations);
    connectHandler(form, form.CommandRefresh, &QPushButton::clicked, RefreshStations);
    connectNested(form, form.NumSessao, &QLineEdit::textChanged, NumSessao_Change);
    connectNested(form, form.Laboratorio, &QLineEdit::textChanged, Laboratorio_Change);
    connectNested(form, form.VScrollSessao, &SessionScrollBar::sessionChanged, VScrollSessao_Change);
    for (int i = 0; i < StationCount; ++i) {
        connectStationHandler(form, form.ComOpenShare[i], &QPushButton::clicked, ComOpenShare_Click, i);
        connectStationHandler(form, form.File1[i], &FileListBox::entryDoubleClicked, File1_DblClick, i);
        connectStationHandler(form, form.File1[i], &FileListBox::gotFocus, File1_GotFocus, i);
    }
    connectHandler(form, form.ComClose, &QPushButton::clicked, ComClose_Click);
    connectHandler(form, form.Command2, &QPushButton::clicked, Command2_Click);
    connectHandler(form, form.CommandAbrePastaRecolha, &QPushButton::clicked, CommandAbrePastaRecolha_Click);
    connectHandler(form, form.CommandRecolhe, &QPushButton::clicked, CommandRecolhe_Click);
    connectHandler(form, form.CommandApaga, &QPushButton::clicked, CommandApaga_Click);
    new FilterBeforePress(form, [&form] { return Filtro_LostFocus(form, 0); });
}
