#pragma once

#include "platform/Desktop.h"

#include <QList>
#include <QStringList>

#include <functional>

// Records every message box and launch, answers questions from a script, and
// keeps a clock the test sets.
class FakeDesktop : public Desktop
{
public:
    int messageBox(const QString& prompt, int style) override;
    bool openFolder(const QString& folder) override { return launch(openedFolders, folder); }
    bool openInTextEditor(const QString& file) override { return launch(openedFiles, file); }
    QDateTime now() override { return clock; }
    // Cancel is pressed at the update whose label is cancelAt.
    std::unique_ptr<RunProgress> startProgress(const QString& title) override;

    QStringList boxes;                       // every box shown, as "style text"
    static constexpr int Return = 0;         // an answer: Return pressed, on the box's default button
    QList<int> answers;                      // answers to Yes/No questions, in order
    std::function<void()> whileOpen = [] {}; // runs while a box is "open"
    QStringList openedFolders;
    QStringList openedFiles;
    bool launchesFail = false;
    QString cancelAt;
    QDateTime clock = QDateTime(QDate(2026, 6, 15), QTime(10, 0, 0));

private:
    bool launch(QStringList& opened, const QString& path);
};
