#pragma once

#include <QDateTime>
#include <QString>

// Message box styles: a button set plus an icon.
namespace MsgBoxStyle {
constexpr int OkOnly = 0;
constexpr int YesNo = 4;
constexpr int YesNoCritical = 20;
constexpr int OkExclamation = 48;
} // namespace MsgBoxStyle

// Buttons a message box answers with.
namespace MsgBoxAnswer {
constexpr int Ok = 1;
constexpr int Yes = 6;
constexpr int No = 7;
} // namespace MsgBoxAnswer

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
};
