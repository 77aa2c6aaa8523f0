#pragma once

#include "StationLook.h"
#include "window/Form1.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <array>
#include <memory>
#include <optional>

// Every station looked at on its own thread, all at once: what each look saw is shown in its
// row when it comes, in whatever order the stations answer, and the window never waits for
// one. A look in hand for a tenth of a second shows the path yellow; a station that has
// answered none of its calls for the deadline is not answering: red, its last list greyed,
// until an answer comes. While a handler of the window runs (a collection, a box), what
// comes is held back and shown once it ends, so that no run sees a list change under it.
class StationLooks : public QObject
{
    Q_OBJECT
public:
    // The looks of the window, made with its first refresh and owned by it.
    static StationLooks& of(Form1& form);
    ~StationLooks() override;

    // Starts a look at every station that has none in hand; a row without a path is shown at once.
    void lookAtAll();
    // Starts a look at the station unless one is in hand; an answer that comes for another path
    // or pattern than the row's is dropped and the station is looked at again.
    void lookAt(int station);

    // Whether the last look found no folder, or failed, or the station is not answering.
    bool isOut(int station) const;
    // Whether every look has been shown, but those of stations that do not answer.
    bool settled() const;
    // Whether the station's row shows what a look saw. A first look still under way is waited for,
    // the window answering meanwhile, until it comes or the station is silent for the deadline:
    // a run must not take a list not seen yet for a station with no files.
    bool awaitFirstLook(int station);

private:
    explicit StationLooks(Form1& form);

    struct Station
    {
        bool inHand = false;
        bool slowShown = false;
        bool silent = false;   // in hand, and no answer for the deadline
        bool answered = false; // a look was shown
        bool out = false;      // the last look shown found no folder, or failed
        QElapsedTimer since;
        std::optional<StationSnapshot> heldBack;
        QString failureShown; // the failure last told in a box, not told again while it repeats
    };
    struct Mailbox;

    void arrive(int station, StationSnapshot snapshot);
    void show(int station, const StationSnapshot& snapshot);
    void tellFailure(int station, const RunError& error);
    void showHeldBack();
    void showHeldBackOf(int station); // its held-back look, which it must have
    void watch();
    void countActive();

    Form1& m_form;
    std::array<Station, StationCount> m_stations;
    QTimer m_watch;
    std::shared_ptr<Mailbox> m_mailbox;
};
