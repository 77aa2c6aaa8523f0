#include "monitor/RefreshStations.h"
#include "support/TestLab.h"
#include "window/FileListBox.h"
#include "window/Form1.h"
#include "window/TextBox.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

constexpr quint32 Black = 0, Red = 255, Green = 32768, Yellow = 65535;

// A file created and last saved at the given times of the test day.
void addFile(TestLab& lab, const QString& folder, const QString& name, const QString& created,
             const QString& saved)
{
    lab.writeFile(folder, name);
    const QDate day = lab.desktop.clock.date();
    lab.fileSystem.setTimes(folder + QDir::separator() + name, QDateTime(day, QTime::fromString(created)),
                            QDateTime(day, QTime::fromString(saved)));
}

} // namespace

class TestRefresh : public QObject
{
    Q_OBJECT
private slots:
    void newestFile_data();
    void newestFile();
    void foldersGoAndComeBack();
    void errorShownOnceStopsTheRun_data();
    void errorShownOnceStopsTheRun();
};

void TestRefresh::newestFile_data()
{
    QTest::addColumn<QString>("files"); // "name created[/saved][ gone]" in list order; gone after listing
    QTest::addColumn<QString>("now");
    QTest::addColumn<QString>("shown");  // the selected file and the time
    QTest::addColumn<quint32>("colour"); // red past ten minute boundaries from the save to now
    QTest::newRow("later minute wins by a second")
        << u"a 10:05:59, b 10:06"_s << u"10:12"_s << u"b 10:06"_s << Green;
    QTest::newRow("same minute, first listed wins")
        << u"a 10:07/09:00, b 10:07:59/10:11"_s << u"10:12"_s << u"a 10:07"_s << Red;
    QTest::newRow("vanished newest skipped")
        << u"a 10:09 gone, b 10:03/09:00"_s << u"10:12"_s << u"b 10:03"_s << Red;
    QTest::newRow("all vanished") << u"a 10:09/09:00 gone, b 10:03 gone"_s << u"10:12"_s << u"a 00:00"_s
                                  << Green;
    QTest::newRow("no file matching, colour stays") << u"ab 10:05"_s << u"10:12"_s << QString() << Black;
    QTest::newRow("11 boundaries in ten minutes") << u"a 10:00:59"_s << u"10:11"_s << u"a 10:00"_s << Red;
    QTest::newRow("10 boundaries in eleven minutes")
        << u"a 10:00"_s << u"10:10:59"_s << u"a 10:00"_s << Green;
}

void TestRefresh::newestFile()
{
    QFETCH(QString, files);
    QFETCH(QString, now);
    TestLab lab;
    lab.writeStationList(1, u"?"_s); // one-letter names only
    const QString station = lab.makeStation(0);
    QStringList gone;
    for (const QString& entry : files.split(u", "_s)) {
        const QStringList words = entry.split(u' '), times = words[1].split(u'/');
        addFile(lab, station, words[0], times[0], times.value(1, times[0]));
        if (words.size() > 2)
            gone.append(station + u'/' + words[0]);
    }
    lab.desktop.clock.setTime(QTime::fromString(now));
    Form1& form = lab.open();
    form.Hora[0]->setForeColor(Black);
    lab.fileSystem.afterListing = [&](const QString&) {
        for (const QString& path : gone)
            QDir().remove(path);
    };
    RefreshStations(form);
    QTEST((form.File1[0]->fileName() + u' ' + form.Hora[0]->text()).trimmed(), "shown");
    QTEST(form.Hora[0]->foreColor(), "colour");
}

