#include "DeleteOriginals.h"
#include "BackupRecord.h"
#include "BackupThenDelete.h"
#include "RunPlace.h"
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

void showFailure(Desktop& desktop, const QString& path, const RunError& error)
{
    desktop.messageBox(u"Error %1 a apagar o ficheiro: "_s.arg(error.number()) + displayName(path) +
                           u"   "_s + error.description(),
                       MsgBoxStyle::OkOnly);
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

// The station's files are listed once, before any is handled: nothing this run writes is listed.
void emptyStation(Form1& form, BackupRecord& record, const QString& folder, QString& current, RunPlace& place)
{
    QStringList names = form.fileSystem().listAllFiles(folder);
    // In name order, whatever order the folder gives: a run that ends early is easy to follow.
    names.sort();
    for (const QString& name : std::as_const(names)) {
        current = joinPath(folder, name);
        const CopyProgress onBytes = place.startFile(current);
        QString reason;
        switch (backUpThenDelete(form.fileSystem(), record, folder, name, form.PathBackup, onBytes)) {
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
        form.desktop().messageBox(u"O ficheiro: "_s + displayName(current) + u"  não foi apagado porque "_s +
                                      reason,
                                  MsgBoxStyle::OkExclamation);
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
    if (desktop.messageBox(u"PERIGO - Pretende Apagar todas os ficheiros nos computadores"_s +
                               u" dos alunos?"_s,
                           MsgBoxStyle::YesNoCritical) != MsgBoxAnswer::Yes)
        return;
    const QString backupFolder = form.PathBackup;
    if (!fs.folderExists(backupFolder)) {
        desktop.messageBox(u"Pasta de Backup "_s + displayName(backupFolder) + u" não existe!"_s,
                           MsgBoxStyle::OkExclamation);
        return;
    }

    QString current = backupFolder; // what a failure is reported at
    try {
        // By identity: the same folder may be reached by another path, through a link or another mount.
        const FileIdentity backupIdentity = folderIdentity(fs, backupFolder);
        const std::optional<FileIdentity> collectionIdentity = identityIfAny(fs, form.PathRecolha->text());
        BackupRecord record(fs, backupFolder);
        record.write(u"Data e hora do backup: "_s + generalDateText(desktop.now()));
        RunPlace place(form, u"Apaga Originais"_s);
        try {
            emptyStations(form, record, backupIdentity, collectionIdentity, current, place);
        } catch (const Canceled&) {
            place.progress.reset();
            record.write(u"Apaga Originais interrompido: cancelado"_s);
            desktop.messageBox(
                u"Apaga Originais cancelado: %1 ficheiro(s) apagado(s); os restantes ficam nos PCs."_s.arg(
                    place.done),
                MsgBoxStyle::OkExclamation);
        }
    } catch (const BackupRecord::Failure& error) {
        showFailure(desktop, BackupRecord::pathIn(backupFolder), error);
    } catch (const RunError& error) {
        showFailure(desktop, current, error);
    }
}
