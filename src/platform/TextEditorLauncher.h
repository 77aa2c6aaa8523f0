#pragma once

#include <QString>

// Opens a file, given by its absolute path, in the desktop's plain-text editor
// as a separate program. False when no program could be started.
bool launchPlainTextEditor(const QString& absoluteFile);
