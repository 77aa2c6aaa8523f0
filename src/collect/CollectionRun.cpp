#include "CollectionRun.h"
#include "CarefulCopy.h"
#include "ChecksumList.h"
#include "CollectionLog.h"
#include "Interruption.h"
#include "LogText.h"
#include "RecordFile.h"
#include "RunPlace.h"
#include "monitor/RefreshStations.h"
#include "monitor/StationLooks.h"
#include "platform/Desktop.h"
#include "platform/FileSystem.h"
#include "platform/Launches.h"
#include "platform/NativeName.h"
#include "platform/Paths.h"
#include "platform/RunError.h"
#include "window/FileListBox.h"
#include "window/Form1.h"
#include "window/TextBox.h"

#include <optional>

namespace {

const QString LogName = QStringLiteral("log.txt");
const QString ChecksumsName = QStringLiteral("SHA256SUMS");

void refuseFolderInUse(Desktop& desktop)
{
    desktop.messageBox(QStringLiteral("A recolha só pode ser realizada para pastas vazias"),
                       MsgBoxStyle::OkOnly);
}

// What must hold before anything is written: the teacher's name, an existing and
// empty collection folder, and a yes for every station marked as not saved.
bool mayCollect(Form1& form)
{
    Desktop& desktop = form.desktop();
    if (form.Professor->text().isEmpty()) {
        desktop.messageBox(QStringLiteral("Preeencha o campo Professor"), MsgBoxStyle::OkOnly);
        form.Professor->setFocus();
        return false;
    }
    const QString folder = form.PathRecolha->text();
    if (!form.fileSystem().folderExists(folder)) {
        desktop.messageBox(QStringLiteral("A pasta ") + displayName(folder) + QStringLiteral(" não existe!"),
                           MsgBoxStyle::OkExclamation);
        return false;
    }
    // The folder as it is now: typing a session number refreshes nothing, and the list
    // the last refresh left may be another folder's, or out of date.
    form.File2->setPath(folder);
    try {
        form.File2->refresh();
    } catch (const RunError& error) {
        desktop.messageBox(
            QStringLiteral("Error %1 a ler a pasta: %2   %3")
                .arg(QString::number(error.number()), displayName(folder), error.description()),
            MsgBoxStyle::OkExclamation);
        return false;
    }
    if (form.File2->listCount() > 0) {
        refuseFolderInUse(desktop);
        return false;
    }
    for (int i = 0; i < StationCount; ++i) {
        if (form.Hora[i]->foreColor() != WindowColor::Red)
            continue;
        const QString question = QStringLiteral("O ficheiro no PC ") + displayName(form.PC1Path[i]->text()) +
                                 QStringLiteral(" não fez SAVE.") +
                                 QStringLiteral("Continuar com a recolha?");
        if (desktop.messageBox(question, MsgBoxStyle::YesNo) == MsgBoxAnswer::No)
            return false;
    }
    return true;
}

// The run's own files, log.txt and SHA256SUMS, claimed together or not at all.
struct Records
{
    std::unique_ptr<RecordFile> log;
    std::unique_ptr<RecordFile> checksums;

    // False when either name is taken: another run, from this PC or another, has the folder.
    bool claim(FileSystem& fs, const QString& folder)
    {
        log = RecordFile::createNew(fs, joinPath(folder, LogName));
        if (!log)
            return false;
        try {
            checksums = RecordFile::createNew(fs, joinPath(folder, ChecksumsName));
        } catch (const Interruption&) {
            discardLog();
            throw;
        }
        if (!checksums)
            discardLog();
        return checksums != nullptr;
    }

