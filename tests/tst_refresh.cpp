#include "monitor/FileNameFilter.h"
#include "monitor/RefreshStations.h"
#include "support/TestLab.h"
#include "window/FileListBox.h"
#include "window/Form1.h"
#include "window/TextBox.h"
#include "window/WindowColor.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

constexpr quint32 Black = 0, Red = 255, Green = 32768, Yellow = 65535;

// An instant in UTC ("2026-10-25T00:55:00Z"), or a time of the test day ("10:05:59").
QDateTime at(const TestLab& lab, const QString& text)
{
    return text.contains(u'T') ? QDateTime::fromString(text, Qt::ISODate)
                               : QDateTime(lab.desktop.clock.date(), QTime::fromString(text));
}

// The text colour of each paint of the boxes it filters the events of.
struct PaintedColours : QObject
{
    QHash<QObject*, QList<QColor>> of;
    bool eventFilter(QObject* box, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            of[box].append(static_cast<QWidget*>(box)->palette().color(QPalette::Text));
        return false;
    }
};

} // namespace

class TestRefresh : public QObject
{
    Q_OBJECT
private slots:
    void newestFile_data()
    {
        // "name created[/saved][ gone|unreadable]" in list order: gone after listing, or times the share
        // cannot give
        QTest::addColumn<QString>("files");
        QTest::addColumn<QString>("now");
        QTest::addColumn<QString>("shown");  // the selected file and the time
        QTest::addColumn<quint32>("colour"); // red past ten minute boundaries from the save to now
        QTest::newRow("later minute wins by a second")
            << u"a 10:05:59, b 10:06/09:00"_s << u"10:12"_s << u"b 10:06"_s << Red;
        QTest::newRow("same minute, first listed wins")
            << u"a 10:07/09:00, b 10:07:59/10:11"_s << u"10:12"_s << u"a 10:07"_s << Red;
        QTest::newRow("11 boundaries in ten minutes") << u"a 10:00:59"_s << u"10:11"_s << u"a 10:00"_s << Red;
        QTest::newRow("unreadable newest skipped")
            << u"a 10:09 unreadable, b 10:08"_s << u"10:12"_s << u"b 10:08"_s << Green;
        QTest::newRow("no time readable, station marked")
            << u"a 10:09 gone, b 10:08 unreadable"_s << u"10:12"_s << u"a 00:00"_s << Red;
        // Minutes are counted between instants: across a change of the clock, real minutes count. Lisbon:
        // 01:00 becomes 02:00 on 29 March 2026.
        QTest::newRow("spring, 5 minutes across the change")
            << u"a 2026-03-29T00:58:00Z"_s << u"2026-03-29T01:03:00Z"_s << u"a 00:58"_s << Green;
    }

    void newestFile()
    {
        QFETCH(QString, files);
        QFETCH(QString, now);
        TestLab lab;
        lab.writeStationList(1, u"?"_s); // one-letter names only
        const QString station = lab.makeStation(0);
        QStringList gone;
        for (const QString& entry : files.split(u", "_s)) {
            const QStringList words = entry.split(u' '), times = words[1].split(u'/');
            lab.fileSystem.setTimes(lab.writeFile(station, words[0]), at(lab, times[0]),
                                    at(lab, times.value(1, times[0])));
            if (words.value(2) == u"gone")
                gone.append(station + u'/' + words[0]);
            else if (words.value(2) == u"unreadable")
                lab.fileSystem.timesOutcomes.insert(station + u'/' + words[0], FileTimesRead::Unreadable);
        }
        lab.desktop.clock = at(lab, now);
        Form1& form = lab.open();
        form.Hora[0]->setForeColor(Black);
        lab.fileSystem.afterListing = [&](const QString&) {
            for (const QString& path : gone)
                QDir().remove(path);
        };
        form.File1[0]->setListIndex(0); // the invigilator looks at another file: the newest is selected again
        RefreshStations(form);
        QTEST((form.File1[0]->fileName() + u' ' + form.Hora[0]->text()).trimmed(), "shown");
        QTEST(form.Hora[0]->foreColor(), "colour");
    }

