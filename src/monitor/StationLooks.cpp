#include "StationLooks.h"
#include "StationRow.h"
#include "platform/Desktop.h"
#include "platform/NativeName.h"
#include "platform/StationCalls.h"
#include "window/FileListBox.h"
#include "window/TextBox.h"

#include <QCoreApplication>
#include <QThread>

#include <mutex>

namespace {

constexpr int SlowAfterMs = 100;
constexpr int WatchEveryMs = 100;

} // namespace

// Where the stations' threads leave what they saw: with the looks while they live.
struct StationLooks::Mailbox
{
    std::mutex mutex;
    StationLooks* looks = nullptr;
};

StationLooks& StationLooks::of(Form1& form)
{
    if (auto* looks = form.findChild<StationLooks*>(QString(), Qt::FindDirectChildrenOnly))
        return *looks;
    return *new StationLooks(form);
}

StationLooks::StationLooks(Form1& form) : QObject(&form), m_form(form), m_mailbox(std::make_shared<Mailbox>())
{
    m_mailbox->looks = this;
    m_watch.setInterval(WatchEveryMs);
    connect(&m_watch, &QTimer::timeout, this, &StationLooks::watch);
    form.guard().setOnIdle([this] {
        for (const Station& station : m_stations) {
            if (station.heldBack) {
                QTimer::singleShot(0, this, &StationLooks::showHeldBack);
                return;
            }
        }
    });
}

StationLooks::~StationLooks()
{
    const std::lock_guard lock(m_mailbox->mutex);
    m_mailbox->looks = nullptr;
}

void StationLooks::lookAtAll()
{
    for (int i = 0; i < StationCount; ++i)
        lookAt(i);
}

void StationLooks::lookAt(int i)
{
    Station& station = m_stations[size_t(i)];
    if (station.inHand)
        return;
    const QString path = m_form.PC1Path[i]->text();
    const QString patternText = m_form.File1[i]->pattern();
    if (path.isEmpty()) {
        StationSnapshot nothing;
        nothing.pattern = patternText;
        arrive(i, std::move(nothing));
        return;
    }
    station.inHand = true;
    station.slowShown = false;
    station.since.start();
    m_form.stationCalls().post(i, [mailbox = m_mailbox, i, path, patternText,
                                   pattern = m_form.File1[i]->namePattern()](FileSystem& fs) {
        StationSnapshot snapshot = lookAtStation(fs, path, patternText, pattern);
        const std::lock_guard lock(mailbox->mutex);
        if (StationLooks* looks = mailbox->looks)
            QMetaObject::invokeMethod(
                looks,
                [looks, i, snapshot = std::move(snapshot)]() mutable {
                    looks->arrive(i, std::move(snapshot));
                },
                Qt::QueuedConnection);
    });
    if (!m_watch.isActive())
        m_watch.start();
}

bool StationLooks::isOut(int i) const
{
    const Station& station = m_stations[size_t(i)];
    return station.out || station.silent;
}

bool StationLooks::settled() const
{
    for (const Station& station : m_stations) {
        if ((station.inHand && !station.silent) || station.heldBack)
            return false;
    }
    return true;
}

bool StationLooks::awaitFirstLook(int i)
{
    Station& station = m_stations[size_t(i)];
    StationCalls& calls = m_form.stationCalls();
    while (!station.answered && station.inHand && calls.silence(i) < calls.deadline()) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(10);
    }
    if (!station.answered && station.heldBack)
        showHeldBackOf(i);
    return station.answered;
}

void StationLooks::arrive(int i, StationSnapshot snapshot)
{
    Station& station = m_stations[size_t(i)];
    station.inHand = false;
    if (m_form.isUnloaded())
        return;
    if (m_form.guard().busy())
        station.heldBack = std::move(snapshot);
    else
        show(i, snapshot);
}

void StationLooks::show(int i, const StationSnapshot& snapshot)
{
    // Seen with another path or pattern than the row has now: not what the row is to show.
    if (snapshot.path != m_form.PC1Path[i]->text() || snapshot.pattern != m_form.File1[i]->pattern()) {
        lookAt(i);
        return;
    }
    Station& station = m_stations[size_t(i)];
    station.silent = false;
    station.answered = true;
    station.out = snapshot.outcome != StationSnapshot::Listed;
    if (station.out)
        showStationOut(m_form, i, snapshot.error ? snapshot.error->description() : QString());
    else
        showListedStation(m_form, i, snapshot);
    countActive();
    if (snapshot.outcome != StationSnapshot::Failed &&
        !(snapshot.outcome == StationSnapshot::Listed && snapshot.error))
        station.failureShown.clear();
    else
        tellFailure(i, *snapshot.error);
}

// A failure that is neither a missing folder nor a share gone is told once, with the station's path,
// and not again while it repeats.
void StationLooks::tellFailure(int i, const RunError& error)
{
    Station& station = m_stations[size_t(i)];
    const QString text =
        QStringLiteral("Refresh Error %1  %2\n").arg(error.number()).arg(error.description()) +
        displayName(m_form.PC1Path[i]->text());
    if (text == station.failureShown || error.number() == ErrorNumber::InvalidPropertyValue)
        return;
    station.failureShown = text;
    HandlerGuard::Scope scope(m_form.guard());
    m_form.desktop().messageBox(text, MsgBoxStyle::OkOnly);
}

void StationLooks::showHeldBack()
{
    for (int i = 0; i < StationCount; ++i) {
        Station& station = m_stations[size_t(i)];
        if (station.heldBack && !m_form.guard().busy() && !m_form.isUnloaded())
            showHeldBackOf(i);
    }
}

void StationLooks::showHeldBackOf(int i)
{
    Station& station = m_stations[size_t(i)];
    const StationSnapshot snapshot = std::move(*station.heldBack);
    station.heldBack.reset();
    show(i, snapshot);
}

void StationLooks::watch()
{
    if (m_form.guard().busy() || m_form.isUnloaded())
        return;
    StationCalls& calls = m_form.stationCalls();
    bool inHand = false;
    for (int i = 0; i < StationCount; ++i) {
        Station& station = m_stations[size_t(i)];
        if (!station.inHand)
            continue;
        inHand = true;
        if (!station.slowShown && station.since.elapsed() >= SlowAfterMs) {
            station.slowShown = true;
            m_form.PC1Path[i]->showInterimColor(WindowColor::Yellow);
        }
        if (!station.silent && calls.silence(i) >= calls.deadline()) {
            station.silent = true;
            showStationOut(m_form, i, QStringLiteral("o PC não responde"));
            countActive();
        }
    }
    if (!inHand)
        m_watch.stop();
}

void StationLooks::countActive()
{
    int active = 0;
    for (const Station& station : m_stations)
        active += station.answered && !station.out && !station.silent;
    m_form.NumPCs->setText(QString::number(active));
}