    void discardLog()
    {
        log->discard();
        log.reset();
    }
};

// Every copy under its final name is listed whole in both SHA256SUMS and log.txt: one
// that cannot be is removed again, its original still on the station.
void recordCopy(FileSystem& fs, Records& records, const CopyResult& copy, const QByteArray& logLine)
{
    const qint64 listed = records.checksums->size();
    try {
        records.checksums->write(checksumLine(copy.sha256, copy.name));
        records.log->write(logLine);
    } catch (const Interruption&) {
        records.checksums->cutBackQuietly(listed);
        try {
            fs.removeFile(copy.path);
        } catch (const RunError&) {
        }
        throw;
    }
}

struct EditorFailures
{
    int count = 0;
    QString first;
};

// What a run could not collect, one log line each, for the invigilator at the end.
struct Uncollected
{
    QStringList lines;

    void add(Records& records, const QByteArray& line, const QString& text)
    {
        records.log->write(line);
        lines.append(text);
    }
    void addFile(Records& records, const QString& source, const RunError& error)
    {
        const QString text = Interruption(error, Interruption::Action::Copying, source).firstLine();
        add(records, logLine(text), text);
    }
    void addStation(Records& records, const QString& station, const QString& reason)
    {
        add(records, nothingCollectedLine(station, reason), nothingCollectedText(station, reason));
    }
};

// Why a station gives nothing: it does not answer, or its folder is not there; or, by its row,
// what its last look found.
QString whyNothing(Form1& form, int i)
{
    if (form.fileSystem().notAnswering(form.PC1Path[i]->text()))
        return QStringLiteral("o PC não responde");
    const QString why = form.PC1Path[i]->toolTip().section(u'\n', 1);
    return why.isEmpty() ? QStringLiteral("a pasta não foi encontrada") : why;
}

// One station's listed files, in list order. A failure on the station's side is logged and
// the run goes on with the next file; a share that breaks or stops answering gives one line,
// with the files not collected, and the run goes on with the next station; a failure on the
// collection's side ends the run.
void copyStation(Form1& form, Records& records, int i, EditorFailures& editorFailures,
                 Uncollected& uncollected, RunPlace& place)
{
    FileSystem& fs = form.fileSystem();
    const QString folder = form.PathRecolha->text();
    const QString station = form.PC1Path[i]->text();
    const FileListBox* list = form.File1[i];
    const auto stationLost = [&](int k, const RunError& error) {
        QStringList left;
        for (; k < list->listCount(); ++k)
            left.append(list->list(k));
        const QString text = stationLostText(station, error.description(), left);
        uncollected.add(records, logLine(text), text);
    };
    for (int k = 0; k < list->listCount(); ++k) {
        const QString name = list->list(k);
        const QString source = joinPath(station, name);
        CopyOptions options;
        options.reservedNames = {LogName, ChecksumsName};
        options.onBytes = place.startFile(source);
        options.nowMs = form.desktop().now().toMSecsSinceEpoch();
        if (const FileTimesRead& listed = list->listedTimes().value(k); listed.read())
            options.listedSize = listed.times.size;
        CopyResult copy;
        try {
            std::optional<FileStatus> entry;
            try {
                entry = fs.entryStatus(source);
            } catch (const RunError& error) {
                throw SourceError(error);
            }
            if (!entry || (entry->kind != FileStatus::Kind::File && entry->kind != FileStatus::Kind::Link))
                continue;
            if (entry->kind == FileStatus::Kind::Link)
                throw SymbolicLinkRefused();
            copy = copyWithoutReplacing(fs, source, folder, name, options);
        } catch (const SymbolicLinkRefused&) {
            uncollected.add(records, linkSkippedLine(source), linkSkippedText(source));
            continue;
        } catch (const SourceError& error) {
            if (error.isShareGone())
                return stationLost(k, error);
            uncollected.addFile(records, source, error);
            continue;
        } catch (const RunError& error) {
            throw Interruption(error, Interruption::Action::Copying, source);
        }
        recordCopy(fs, records, copy, copyLine(source, folder, copy.name == name ? QString() : copy.name));
        ++place.done;
        if (!openInEditor(form.desktop(), copy.path) && editorFailures.count++ == 0)
            editorFailures.first = copy.path;
    }
}

// Every listed file of every station listed when the run began, in station order; a station
// that cannot be reached is logged.
void copyPass(Form1& form, Records& records, EditorFailures& editorFailures, Uncollected& uncollected,
              RunPlace& place)
{
    FileSystem& fs = form.fileSystem();
    const std::optional<FileIdentity> collection = identityIfAny(fs, form.PathRecolha->text());
    for (int i = 0; i < StationCount; ++i) {
        const QString station = form.PC1Path[i]->text();
        if (station.isEmpty())
            continue;
        ++place.station;
        if (!StationLooks::of(form).awaitFirstLook(i) || !form.File1[i]->isEnabled() ||
            !fs.folderExists(station)) {
            uncollected.addStation(records, station, whyNothing(form, i));
            continue;
        }
        // By another path or through a link, a station's folder can be the collection folder itself.
        if (collection && identityIfAny(fs, station) == collection)
            continue;
        copyStation(form, records, i, editorFailures, uncollected, place);
    }
}

// The header, the copies and the file manager, once the run's files are claimed.
void collect(Form1& form, Records& records, RunPlace& place)
{
    Desktop& desktop = form.desktop();
    for (const QByteArray& line : logHeader(form))
        records.log->write(line);
    const QString folder = form.PathRecolha->text();
    if (!form.fileSystem().folderExists(folder)) {
        desktop.messageBox(QStringLiteral("A pasta de destino não existe"), MsgBoxStyle::OkOnly);
        return;
    }
    // Every station is looked at again now, at once: stations that stopped answering since their
    // last look cost one deadline together, not one each as the run comes to them. What the looks
    // see is shown after the run.
    StationLooks::of(form).lookAtAll();
    EditorFailures editorFailures;
    Uncollected uncollected;
    copyPass(form, records, editorFailures, uncollected, place);
    place.progress.reset();
    if (!uncollected.lines.isEmpty()) {
        QString text = QStringLiteral("Não foram recolhidos:");
        for (const QString& line : std::as_const(uncollected.lines))
            text += u'\n' + displayName(line);
        desktop.messageBox(text, MsgBoxStyle::OkExclamation);
    }
    // The editor is a convenience: its failures are told once, after every file is safe.
    if (editorFailures.count > 0)
        desktop.messageBox(
            QStringLiteral("Não foi possível abrir %1 ficheiro(s) recolhido(s) no editor de texto; "
                           "o primeiro: %2.")
                .arg(QString::number(editorFailures.count), launchedPathText(editorFailures.first)),
            MsgBoxStyle::OkExclamation);
    openFolderOrReport(desktop, folder + pathSeparator());
}

} // namespace

void CommandRecolhe_Click(Form1& form)
{
    if (!mayCollect(form))
        return;
    Records records;
    try {
        if (!records.claim(form.fileSystem(), form.PathRecolha->text())) {
            refuseFolderInUse(form.desktop());
            return;
        }
        RunPlace place(form, QStringLiteral("Recolha"));
        try {
            collect(form, records, place);
        } catch (const Canceled&) {
            place.progress.reset();
            records.checksums->close();
            records.log->write(interruptionLine(QStringLiteral("cancelada")));
            records.log->close();
            form.desktop().messageBox(
                QStringLiteral("Recolha cancelada: %1 ficheiro(s) recolhido(s) ficam na pasta de recolha.")
                    .arg(place.done),
                MsgBoxStyle::OkExclamation);
            RefreshStations(form);
            return;
        }
        records.checksums->close();
        records.log->close();
    } catch (const Interruption& stop) {
        // On disk before the invigilator is told, should the program go no further.
        if (records.checksums)
            records.checksums->closeQuietly();
        if (records.log)
            records.log->writeAndCloseQuietly(interruptionLine(stop.firstLine()));
        form.desktop().messageBox(stop.message(), MsgBoxStyle::OkExclamation);
        return;
    }
    RefreshStations(form);
}
