#include "monitor/RefreshStations.h"
#include "support/TestLab.h"
#include "window/FileListBox.h"
#include "window/Form1.h"
#include "window/TextBox.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

constexpr quint32 Black = 0;
constexpr quint32 Red = 255;
constexpr quint32 Green = 32768;
constexpr quint32 Yellow = 65535;

// The path the program reads a listed file's times from.
QString listedPath(const QString& folder, const QString& name)
{
    return folder + QDir::separator() + name;
}

QStringList entries(const FileListBox* list)
{
    QStringList names;
    for (int k = 0; k < list->listCount(); ++k)
        names.append(list->list(k));
    return names;
}

// Times as HH:mm:ss of the test day, 15 June 2026, or yyyy-MM-ddTHH:mm:ss.
QDateTime at(const QString& time)
{
    if (time.contains(u'T'))
        return QDateTime::fromString(time, Qt::ISODate);
    return QDateTime(QDate(2026, 6, 15), QTime::fromString(time, u"HH:mm:ss"_s));
}

void addFile(TestLab& lab, const QString& folder, const QString& name, const QString& created,
             const QString& modified)
{
    lab.writeFile(folder, name);
    lab.fileSystem.setTimes(listedPath(folder, name), at(created), at(modified));
}

} // namespace

class TestRefresh : public QObject
{
    Q_OBJECT
private slots:
    void rowsTurnYellowWhileTested();
    void newestFile_data();
    void newestFile();
    void stationGoesAndComesBack();
    void errorStopsTheRun_data();
    void errorStopsTheRun();
    void collectionFolderAppearsAndGoes();
    void timerTickUnderMessageBoxDoesNothing();
};

void TestRefresh::rowsTurnYellowWhileTested()
{
    TestLab lab;
    lab.writeStationList(3);
    lab.makeStation(0);
    lab.makeStation(2);
    Form1& form = lab.open();
    // Station 0 goes away and station 1 comes up; rows 3 to 13 have no folder.
    QVERIFY(QDir(lab.stationFolder(0)).removeRecursively());
    lab.makeStation(1);
    QList<QList<quint32>> seen;
    lab.fileSystem.onFolderExists = [&](const QString&) {
        seen.append(QList<quint32>());
        for (const TextBox* path : form.PC1Path)
            seen.last().append(path->foreColor());
    };
    RefreshStations(form);

    // The row tested is yellow, the rows above it already done, the rows below it as before.
    const QList<quint32> before{Black, Red, Black}, after{Red, Black, Black};
    for (int k = 0; k < StationCount; ++k) {
        for (int i = 0; i < StationCount; ++i) {
            const quint32 expected = i == k ? Yellow : i >= 3 ? Red : (i < k ? after : before)[i];
            QVERIFY2(seen.value(k).value(i) == expected, qPrintable(u"test %1, row %2"_s.arg(k).arg(i)));
        }
    }
    for (int i = 0; i < StationCount; ++i) {
        const bool reachable = i == 1 || i == 2;
        QCOMPARE(form.PC1Path[i]->foreColor(), reachable ? Black : Red);
        QCOMPARE(form.File1[i]->isEnabled(), reachable);
        QCOMPARE(form.Hora[i]->isEnabled(), reachable);
    }
    QCOMPARE(form.NumPCs->text(), u"2"_s);
}

