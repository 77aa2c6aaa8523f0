#pragma once

#include <QString>

// Starts the desktop's file manager on a folder, or its plain-text editor on a file,
// as a separate program that is never waited for. Paths are absolute. False when
// no program for it is set up or it could not be started; a folder with no file
// manager set up goes to the desktop's ordinary opener instead.
bool launchFileManager(const QString& absoluteFolder);
bool launchPlainTextEditor(const QString& absoluteFile);
