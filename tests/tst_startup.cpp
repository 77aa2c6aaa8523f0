#include "platform/Desktop.h"
#include "platform/RunError.h"
#include "support/TestLab.h"
#include "window/FileListBox.h"
#include "window/Form1.h"
#include "window/SessionScrollBar.h"
#include "window/TextBox.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>

namespace {

QString sep()
{
    return QString(QDir::separator());
}

QByteArray joinLines(const QStringList& lines, const QByteArray& lineEnd = "\r\n", bool finalLineEnd = true)
{
    QByteArray bytes = lines.join(QString::fromLatin1(lineEnd)).toUtf8();
    return finalLineEnd ? bytes + lineEnd : bytes;
}

// Filter, laboratory, collection root and backup folder: the lines before the stations.
QStringList header(const TestLab& lab)
{
    return {"*.txt", "Lab1", lab.path(QStringLiteral("recolha")), lab.path(QStringLiteral("backup"))};
}

enum class ListFile { Written, Missing, Folder };

} // namespace

Q_DECLARE_METATYPE(ListFile)

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void stationRows_data();
    void stationRows();
    void failures_data();
    void failures();
    void lineEnds_data();
    void lineEnds();
    void emptyStationLine();
    void entries_data();
    void entries();
    void session_data();
    void session();
    void refreshFilterRefreshOrder();
};

void TestStartup::stationRows_data()
{
    QTest::addColumn<int>("stations");
    QTest::addColumn<int>("reachable");

    QTest::newRow("four lines, no station") << 0 << 0;
    QTest::newRow("one station") << 1 << 1;
    QTest::newRow("fourteen stations") << 14 << 14;
    QTest::newRow("fourteen stations, none reachable") << 14 << 0;
}

void TestStartup::stationRows()
{
    QFETCH(int, stations);
    QFETCH(int, reachable);
    TestLab lab;
    lab.writeStationList(stations);
    for (int i = 0; i < reachable; ++i)
        lab.makeStation(i);

    Form1& form = lab.open();

    QVERIFY(lab.startupSucceeded);
    QCOMPARE(lab.desktop.promptTexts(), QStringList());
    for (int i = 0; i < StationCount; ++i) {
        QCOMPARE(form.PC1Path[i]->text(), i < stations ? lab.stationFolder(i) : QString());
        QCOMPARE(form.PC1Path[i]->foreColor(), i < reachable ? WindowColor::Black : WindowColor::Red);
        QCOMPARE(form.File1[i]->isEnabled(), i < reachable);
    }
    QCOMPARE(form.NumPCs->text(), QString::number(reachable));
}

void TestStartup::failures_data()
{
    QTest::addColumn<ListFile>("listFile");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("description");

    const QStringList head{"*.*", "Lab1", "recolha", "backup"};
    QStringList fifteen = head;
    for (int i = 1; i <= 15; ++i)
        fifteen.append(QStringLiteral("pc%1").arg(i));
    QStringList fourteenAndBlank = fifteen.mid(0, 18);
    fourteenAndBlank.append(QString());

    QTest::newRow("fifteen stations")
        << ListFile::Written << joinLines(fifteen) << 340 << "Control array element '14' doesn't exist";
    QTest::newRow("fourteen stations and an empty line") << ListFile::Written << joinLines(fourteenAndBlank)
                                                         << 340 << "Control array element '14' doesn't exist";
    QTest::newRow("three lines") << ListFile::Written << joinLines(head.mid(0, 3)) << 62
                                 << "Input past end of file";
    QTest::newRow("three lines, no final line end")
        << ListFile::Written << joinLines(head.mid(0, 3), "\r\n", false) << 62 << "Input past end of file";
    QTest::newRow("empty file") << ListFile::Written << QByteArray() << 62 << "Input past end of file";
    QTest::newRow("no file") << ListFile::Missing << QByteArray() << 53 << "File not found";
    QTest::newRow("folder named pcs.txt")
        << ListFile::Folder << QByteArray() << 75 << "Path/File access error";
}