void TestRefresh::newestFile_data()
{
    QTest::addColumn<QString>("files");
    QTest::addColumn<QString>("now");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("hora");
    QTest::addColumn<quint32>("colour");

    // Each file is "name created[/modified][ gone]", in list order; times are of the test day
    // unless dated. A gone file is deleted between the listing and the reading of the times.
    const QString now = u"10:12:00"_s;
    QTest::newRow("single file") << u"a 10:05:30"_s << now << u"a"_s << u"10:05"_s << Green;
    QTest::newRow("later minute wins by a second")
        << u"a 10:05:59, b 10:06:00"_s << now << u"b"_s << u"10:06"_s << Green;
    QTest::newRow("same minute, first listed wins")
        << u"a 10:07:00/09:00:00, b 10:07:59/10:11:00"_s << now << u"a"_s << u"10:07"_s << Red;
    QTest::newRow("same minute, listed without case")
        << u"B 10:07:59/10:11:00, a 10:07:00/09:00:00"_s << now << u"a"_s << u"10:07"_s << Red;
    QTest::newRow("newest listed first")
        << u"a 10:09:00, b 10:01:00, c 10:05:00"_s << now << u"a"_s << u"10:09"_s << Green;
    QTest::newRow("earlier day, later time of day")
        << u"a 2026-06-14T10:08:00/10:11:00, b 10:02:00/09:00:00"_s << now << u"b"_s << u"10:02"_s << Red;
    QTest::newRow("colour from the newest file's own save")
        << u"a 10:09:00/10:01:00, b 10:01:00/10:11:00"_s << now << u"a"_s << u"10:09"_s << Red;
    QTest::newRow("vanished newest skipped")
        << u"a 10:09:00 gone, b 10:03:00/09:00:00"_s << now << u"b"_s << u"10:03"_s << Red;
    QTest::newRow("all vanished") << u"a 10:09:00/09:00:00 gone, b 10:03:00/09:00:00 gone"_s << now << u"a"_s
                                  << u"00:00"_s << Green;
    QTest::newRow("nothing after 1980-01-01 00:00")
        << u"a 1979-12-31T23:00:00/10:12:00, b 1980-01-01T00:00:40/10:12:00"_s << now << u"a"_s << u"00:00"_s
        << Green;

    // Red once more than ten minute boundaries lie between the save and the clock.
    QTest::newRow("11 boundaries in ten minutes")
        << u"a 10:00:59"_s << u"10:11:00"_s << u"a"_s << u"10:00"_s << Red;
    QTest::newRow("10 boundaries in eleven minutes")
        << u"a 10:00:00"_s << u"10:10:59"_s << u"a"_s << u"10:00"_s << Green;
    QTest::newRow("saved in the future")
        << u"a 10:00:00/10:30:00"_s << u"10:10:00"_s << u"a"_s << u"10:00"_s << Green;
    QTest::newRow("across midnight") << u"a 23:50:00/23:55:00"_s << u"2026-06-16T00:06:00"_s << u"a"_s
                                     << u"23:50"_s << Red;
    QTest::newRow("recent creation, old save")
        << u"a 10:14:00/09:00:00"_s << u"10:15:00"_s << u"a"_s << u"10:14"_s << Red;
    QTest::newRow("old creation, recent save")
        << u"a 09:00:00/10:14:00"_s << u"10:15:00"_s << u"a"_s << u"09:00"_s << Green;
}

void TestRefresh::newestFile()
{
    QFETCH(QString, files);
    QFETCH(QString, now);
    QFETCH(QString, selected);
    QFETCH(QString, hora);
    QFETCH(quint32, colour);

    TestLab lab;
    lab.writeStationList(1);
    const QString station = lab.makeStation(0);
    QStringList gone;
    const QStringList described = files.split(u", "_s);
    for (const QString& entry : described) {
        const QStringList words = entry.split(u' ');
        const QStringList times = words[1].split(u'/');
        addFile(lab, station, words[0], times[0], times.value(1, times[0]));
        if (words.size() > 2)
            gone.append(station + u'/' + words[0]);
    }
    lab.desktop.clock = at(now);
    Form1& form = lab.open();
    form.Hora[0]->setForeColor(colour == Red ? Green : Red);
    lab.fileSystem.afterListing = [&](const QString&) {
        for (const QString& path : gone)
            QFile::remove(path);
    };
    RefreshStations(form);

    QCOMPARE(form.File1[0]->listCount(), described.size());
    QCOMPARE(form.File1[0]->fileName(), selected);
    QCOMPARE(form.Hora[0]->text(), hora);
    QCOMPARE(form.Hora[0]->foreColor(), colour);
}

