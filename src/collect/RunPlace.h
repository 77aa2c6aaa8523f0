#pragma once

#include "CarefulCopy.h"
#include "platform/Desktop.h"

#include <memory>

// The invigilator's Cancel, taken between two files.
struct Canceled
{
};

// Where a long run is, for its progress: station n of m, and how many files it has done.
struct RunPlace
{
    std::unique_ptr<RunProgress> progress;
    int station = 0;
    int stations = 0;
    int done = 0;

    // Shows the file about to be handled, then throws Canceled if Cancel was pressed;
    // returns what follows its bytes.
    CopyProgress startFile(const QString& path);
};