void TestRefresh::foldersGoAndComeBack()
{
    TestLab lab;
    lab.writeStationList(2);
    const QString station = lab.makeStation(0), collection = lab.collectionFolder(1);
    addFile(lab, station, u"a.txt"_s, "09:55", "09:55");
    Form1& form = lab.open();
    // Station 0 goes off the network, station 1 and the collection folder come up.
    QVERIFY(QDir(station).removeRecursively());
    lab.makeStation(1);
    lab.writeFile(lab.makeFolder(u"recolha/Lab1/Sessao1"_s), u"pc01.zip"_s);
    QList<QList<quint32>> seen;
    lab.fileSystem.onFolderExists = [&](const QString&) {
        seen.append(QList<quint32>());
        for (const TextBox* path : form.PC1Path)
            seen.last().append(path->foreColor());
    };
    RefreshStations(form);
    // The row tested is yellow, those above it done, those below as before; rows 2 to 13 have no folder.
    const QList<quint32> before{Black, Red}, after{Red, Black};
    for (int k = 0; k < StationCount; ++k)
        for (int i = 0; i < StationCount; ++i) {
            const quint32 expected = i == k ? Yellow : i >= 2 ? Red : (k > i ? after : before)[i];
            QVERIFY2(seen.value(k).value(i) == expected, qPrintable(u"test %1, row %2"_s.arg(k).arg(i)));
        }
    QCOMPARE(form.NumPCs->text(), u"1"_s);
    // The row off the network keeps what it showed, greyed.
    QVERIFY(!form.File1[0]->isEnabled() && !form.Hora[0]->isEnabled());
    QCOMPARE(form.File1[0]->list(0) + u' ' + form.Hora[0]->text(), u"a.txt 09:55"_s);
    QCOMPARE(form.PathRecolha->foreColor(), Black);
    QVERIFY(form.File2->isEnabled());
    QCOMPARE(form.File2->list(0), u"pc01.zip"_s);

    // Station 0 comes back with another file; the collection folder goes.
    addFile(lab, lab.makeStation(0), u"b.txt"_s, "09:59", "09:59");
    QVERIFY(QDir(collection).removeRecursively());
    RefreshStations(form);
    QCOMPARE(form.PC1Path[0]->foreColor(), Black);
    QVERIFY(form.File1[0]->isEnabled() && form.Hora[0]->isEnabled());
    QCOMPARE(form.File1[0]->list(0) + u' ' + form.Hora[0]->text(), u"b.txt 09:59"_s);
    QCOMPARE(form.PathRecolha->foreColor(), Red);
    QVERIFY(!form.File2->isEnabled());
    QCOMPARE(form.File2->listCount(), 0);
}

void TestRefresh::errorShownOnceStopsTheRun_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("listing fails") << 75 << QStringList{u"Refresh Error 75  Path/File access error"_s};
    QTest::newRow("invalid property value, silent") << 380 << QStringList();
}

void TestRefresh::errorShownOnceStopsTheRun()
{
    QFETCH(int, number);
    TestLab lab;
    lab.writeStationList(2);
    lab.makeStation(1);
    Form1& form = lab.open();
    // Station 0 comes up but cannot be read; station 1 goes away and the collection folder appears, both
    // unseen.
    lab.makeStation(0);
    lab.fileSystem.listingFailures.insert(lab.stationFolder(0), RunError::fromNumber(number));
    QVERIFY(QDir(lab.stationFolder(1)).removeRecursively());
    lab.makeFolder(u"recolha/Lab1/Sessao1"_s);
    // A timer tick while the box is open must not start another run.
    bool ticked = false;
    lab.desktop.whileOpen = [&](const FakeDesktop::Prompt&) {
        if (!std::exchange(ticked, true))
            form.onTimer();
    };
    form.onTimer();
    QTEST(lab.desktop.promptTexts(), "shown");
    QVERIFY(!form.File1[0]->isEnabled()); // its old entries were never read from this folder
    QCOMPARE(form.PC1Path[1]->foreColor(), Black);
    QCOMPARE(form.NumPCs->text(), u"1"_s);
    QCOMPARE(form.PathRecolha->foreColor(), Red);
}

QTEST_MAIN(TestRefresh)
#include "tst_refresh.moc"
