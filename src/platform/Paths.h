#pragma once

#include <QDir>
#include <QString>

// The one separator the program joins paths with: "\" on Windows, "/" elsewhere.
inline QString pathSeparator()
{
    return QString(QDir::separator());
}

// Plain concatenation: nothing is trimmed or normalised, so a folder that already
// ends in a separator gives a doubled one, as the invigilator typed it.
inline QString joinPath(const QString& folder, const QString& name)
{
    return folder + pathSeparator() + name;
}