void TestStartup::failures()
{
    QFETCH(ListFile, listFile);
    QFETCH(QByteArray, content);
    QFETCH(int, number);
    QFETCH(QString, description);
    TestLab lab;
    if (listFile == ListFile::Written)
        lab.writeStationList(content);
    else if (listFile == ListFile::Folder)
        lab.makeFolder(QStringLiteral("pcs.txt"));

    Form1& form = lab.open();

    QVERIFY(!lab.startupSucceeded);
    QVERIFY(!form.isVisible());
    QCOMPARE(lab.desktop.prompts.size(), 1);
    QCOMPARE(lab.desktop.prompts[0].style, MsgBoxStyle::OkExclamation);
    QString message = lab.desktop.prompts[0].text;
    const QString folder = QDir::toNativeSeparators(QFileInfo(lab.root()).canonicalFilePath());
    QVERIFY2(message.contains(QStringLiteral("pcs.txt")), qPrintable(message));
    QVERIFY2(message.contains(folder), qPrintable(message));
    message.remove(folder); // the folder's name may hold digits
    QVERIFY2(message.contains(QRegularExpression(QStringLiteral("\\b%1\\b").arg(number))),
             qPrintable(message));
    QVERIFY2(message.contains(description), qPrintable(message));
}

void TestStartup::lineEnds_data()
{
    QTest::addColumn<QByteArray>("lineEnd");
    QTest::addColumn<bool>("finalLineEnd");

    QTest::newRow("CR LF, final line end") << QByteArray("\r\n") << true;
    QTest::newRow("CR LF, no final line end") << QByteArray("\r\n") << false;
    QTest::newRow("LF, final line end") << QByteArray("\n") << true;
    QTest::newRow("LF, no final line end") << QByteArray("\n") << false;
}

void TestStartup::lineEnds()
{
    QFETCH(QByteArray, lineEnd);
    QFETCH(bool, finalLineEnd);
    TestLab lab;
    // All fourteen places are taken: a station made up from the final line end would fail the start-up.
    QStringList lines = header(lab);
    for (int i = 0; i < StationCount; ++i)
        lines.append(lab.stationFolder(i));
    lab.writeStationList(joinLines(lines, lineEnd, finalLineEnd));

    Form1& form = lab.open();

    QVERIFY(lab.startupSucceeded);
    QCOMPARE(lab.desktop.promptTexts(), QStringList());
    QCOMPARE(form.Filtro[0]->text(), QStringLiteral("*.txt"));
    QCOMPARE(form.Laboratorio->text(), QStringLiteral("Lab1"));
    QCOMPARE(form.BaseRecolha, lab.path(QStringLiteral("recolha")));
    QCOMPARE(form.PathBackup, lab.path(QStringLiteral("backup")));
    for (int i = 0; i < StationCount; ++i)
        QCOMPARE(form.PC1Path[i]->text(), lab.stationFolder(i));
}

// An empty line is a station without a path; the stations after it keep their places,
// with the blanks around their paths.
void TestStartup::emptyStationLine()
{
    TestLab lab;
    const QString first = lab.makeStation(0);
    const QString third = lab.makeFolder(QStringLiteral("pc03 "));
    lab.writeStationList(joinLines(header(lab) << first << QString() << third));

    Form1& form = lab.open();

    QVERIFY(lab.startupSucceeded);
    QCOMPARE(form.PC1Path[0]->text(), first);
    QCOMPARE(form.PC1Path[1]->text(), QString());
    QCOMPARE(form.PC1Path[1]->foreColor(), WindowColor::Red);
    QCOMPARE(form.PC1Path[2]->text(), third);
    QCOMPARE(form.PC1Path[2]->foreColor(), WindowColor::Black);
    QCOMPARE(form.PC1Path[3]->text(), QString());
    QCOMPARE(form.NumPCs->text(), QStringLiteral("2"));
}

