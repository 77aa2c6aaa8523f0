#pragma once

#include "CarefulCopy.h"
#include "platform/Desktop.h"

#include <memory>
#include <optional>

class FileSystem;
class Form1;

// The invigilator's Cancel, taken between two files.
struct Canceled
{
};

// Where a long run is, for its progress: station n of m, and how many files it has done.
struct RunPlace
{
    // The run's progress titled title, over the window's station rows that have a path.
    RunPlace(Form1& form, const QString& title);

    std::unique_ptr<RunProgress> progress;
    int station = 0;
    int stations = 0;
    int done = 0;

    // Shows the file about to be handled, then throws Canceled if Cancel was pressed;
    // returns what follows its bytes.
    CopyProgress startFile(const QString& path);
};

// The identity of the folder when one is there and answers, else nullopt: by identity, the
// same folder is found behind another path, a link or another mount.
std::optional<FileIdentity> identityIfAny(FileSystem& fs, const QString& folder);
