#pragma once

#include <QString>

class Form1;

// The station row whose folder holds the path (the folder itself or anything in it), or -1:
// also for a path in the collection or backup folder, which are the window's own.
int stationOfPath(const Form1& form, const QString& path);
