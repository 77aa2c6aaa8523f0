#pragma once

#include <QString>

class Desktop;

// Opens a folder in the file manager, or a file in the plain-text editor, by its
// absolute path (a station path may be relative to the working folder, and a file
// manager that is already running lives in another folder). A program that cannot
// be started is reported in a message box; the program goes on either way.
void openFolderOrReport(Desktop& desktop, const QString& folder);
void openInEditorOrReport(Desktop& desktop, const QString& file);

// The same launch of the editor, without a word: false when it could not be started,
// for a caller that reports many failures at once.
bool openInEditor(Desktop& desktop, const QString& file);

// A path as the reports of launches name it: absolute, with the system's separators.
QString launchedPathText(const QString& path);
