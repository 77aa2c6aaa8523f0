#include "QtDesktop.h"
#include "DesktopLauncher.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QMessageBox>
#include <QProgressDialog>

namespace {

// Swallows the keys and clicks given to the window before a box opens: typed while the
// program was busy, they would answer the box before it was read.
class InputDiscarder : public QObject
{
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            return true;
        default:
            return QObject::eventFilter(watched, event);
        }
    }
};

void discardPendingInput()
{
    InputDiscarder discarder;
    qApp->installEventFilter(&discarder);
    QCoreApplication::processEvents();
    qApp->removeEventFilter(&discarder);
}

constexpr int ShowAfterMs = 1000;
constexpr int Steps = 1000;

class DialogProgress : public RunProgress
{
public:
    explicit DialogProgress(const QString& title)
        : m_dialog(QString(), QStringLiteral("Cancelar"), 0, Steps, QApplication::activeWindow())
    {
        m_dialog.setWindowTitle(title);
        m_dialog.setWindowModality(Qt::ApplicationModal);
        m_dialog.setMinimumDuration(0);
        m_dialog.setAutoReset(false);
        m_dialog.setAutoClose(false);
        m_dialog.cancel(); // hidden until the run has taken a while
        m_dialog.reset();
        m_clock.start();
    }

    void update(const QString& label, qint64 done, qint64 total) override
    {
        if (!m_dialog.isVisible() && m_clock.elapsed() >= ShowAfterMs)
            m_dialog.show();
        if (m_dialog.isVisible()) {
            m_dialog.setLabelText(label);
            m_dialog.setValue(total > 0 ? int(qMin(done, total) * Steps / total) : 0);
        }
        // The window answers meanwhile: repaints, the desktop's pings, this dialog's Cancel.
        QCoreApplication::processEvents();
    }

    bool canceled() override { return m_dialog.wasCanceled(); }

private:
    QProgressDialog m_dialog;
    QElapsedTimer m_clock;
};

} // namespace

int QtDesktop::messageBox(const QString& prompt, int style)
{
    discardPendingInput();
    constexpr int ButtonsMask = 0x7, IconMask = 0x70, DefaultMask = 0x300;
    constexpr int CriticalIcon = 16, ExclamationIcon = 48;
    const bool yesNo = (style & ButtonsMask) == MsgBoxStyle::YesNo;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    if ((style & IconMask) == CriticalIcon)
        icon = QMessageBox::Critical;
    else if ((style & IconMask) == ExclamationIcon)
        icon = QMessageBox::Warning;

    // Owned by the active window, so that the window manager gives the activation back to it.
    QMessageBox box(icon, QStringLiteral("Varnok"), prompt,
                    yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    if (yesNo) {
        const bool noByDefault = (style & DefaultMask) == MsgBoxStyle::DefaultButton2;
        box.setDefaultButton(noByDefault ? QMessageBox::No : QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
    }
    const int pressed = box.exec();
    if (!yesNo)
        return MsgBoxAnswer::Ok;
    return pressed == QMessageBox::Yes ? MsgBoxAnswer::Yes : MsgBoxAnswer::No;
}

bool QtDesktop::openFolder(const QString& folder)
{
    return launchFileManager(folder);
}

bool QtDesktop::openInTextEditor(const QString& file)
{
    return launchPlainTextEditor(file);
}

QDateTime QtDesktop::now()
{
    // In UTC: no look at the time zone until the time is shown.
    return QDateTime::currentDateTimeUtc();
}

std::unique_ptr<RunProgress> QtDesktop::startProgress(const QString& title)
{
    return std::make_unique<DialogProgress>(title);
}