    // A station that stops answering, at its folder test or once its folder was found, is shown
    // yellow while the window waits for it, then red, its last list kept; the next refresh does
    // not wait for it again. A station that answers at once is painted in its end colour alone.
    void stationThatStopsAnswering()
    {
        TestLab lab;
        lab.writeStationList(3);
        const QString silent = lab.makeStation(0), stops = lab.makeStation(1);
        lab.writeFile(stops, u"a.txt"_s);
        lab.makeStation(2);
        Form1& form = lab.openBounded(std::chrono::milliseconds(400));
        activate(form);
        PaintedColours painted;
        for (TextBox* path : form.PC1Path)
            path->installEventFilter(&painted);
        lab.fileSystem.hangUnder(silent);
        lab.fileSystem.hangUnder(stops + u'/');
        lab.fileSystem.afterListing = [&](const QString& folder) {
            lab.fileSystem.waitIfHanging(folder + u'/');
        };

        for (int refresh = 1; refresh <= 2; ++refresh) {
            RefreshStations(form);
            QCoreApplication::processEvents();
            for (int i : {0, 1}) {
                const QList<QColor> seen = painted.of.value(form.PC1Path[i]);
                QCOMPARE(seen.count(colorFromWindowColor(Yellow)), 1); // the first refresh's only
                QCOMPARE(seen.last(), colorFromWindowColor(Red));
            }
            QVERIFY(!painted.of.value(form.PC1Path[2]).contains(colorFromWindowColor(Yellow)));
            QCOMPARE(form.NumPCs->text(), u"1"_s);
            QCOMPARE(form.File1[1]->list(0), u"a.txt"_s);
        }
    }

    // Station 0 comes up but cannot be read; station 1 goes away and the collection folder appears,
    // both unseen. A timer tick while the box is open must not start another run.
    void errorShownOnceStopsTheRun_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("ofAFile");  // a listed file's status fails, else the listing
        QTest::addColumn<QString>("shown"); // every message, one a line
        QTest::newRow("invalid property value, silent") << 380 << false << QString();
        QTest::newRow("access to a file refused") << 70 << true << u"0 Refresh Error 70  Permission denied"_s;
    }

    void errorShownOnceStopsTheRun()
    {
        QFETCH(int, number);
        QFETCH(bool, ofAFile);
        TestLab lab;
        lab.writeStationList(2);
        lab.makeStation(1);
        Form1& form = lab.open();
        lab.writeFile(lab.makeStation(0), u"a.txt"_s);
        if (ofAFile)
            lab.fileSystem.timesOutcomes.insert(lab.stationFolder(0) + u"/a.txt"_s, FileTimesRead::Refused);
        else
            lab.fileSystem.listingFailures.insert(lab.stationFolder(0), RunError::fromNumber(number));
        QVERIFY(QDir(lab.stationFolder(1)).removeRecursively());
        lab.makeFolder(u"recolha/Lab1/Sessao1"_s);
        bool ticked = false;
        lab.desktop.whileOpen = [&] {
            if (!std::exchange(ticked, true))
                lab.tick();
        };
        lab.tick();
        QTEST(lab.desktop.boxes.join(u'\n'), "shown");
        QCOMPARE(form.File1[0]->isEnabled(), ofAFile); // not enabled with entries never read from this folder
        QCOMPARE(form.PC1Path[1]->foreColor(), Black);
        QCOMPARE(form.NumPCs->text(), u"1"_s);
        QCOMPARE(form.PathRecolha->foreColor(), Red);
    }

    // Case is ignored first, then told apart; names beyond ASCII fold as Qt folds them. A station whose
    // list cannot be re-read with a new filter keeps listing with the pattern it had.
    void listOrderAndFailedReread()
    {
        TestLab lab;
        lab.writeStationList(2, u"*.txt"_s);
        const QString station = lab.makeStation(0);
        for (const QString& name : {u"b.txt"_s, u"a.txt"_s, u"Ábaco.txt"_s, u"A.txt"_s, u"_x.txt"_s})
            lab.writeFile(station, name);
        lab.makeStation(1);
        Form1& form = lab.open();
        QStringList listed;
        for (int k = 0; k < form.File1[0]->listCount(); ++k)
            listed << form.File1[0]->list(k);
        QCOMPARE(listed.join(u' '), u"_x.txt A.txt a.txt b.txt Ábaco.txt"_s);

        lab.fileSystem.listingFailures.insert(lab.stationFolder(1), RunError::fromNumber(75));
        form.Filtro[0]->setText(u"*.doc"_s);
        QVERIFY(!Filtro_LostFocus(form, 0));
        QCOMPARE(lab.desktop.boxes, QStringList{u"0 Filter Error 75  Path/File access error"_s});
        QCOMPARE(form.File1[0]->pattern() + u' ' + form.File1[1]->pattern(), u"*.doc *.txt"_s);
    }
};

QTEST_MAIN(TestRefresh)
#include "tst_refresh.moc"
