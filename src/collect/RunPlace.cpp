#include "RunPlace.h"
#include "platform/FileSystem.h"
#include "platform/NativeName.h"
#include "window/Form1.h"
#include "window/TextBox.h"

RunPlace::RunPlace(Form1& form, const QString& title) : progress(form.desktop().startProgress(title))
{
    for (const TextBox* path : form.PC1Path)
        stations += path->text().isEmpty() ? 0 : 1;
}

CopyProgress RunPlace::startFile(const QString& path)
{
    const QString label = QStringLiteral("PC %1 de %2: %3").arg(station).arg(stations).arg(displayName(path));
    CopyProgress onBytes = [this, label](qint64 done, qint64 total) { progress->update(label, done, total); };
    onBytes(0, 0);
    if (progress->canceled())
        throw Canceled();
    return onBytes;
}

std::optional<FileIdentity> identityIfAny(FileSystem& fs, const QString& folder)
{
    try {
        if (const std::optional<FileStatus> status = fs.status(folder))
            return status->identity;
    } catch (const RunError&) {
    }
    return std::nullopt;
}
