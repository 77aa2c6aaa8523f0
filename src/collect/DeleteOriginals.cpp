#include "DeleteOriginals.h"
#include "BackupRecord.h"
#include "BackupThenDelete.h"
#include "MovedAside.h"
#include "RunPlace.h"
#include "monitor/StationLooks.h"
#include "platform/DateTimeText.h"
#include "platform/Desktop.h"
#include "platform/FileSystem.h"
#include "platform/NativeName.h"
#include "platform/Paths.h"
#include "window/Form1.h"
#include "window/TextBox.h"

#include <optional>

using namespace Qt::StringLiterals;

namespace {

// "Error 70 a apagar o ficheiro: path   Permission denied", as the box and the record say it.
QString failureText(const QString& action, const QString& path, const RunError& error)
{
    return u"Error %1 a %2 o ficheiro: "_s.arg(QString::number(error.number()), action) + path + u"   "_s +
           error.description();
}

FileIdentity folderIdentity(FileSystem& fs, const QString& folder)
{
    const std::optional<FileStatus> status = fs.status(folder);
    if (!status)
        throw RunError::fromNumber(ErrorNumber::PathNotFound);
    return status->identity;
}

// A station whose folder is one of the program's own is not emptied: its files are the
// backups, or the collection with its log and checksums.
std::optional<QString> ownFolderName(FileSystem& fs, const QString& folder, const FileIdentity& backup,
                                     const std::optional<FileIdentity>& collection)
{
    const FileIdentity identity = folderIdentity(fs, folder);
    if (identity == backup)
        return u"a pasta de Backup"_s;
    if (identity == collection)
        return u"a pasta de recolha"_s;
    return std::nullopt;
}

// A file that stays on its station, in the record and in a box.
void reportNotDeleted(Form1& form, BackupRecord& record, const QString& path, const QString& reason)
{
    const QString text = u"O ficheiro: "_s + path + u"  não foi apagado porque "_s + reason;
    record.write(text);
    form.desktop().messageBox(displayName(text), MsgBoxStyle::OkExclamation);
}

// Finishes or undoes what a stopped run left under hidden names; returns the names given back.
QStringList finishStoppedDeletions(Form1& form, BackupRecord& record, const QString& folder,
                                   QStringList& names, QString& current)
{
    QStringList restored;
    for (const QString& hidden : names) {
        if (!isTemporaryName(hidden))
            continue;
        current = joinPath(folder, hidden);
        const MovedAsideOutcome outcome = recoverMovedAside(form.fileSystem(), record, folder, hidden);
        if (outcome.how == MovedAsideOutcome::Restored)
            restored.append(outcome.name);
        else if (outcome.how == MovedAsideOutcome::Unknown)
            reportNotDeleted(form, record, current, u"não consta do registo do Backup!"_s);
    }
    names.removeIf(isTemporaryName);
    return restored;
}

// The station's files are listed once, before any is handled: nothing this run writes is listed.
void emptyStation(Form1& form, BackupRecord& record, const QString& folder, QString& current, RunPlace& place)
{
    QStringList names = form.fileSystem().listAllFiles(folder);
    // In name order, whatever order the folder gives: a run that ends early is easy to follow.
    names.sort();
    names += finishStoppedDeletions(form, record, folder, names, current);
    names.sort();
    for (const QString& name : std::as_const(names)) {
        current = joinPath(folder, name);
        CopyOptions options;
        options.onBytes = place.startFile(current);
        options.nowMs = form.desktop().now().toMSecsSinceEpoch();
        QString reason;
        switch (backUpThenDelete(form.fileSystem(), record, folder, name, form.PathBackup, options)) {
        case OriginalFate::Deleted:
            ++place.done;
            continue;
        case OriginalFate::NotBackedUp:
            reason = u"não se consegui fazer o Backup!"_s;
            break;
        case OriginalFate::ChangedDuringBackup:
            reason = u"foi alterado durante o Backup!"_s;
            break;
        case OriginalFate::SymbolicLink:
            reason = u"é uma ligação simbólica!"_s;
            break;
        }
        reportNotDeleted(form, record, current, reason);
    }
}

// Every reachable station, in row order, but the program's own folders.
void emptyStations(Form1& form, BackupRecord& record, const FileIdentity& backupIdentity,
                   const std::optional<FileIdentity>& collectionIdentity, QString& current, RunPlace& place)
{
    FileSystem& fs = form.fileSystem();
    for (int i = 0; i < StationCount; ++i) {
        const QString folder = form.PC1Path[i]->text();
        current = folder;
        if (!folder.isEmpty())
            ++place.station;
        if (!fs.folderExists(folder))
            continue;
        if (const std::optional<QString> own =
                ownFolderName(fs, folder, backupIdentity, collectionIdentity)) {
            form.desktop().messageBox(u"A pasta "_s + displayName(folder) + u" é "_s + *own +
                                          u": os ficheiros não foram apagados."_s,
                                      MsgBoxStyle::OkExclamation);
            continue;
        }
        emptyStation(form, record, folder, current, place);
    }
}

} // namespace

void CommandApaga_Click(Form1& form)
{
    Desktop& desktop = form.desktop();
    FileSystem& fs = form.fileSystem();
    // Its Yes empties the students' folders: a Return or a Space pressed by habit says No.
    if (desktop.messageBox(u"PERIGO - Pretende Apagar todas os ficheiros nos computadores"_s +
                               u" dos alunos?"_s,
                           MsgBoxStyle::YesNoCritical + MsgBoxStyle::DefaultButton2) != MsgBoxAnswer::Yes)
        return;
    const QString backupFolder = form.PathBackup;
    if (!fs.folderExists(backupFolder)) {
        desktop.messageBox(u"Pasta de Backup "_s + displayName(backupFolder) + u" não existe!"_s,
                           MsgBoxStyle::OkExclamation);
        return;
    }

    QString current = backupFolder; // what a failure is reported at
    std::optional<BackupRecord> record;
    try {
        // By identity: the same folder may be reached by another path, through a link or another mount.
        const FileIdentity backupIdentity = folderIdentity(fs, backupFolder);
        const std::optional<FileIdentity> collectionIdentity = identityIfAny(fs, form.PathRecolha->text());
        record.emplace(fs, backupFolder);
        record->write(u"Data e hora do backup: "_s + generalDateText(desktop.now()));
        // Every station at once: those that stopped answering cost one deadline together.
        StationLooks::of(form).lookAtAll();
        RunPlace place(form, u"Apaga Originais"_s);
        try {
            emptyStations(form, *record, backupIdentity, collectionIdentity, current, place);
        } catch (const Canceled&) {
            place.progress.reset();
            record->write(u"Apaga Originais interrompido: cancelado"_s);
            desktop.messageBox(
                u"Apaga Originais cancelado: %1 ficheiro(s) apagado(s); os restantes ficam nos PCs."_s.arg(
                    place.done),
                MsgBoxStyle::OkExclamation);
        }
    } catch (const BackupRecord::Failure& error) {
        desktop.messageBox(displayName(failureText(u"escrever"_s, BackupRecord::pathIn(backupFolder), error)),
                           MsgBoxStyle::OkOnly);
    } catch (const RunError& error) {
        const QString text = failureText(u"apagar"_s, current, error);
        if (record)
            record->writeQuietly(u"Apaga Originais interrompido: "_s + text);
        desktop.messageBox(displayName(text), MsgBoxStyle::OkOnly);
    }
}
