#include "StationRow.h"
#include "NewestFile.h"
#include "StationLook.h"
#include "platform/DateTimeText.h"
#include "platform/Desktop.h"
#include "window/FileListBox.h"
#include "window/Form1.h"
#include "window/TextBox.h"

#include <QDateTime>

namespace {

// A save older than this many minutes marks the station's time in red.
constexpr qint64 UnsavedMinutes = 10;

void showPath(Form1& form, int station, quint32 color, const QString& why)
{
    TextBox* path = form.PC1Path[station];
    path->setForeColor(color);
    path->setToolTip(why.isEmpty() ? Form1::stationPathTip() : Form1::stationPathTip() + u'\n' + why);
}

} // namespace

void showListedStation(Form1& form, int station, const StationSnapshot& snapshot)
{
    FileListBox* list = form.File1[station];
    TextBox* hora = form.Hora[station];
    showPath(form, station, WindowColor::Black, {});
    list->setPath(snapshot.path);
    list->showListing(snapshot.files);
    list->setEnabled(true);
    hora->setEnabled(true);
    if (list->listCount() == 0) {
        hora->setText(QString());
        return;
    }
    // A file that vanished or that the share cannot describe is skipped.
    const NewestFile newest = findNewestFile(list->listedTimes());
    list->setListIndex(newest.position);
    // The one conversion to local time of the station.
    hora->setText(QDateTime::fromMSecsSinceEpoch(newest.created).toString(QStringLiteral("HH:mm")));
    if (newest.noTimeRead && newest.someUnreadable) {
        // Files are there but the share tells nothing of them: the invigilator should look.
        hora->setForeColor(WindowColor::Red);
        return;
    }
    const qint64 minutesSinceSave =
        newest.modified ? minuteBoundariesBetween(*newest.modified, form.desktop().now().toMSecsSinceEpoch())
                        : 0;
    hora->setForeColor(minutesSinceSave > UnsavedMinutes ? WindowColor::Red : WindowColor::Green);
}

void showStationOut(Form1& form, int station, const QString& why)
{
    showPath(form, station, WindowColor::Red, why);
    // What it listed last stays in view, greyed.
    form.File1[station]->setEnabled(false);
    form.Hora[station]->setEnabled(false);
}
