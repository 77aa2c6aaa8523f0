#include "RefreshStations.h"
#include "NewestFile.h"
#include "platform/DateTimeText.h"
#include "platform/Desktop.h"
#include "platform/Paths.h"
#include "platform/RunError.h"
#include "window/FileListBox.h"
#include "window/Form1.h"
#include "window/TextBox.h"

#include <QDateTime>

namespace {

// A save older than this many minutes marks the station's time in red.
constexpr qint64 UnsavedMinutes = 10;

void refreshReachableStation(Form1& form, int i)
{
    FileListBox* list = form.File1[i];
    TextBox* hora = form.Hora[i];
    const QString folder = form.PC1Path[i]->text();

    form.PC1Path[i]->setForeColorUnshown(WindowColor::Black);
    list->setPath(folder);
    // Enabled only once read: an enabled list is one read from a reachable folder.
    list->refresh();
    list->setEnabled(true);
    hora->setEnabled(true);

    // The listing read each file's times; a file that vanished or that the share cannot
    // describe is skipped, a refused one ends the run.
    const QList<FileTimesRead>& listedTimes = list->listedTimes();
    for (const FileTimesRead& times : listedTimes) {
        if (times.outcome == FileTimesRead::Refused)
            throw RunError::fromNumber(ErrorNumber::PermissionDenied);
    }
    const NewestFile newest = findNewestFile(listedTimes);

    if (list->listCount() == 0) {
        hora->setText(QString());
        return;
    }
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

void showStationInFlight(Form1& form, int station)
{
    TextBox* path = form.PC1Path[station];
    path->showInterimColor(WindowColor::Yellow);
    path->repaint();
}

void RefreshStations(Form1& form)
{
    try {
        int activeStations = 0;
        for (int i = 0; i < StationCount; ++i) {
            bool reached = form.fileSystem().folderExists(form.PC1Path[i]->text());
            if (reached) {
                try {
                    refreshReachableStation(form, i);
                } catch (const StationNotAnswering&) {
                    reached = false; // it stopped answering since its folder was found
                }
            }
            if (reached) {
                ++activeStations;
            } else {
                // What it listed last stays in view, greyed.
                form.PC1Path[i]->setForeColorUnshown(WindowColor::Red);
                form.File1[i]->setEnabled(false);
                form.Hora[i]->setEnabled(false);
            }
            // The step's colour is shown once the step ends, and only if it differs from what is
            // on screen; yellow is shown only while a call to the station is slow (showStationInFlight).
            form.PC1Path[i]->showForeColor();
        }
        form.NumPCs->setText(QString::number(activeStations));
        refreshCollectionFolder(form);
    } catch (const RunError& error) {
        for (TextBox* path : form.PC1Path)
            path->showForeColor();
        if (error.number() == ErrorNumber::InvalidPropertyValue)
            return;
        form.desktop().messageBox(
            QStringLiteral("Refresh Error %1  %2").arg(error.number()).arg(error.description()),
            MsgBoxStyle::OkOnly);
    }
}