void TestStartup::entries_data()
{
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<QByteArray>("filter");
    QTest::addColumn<QByteArray>("laboratory");
    QTest::addColumn<QString>("decodedFilter");
    QTest::addColumn<QString>("decodedLaboratory");

    QTest::newRow("blanks kept") << QByteArray() << QByteArray(" *.txt ") << QByteArray("Lab 3 ") << " *.txt "
                                 << "Lab 3 ";
    QTest::newRow("windows-1252") << QByteArray() << QByteArray("*.txt") << QByteArray("Laborat\xf3rio")
                                  << "*.txt"
                                  << "Laboratório";
    QTest::newRow("windows-1252 euro sign")
        << QByteArray() << QByteArray("*.txt") << QByteArray("Sala \x80") << "*.txt"
        << "Sala €";
    QTest::newRow("utf-8") << QByteArray() << QByteArray("*.txt") << QByteArray("Laborat\xc3\xb3rio")
                           << "*.txt"
                           << "Laboratório";
    QTest::newRow("utf-8 with byte-order mark")
        << QByteArray("\xef\xbb\xbf") << QByteArray("*.txt") << QByteArray("Laborat\xc3\xb3rio") << "*.txt"
        << "Laboratório";
}

void TestStartup::entries()
{
    QFETCH(QByteArray, start);
    QFETCH(QByteArray, filter);
    QFETCH(QByteArray, laboratory);
    QFETCH(QString, decodedFilter);
    QFETCH(QString, decodedLaboratory);
    TestLab lab;
    lab.makeFolder(QStringLiteral("recolha/") + decodedLaboratory + QStringLiteral("/Sessao1"));
    const QString base = lab.path(QStringLiteral("recolha"));
    lab.writeStationList(start + filter + "\r\n" + laboratory + "\r\n" + base.toUtf8() + "\r\n backup \r\n");

    Form1& form = lab.open();

    QVERIFY(lab.startupSucceeded);
    QCOMPARE(form.Filtro[0]->text(), decodedFilter);
    QCOMPARE(form.Laboratorio->text(), decodedLaboratory);
    QCOMPARE(form.PathBackup, QStringLiteral(" backup "));
    QCOMPARE(form.PathRecolha->text(), base + sep() + decodedLaboratory + sep() + "Sessao1");
    QCOMPARE(form.PathRecolha->foreColor(), WindowColor::Black);
}

void TestStartup::session_data()
{
    QTest::addColumn<bool>("collectionExists");
    QTest::addColumn<quint32>("color");

    QTest::newRow("collection folder exists") << true << WindowColor::Black;
    QTest::newRow("collection folder missing") << false << WindowColor::Red;
}

void TestStartup::session()
{
    QFETCH(bool, collectionExists);
    QFETCH(quint32, color);
    TestLab lab;
    lab.writeStationList(1);
    lab.makeStation(0);
    if (collectionExists)
        lab.writeFile(lab.makeFolder(QStringLiteral("recolha/Lab1/Sessao1")), QStringLiteral("pc01.txt"));

    Form1& form = lab.open();

    QVERIFY(lab.startupSucceeded);
    QCOMPARE(form.NumSessao->text(), QStringLiteral("1"));
    QCOMPARE(form.VScrollSessao->value(), 1);
    QCOMPARE(form.BaseRecolha, lab.path(QStringLiteral("recolha")));
    QCOMPARE(form.PathBackup, lab.path(QStringLiteral("backup")));
    QCOMPARE(form.PathRecolha->text(), form.BaseRecolha + sep() + "Lab1" + sep() + "Sessao1");
    QCOMPARE(form.PathRecolha->foreColor(), color);
    QCOMPARE(form.File2->isEnabled(), collectionExists);
    QCOMPARE(form.File2->listCount(), collectionExists ? 1 : 0);
}

void TestStartup::refreshFilterRefreshOrder()
{
    TestLab lab;
    lab.writeStationList(2);
    lab.makeStation(0);
    lab.makeStation(1);
    lab.fileSystem.listingFailures.insert(lab.stationFolder(1), RunError::fromNumber(75));

    lab.open();

    QVERIFY(lab.startupSucceeded);
    QCOMPARE(lab.desktop.promptTexts(), QStringList({"Refresh Error 75  Path/File access error",
                                                     "Filter Error 75  Path/File access error",
                                                     "Refresh Error 75  Path/File access error"}));
    for (const FakeDesktop::Prompt& prompt : lab.desktop.prompts)
        QCOMPARE(prompt.style, MsgBoxStyle::OkOnly);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
