#pragma once

#include <QDateTime>
#include <QString>

#include <memory>

// Message box styles: a button set plus an icon, plus DefaultButton2 for a box whose second
// button (No) is the one Return and Space press.
namespace MsgBoxStyle {
constexpr int OkOnly = 0;
constexpr int YesNo = 4;
constexpr int YesNoCritical = 20;
constexpr int OkExclamation = 48;
constexpr int DefaultButton2 = 256;
} // namespace MsgBoxStyle

// Buttons a message box answers with.
namespace MsgBoxAnswer {
constexpr int Ok = 1;
constexpr int Yes = 6;
constexpr int No = 7;
} // namespace MsgBoxAnswer

// The progress of a long run, shown once the run has taken about a second. While it is
// updated the window keeps answering; its Cancel asks the run to stop after the file in hand.
class RunProgress
{
public:
    virtual ~RunProgress() = default;

    // What is being done now, and how much of it: bytes done of total.
    virtual void update(const QString& label, qint64 done, qint64 total) = 0;
    virtual bool canceled() = 0;
};

// What the program asks of the desktop: modal message boxes, starting the file
// manager and the plain-text editor, and the clock. Handed to the window so that
// tests can record every request and answer from a script.
class Desktop
{
public:
    virtual ~Desktop() = default;

    // Shows a modal box titled "Varnok" and returns the button pressed.
    virtual int messageBox(const QString& prompt, int style) = 0;

    // Start a separate program on an absolute path, never waited for. False when it could not be started.
    virtual bool openFolder(const QString& folder) = 0;
    virtual bool openInTextEditor(const QString& file) = 0;

    // The present instant (shown in local time by whoever shows it).
    virtual QDateTime now() = 0;

    // The progress of a run titled title, gone when dropped.
    virtual std::unique_ptr<RunProgress> startProgress(const QString& title) = 0;
};