void TestRefresh::stationGoesAndComesBack()
{
    TestLab lab;
    lab.writeStationList(2, u"*.txt"_s);
    const QString station = lab.makeStation(0);
    lab.makeStation(1);
    addFile(lab, station, u"a.txt"_s, "09:55:00", "09:58:00");
    lab.desktop.clock = at(u"10:10:00"_s);
    Form1& form = lab.open();
    QCOMPARE(form.Hora[0]->text(), u"09:55"_s);
    QCOMPARE(form.Hora[0]->foreColor(), Red);

    // Off the network: the row keeps what it showed, greyed.
    QVERIFY(QDir().rename(station, station + u"-off"_s));
    RefreshStations(form);
    QCOMPARE(form.PC1Path[0]->foreColor(), Red);
    QVERIFY(!form.File1[0]->isEnabled());
    QVERIFY(!form.Hora[0]->isEnabled());
    QCOMPARE(entries(form.File1[0]), QStringList{"a.txt"});
    QCOMPARE(form.Hora[0]->text(), u"09:55"_s);
    QCOMPARE(form.NumPCs->text(), u"1"_s);

    // Back with other files: listed without case, hidden files and folders left out.
    QVERIFY(QDir().rename(station + u"-off"_s, station));
    QVERIFY(QFile::remove(station + u"/a.txt"_s));
    addFile(lab, station, u"B.txt"_s, "10:04:00", "10:04:00");
    addFile(lab, station, u"a.txt"_s, "10:01:00", "10:01:00");
    addFile(lab, station, u".b.txt"_s, "10:09:00", "10:09:00");
    lab.makeFolder(u"pc01/c.txt"_s);
    form.onTimer();
    QCOMPARE(form.PC1Path[0]->foreColor(), Black);
    QCOMPARE(form.File1[0]->path(), station);
    QVERIFY(form.File1[0]->isEnabled());
    QVERIFY(form.Hora[0]->isEnabled());
    QCOMPARE(entries(form.File1[0]), (QStringList{"a.txt", "B.txt"}));
    QCOMPARE(form.File1[0]->fileName(), u"B.txt"_s);
    QCOMPARE(form.Hora[0]->text(), u"10:04"_s);
    QCOMPARE(form.Hora[0]->foreColor(), Green);
    QCOMPARE(form.NumPCs->text(), u"2"_s);

    // No file matching the filter: no time, the colour stays.
    form.Hora[0]->setForeColor(Red);
    for (const QString& name : {u"a.txt"_s, u"B.txt"_s})
        QVERIFY(QFile::remove(station + u'/' + name));
    addFile(lab, station, u"notas.doc"_s, "10:05:00", "10:05:00");
    RefreshStations(form);
    QCOMPARE(form.File1[0]->listCount(), 0);
    QCOMPARE(form.Hora[0]->text(), QString());
    QCOMPARE(form.Hora[0]->foreColor(), Red);
}

void TestRefresh::errorStopsTheRun_data()
{
    QTest::addColumn<bool>("inListing");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("description");

    QTest::newRow("listing, path not found") << true << 76 << "Path not found";
    QTest::newRow("listing, share gone") << true << 75 << "Path/File access error";
    QTest::newRow("file times, permission denied") << false << 70 << "Permission denied";
    QTest::newRow("file times, own description") << false << 52 << "Bad file name or number";
    QTest::newRow("invalid property value, no message") << true << 380 << "Invalid property value";
}

