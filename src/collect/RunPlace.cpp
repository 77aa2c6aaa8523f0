#include "RunPlace.h"
#include "platform/NativeName.h"

CopyProgress RunPlace::startFile(const QString& path)
{
    const QString label = QStringLiteral("PC %1 de %2: %3").arg(station).arg(stations).arg(displayName(path));
    CopyProgress onBytes = [this, label](qint64 done, qint64 total) { progress->update(label, done, total); };
    onBytes(0, 0);
    if (progress->canceled())
        throw Canceled();
    return onBytes;
}
