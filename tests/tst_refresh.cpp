#include "monitor/FileNameFilter.h"
#include "platform/Paths.h"
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
#ifndef Q_OS_WIN
        // On Windows a listing gives each file's times: none is gone before they are read.
        QTest::newRow("no time readable, station marked")
            << u"a 10:09 gone, b 10:08 unreadable"_s << u"10:12"_s << u"a 00:00"_s << Red;
        // Minutes are counted between instants: across a change of the clock, real minutes count. Lisbon:
        // 01:00 becomes 02:00 on 29 March 2026. (Wine places that change an hour early.)
        QTest::newRow("spring, 5 minutes across the change")
            << u"a 2026-03-29T00:58:00Z"_s << u"2026-03-29T01:03:00Z"_s << u"a 00:58"_s << Green;
#endif
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
                gone.append(joinPath(station, words[0]));
            else if (words.value(2) == u"unreadable")
                lab.fileSystem.timesOutcomes.insert(joinPath(station, words[0]), FileTimesRead::Unreadable);
        }
        lab.desktop.clock = at(lab, now);
        Form1& form = lab.open();
        form.Hora[0]->setForeColor(Black);
        lab.fileSystem.afterListing = [&](const QString&) {
            for (const QString& path : gone)
                QDir().remove(path);
        };
        form.File1[0]->setListIndex(0); // the invigilator looks at another file: the newest is selected again
        lab.tick();
        QTEST((form.File1[0]->fileName() + u' ' + form.Hora[0]->text()).trimmed(), "shown");
        QTEST(form.Hora[0]->foreColor(), "colour");
    }

    // Every station is looked at on its own, all at once, and the window waits for none. One that
    // answers at once is painted in its end colour alone; a slow one that keeps answering is yellow
    // until its list comes, never red, though its look takes longer than the deadline; one that stops
    // answering, at its folder test or once its folder was found, is yellow, then red, its last list
    // greyed and not counted, and is not asked again until its answer comes, which is shown then.
    void slowAndSilentStations()
    {
        TestLab lab;
        lab.writeStationList(4);
        const QString silent = lab.makeStation(0), stops = lab.makeStation(1), slow = lab.makeStation(2);
        lab.writeFile(stops, u"a.txt"_s);
        lab.makeStation(3);
        Form1& form = lab.open(std::chrono::milliseconds(400));
        activate(form);
        PaintedColours painted;
        for (TextBox* path : form.PC1Path)
            path->installEventFilter(&painted);
        lab.fileSystem.hangUnder(silent);
        lab.fileSystem.hangUnder(stops + pathSeparator());
        lab.fileSystem.delayUnder(slow, 150); // its folder test, its listing and each file's status
        for (const QString& name : {u"1.txt"_s, u"2.txt"_s, u"3.txt"_s, u"4.txt"_s})
            lab.writeFile(slow, name);

        lab.tick();
        lab.tick();
        QCOMPARE(lab.fileSystem.callsHeld(), 2);
        const auto seen = [&](int i) { return painted.of.value(form.PC1Path[i]); };
        const QColor yellow = colorFromWindowColor(Yellow), red = colorFromWindowColor(Red);
        for (int i : {0, 1}) {
            QCOMPARE(seen(i).count(yellow), 1);
            QCOMPARE(seen(i).last(), red);
            QVERIFY(!form.File1[i]->isEnabled());
            QCOMPARE(form.PC1Path[i]->toolTip(), u"Pasta de exame no PC do aluno\no PC não responde"_s);
        }
        QCOMPARE(form.File1[1]->list(0), u"a.txt"_s);
        QVERIFY(seen(2).contains(yellow) && !seen(2).contains(red));
        QCOMPARE(form.File1[2]->listCount(), 4);
        QVERIFY(!seen(3).contains(yellow));
        QCOMPARE(form.NumPCs->text(), u"2"_s);
        lab.fileSystem.release();
        QTRY_COMPARE(form.NumPCs->text(), u"4"_s);
        QCOMPARE(form.PC1Path[0]->foreColor(), Black);
    }

    // A look that fails because the share broke shows its station red, greyed, not counted, the reason
    // in its path's tip, and no box; any other failure is told once, with the station's path, and not
    // again while it repeats, not even by a tick while the box is open. Station 2 goes away and the
    // collection folder appears, both seen.
    void failuresOfALook_data()
    {
        QTest::addColumn<QString>("failure"); // of station 1's listing, or a listed file's times refused
        QTest::addColumn<QString>("shown");   // every message
        const QString refused = u"0 Refresh Error 70  Permission denied\n@"_s; // "@" station 1
        QTest::newRow("share gone") << u"Path/File access error"_s << QString();
        QTest::newRow("access refused") << u"Permission denied"_s << refused;
        QTest::newRow("a file's times refused") << QString() << refused;
    }

    void failuresOfALook()
    {
        QFETCH(QString, failure);
        QFETCH(QString, shown);
        TestLab lab;
        lab.writeStationList(2);
        lab.makeStation(1);
        Form1& form = lab.open();
        const QString pc1 = lab.makeStation(0);
        lab.writeFile(pc1, u"a.txt"_s);
        if (failure.isEmpty())
            lab.fileSystem.timesOutcomes.insert(joinPath(pc1, u"a.txt"_s), FileTimesRead::Refused);
        else
            lab.fileSystem.listingFailures.insert(
                pc1, failure.startsWith(u"Path"_s) ? RunError::shareGone() : RunError::fromNumber(70));
        QVERIFY(QDir(lab.stationFolder(1)).removeRecursively());
        lab.makeFolder(u"recolha/Lab1/Sessao1"_s);
        lab.desktop.whileOpen = [&] { lab.tick(); };
        lab.tick();
        lab.tick();
        QCOMPARE(lab.desktop.boxes.join(u'\n'), shown.replace(u'@', pc1));
        QCOMPARE(form.File1[0]->isEnabled(), failure.isEmpty());
        QCOMPARE(form.PC1Path[0]->toolTip().section(u'\n', 1), failure);
        QCOMPARE(form.PC1Path[1]->foreColor(), Red);
        QCOMPARE(form.NumPCs->text(), failure.isEmpty() ? u"1"_s : u"0"_s);
        QCOMPARE(form.PathRecolha->foreColor(), Black);
    }

    // Case is ignored first, then told apart; names beyond ASCII fold as Qt folds them. A station found
    // off the network by its last look keeps listing with the pattern it had; one looked at as the
    // filter changes is looked at again, in the new one.
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
#ifdef Q_OS_WIN // where "A.txt" is "a.txt"
        QCOMPARE(listed.join(u' '), u"_x.txt a.txt b.txt Ábaco.txt"_s);
#else
        QCOMPARE(listed.join(u' '), u"_x.txt A.txt a.txt b.txt Ábaco.txt"_s);
#endif

        lab.fileSystem.listingFailures.insert(lab.stationFolder(1), RunError::shareGone());
        lab.tick();
        RefreshStations(form); // its answer, in the pattern it had, is not what the row shows next
        form.Filtro[0]->setText(u"*.doc"_s);
        QVERIFY(Filtro_LostFocus(form, 0));
        lab.settle();
        QCOMPARE(form.File1[0]->pattern() + u' ' + form.File1[1]->pattern(), u"*.doc *.txt"_s);
        QCOMPARE(form.File1[0]->listCount(), 0);
    }
};

QTEST_MAIN(TestRefresh)
#include "tst_refresh.moc"