void TestRefresh::errorStopsTheRun()
{
    QFETCH(bool, inListing);
    QFETCH(int, number);
    QFETCH(QString, description);

    TestLab lab;
    lab.writeStationList(4);
    for (int i = 0; i < 4; ++i)
        addFile(lab, lab.makeStation(i), u"a.txt"_s, "09:58:00", "09:58:00");
    Form1& form = lab.open();

    // Station 1 fails; every station changes on disk, and so does the collection folder.
    addFile(lab, lab.stationFolder(0), u"n.txt"_s, "10:00:00", "10:00:00");
    addFile(lab, lab.stationFolder(2), u"n.txt"_s, "10:00:00", "10:00:00");
    QVERIFY(QDir(lab.stationFolder(3)).removeRecursively());
    lab.makeFolder(u"recolha/Lab1/Sessao1"_s);
    const RunError error(number, description);
    if (inListing)
        lab.fileSystem.listingFailures.insert(lab.stationFolder(1), error);
    else
        lab.fileSystem.timesFailures.insert(listedPath(lab.stationFolder(1), u"a.txt"_s), error);
    RefreshStations(form);

    if (number == 380) {
        QVERIFY(lab.desktop.prompts.isEmpty());
        return;
    }
    QCOMPARE(lab.desktop.promptTexts(), QStringList{u"Refresh Error %1  %2"_s.arg(number).arg(description)});
    QCOMPARE(lab.desktop.prompts[0].style, 0);
    QCOMPARE(entries(form.File1[0]), (QStringList{"a.txt", "n.txt"}));
    QCOMPARE(form.Hora[0]->text(), u"10:00"_s);
    QCOMPARE(entries(form.File1[2]), QStringList{"a.txt"});
    QCOMPARE(form.PC1Path[3]->foreColor(), Black);
    QVERIFY(form.File1[3]->isEnabled());
    QCOMPARE(form.NumPCs->text(), u"4"_s);
    QCOMPARE(form.PathRecolha->foreColor(), Red);
    QVERIFY(!form.File2->isEnabled());
}

void TestRefresh::collectionFolderAppearsAndGoes()
{
    TestLab lab;
    lab.writeStationList(1);
    Form1& form = lab.open();
    const QString collection = lab.collectionFolder(1);
    QCOMPARE(form.PathRecolha->foreColor(), Red);

    lab.makeFolder(u"recolha/Lab1/Sessao1/pc01"_s);
    for (const char* name : {"PC02.zip", "pc01.zip", ".lock"})
        lab.writeFile(collection, QLatin1String(name));
    RefreshStations(form);
    QCOMPARE(form.PathRecolha->foreColor(), Black);
    QVERIFY(form.File2->isEnabled());
    QCOMPARE(form.File2->path(), form.PathRecolha->text());
    QCOMPARE(entries(form.File2), (QStringList{"pc01.zip", "PC02.zip"}));

    QVERIFY(QDir(collection).removeRecursively());
    RefreshStations(form);
    QCOMPARE(form.PathRecolha->foreColor(), Red);
    QVERIFY(!form.File2->isEnabled());
    QCOMPARE(form.File2->listCount(), 0);
}

void TestRefresh::timerTickUnderMessageBoxDoesNothing()
{
    TestLab lab;
    lab.writeStationList(2);
    lab.makeStation(0);
    lab.makeStation(1);
    Form1& form = lab.open();
    lab.fileSystem.listingFailures.insert(lab.stationFolder(0), RunError::fromNumber(76));

    int testsBefore = -1;
    int testsAfter = -1;
    lab.desktop.whileOpen = [&](const FakeDesktop::Prompt&) {
        if (testsBefore >= 0)
            return;
        testsBefore = lab.fileSystem.folderExistsCalls;
        form.onTimer();
        testsAfter = lab.fileSystem.folderExistsCalls;
    };
    form.onTimer();
    QCOMPARE(testsAfter, testsBefore);
    QCOMPARE(lab.desktop.prompts.size(), 1);

    // Once the box is closed the next tick refreshes again.
    form.onTimer();
    QCOMPARE(lab.desktop.prompts.size(), 2);
}

QTEST_MAIN(TestRefresh)
#include "tst_refresh.moc"
