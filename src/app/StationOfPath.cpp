#include "StationOfPath.h"
#include "platform/Paths.h"
#include "window/Form1.h"
#include "window/TextBox.h"

namespace {

bool isIn(const QString& path, const QString& folder)
{
    if (folder.isEmpty() || !path.startsWith(folder))
        return false;
    const QString separator = pathSeparator();
    return path.size() == folder.size() || folder.endsWith(separator) ||
           QStringView(path).sliced(folder.size()).startsWith(separator);
}

} // namespace

int stationOfPath(const Form1& form, const QString& path)
{
    if (isIn(path, form.PathRecolha->text()) || isIn(path, form.PathBackup))
        return -1;
    for (int i = 0; i < StationCount; ++i) {
        if (isIn(path, form.PC1Path[i]->text()))
            return i;
    }
    return -1;
}
