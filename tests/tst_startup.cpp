#include "support/TestLab.h"
#include "window/Form1.h"
#include "window/SessionScrollBar.h"
#include "window/TextBox.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QStringList fourteen =
    QStringLiteral("pc01 pc02 pc03 pc04 pc05 pc06 pc07 pc08 pc09 pc10 pc11 pc12 pc13 pc14").split(' ');

// Filter, laboratory, collection root, backup folder and stations, relative to the working folder.
QByteArray listFile(const QByteArray& laboratory, const QStringList& stations,
                    const QByteArray& lineEnd = "\r\n")
{
    QByteArrayList lines{"*.txt", laboratory, "recolha", "backup"};
    for (const QString& station : stations)
        lines.append(station.toUtf8());
    return lines.join(lineEnd) + lineEnd;
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void startsUp_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("laboratory");
        QTest::addColumn<QStringList>("paths");
        // Fourteen stations fill every place: a station made up from a final line end would fail.
        const QStringList gap{"pc01", "", "pc03 "}, none;
        QTest::newRow("CR LF") << listFile("Lab1", fourteen) << "Lab1" << fourteen;
        QTest::newRow("LF, no final") << listFile("Lab1", fourteen, "\n").chopped(1) << "Lab1" << fourteen;
        QTest::newRow("empty station line, blanks") << listFile("Lab 3 ", gap) << "Lab 3 " << gap;
        QTest::newRow("windows-1252") << listFile("Laborat\xf3rio \x80", none) << "Laboratório €" << none;
        QTest::newRow("utf-8, BOM") << "\xef\xbb\xbf" + listFile("Lab\xc3\xb3", none) << "Labó" << none;
    }

    void startsUp()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, laboratory);
        QFETCH(QStringList, paths);
        TestLab lab;
        lab.writeStationList(content);
        for (int i = 0; i < paths.size(); i += 2) // only pc01, pc03, ... are reachable
            lab.makeFolder(paths[i]);
        const QString recolha = QStringList{"recolha", laboratory, "Sessao1"}.join(QDir::separator());
        lab.makeFolder(recolha);
        Form1& form = lab.open();
        QVERIFY(lab.startupSucceeded);
        QCOMPARE(lab.desktop.boxes, QStringList());
        QCOMPARE(QStringList({form.Filtro[0]->text(), form.Laboratorio->text(), form.PathBackup,
                              form.PathRecolha->text(), QString::number(form.VScrollSessao->value())}),
                 QStringList({"*.txt", laboratory, "backup", recolha, "1"}));
        QCOMPARE(form.PathRecolha->foreColor(), WindowColor::Black);
        int reachable = 0;
        for (int i = 0; i < StationCount; ++i) {
            const bool up = i % 2 == 0 && !paths.value(i).isEmpty();
            reachable += up;
            QCOMPARE(form.PC1Path[i]->text(), paths.value(i));
            QCOMPARE(form.PC1Path[i]->foreColor(), up ? WindowColor::Black : WindowColor::Red);
        }
        QCOMPARE(form.NumPCs->text(), QString::number(reachable));
    }

    // Each in a working folder named like a placeholder, which the report names as it is.
    void failures_data()
    {
        QTest::addColumn<QString>("file"); // where the content is written
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("error");
        QTest::newRow("15 stations, the last an empty line")
            << "pcs.txt" << listFile("Lab1", fourteen + QStringList{""})
            << "340  Control array element '14' doesn't exist";
        QTest::newRow("3 lines") << "pcs.txt" << QByteArray("*\r\nLab1\r\nrecolha")
                                 << "62  Input past end of file";
        QTest::newRow("missing") << "pcs.old" << QByteArray() << "53  File not found";
    }

    void failures()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        QFETCH(QString, error);
        TestLab lab;
        QDir::setCurrent(lab.makeFolder(u"lab%1"_s));
        lab.writeFile(lab.makeFolder("lab%1/" + QFileInfo(file).path()), QFileInfo(file).fileName(), content);
        lab.open();
        QVERIFY(!lab.startupSucceeded);
        QCOMPARE(lab.desktop.boxes,
                 QStringList{"48 Não foi possível arrancar com o ficheiro pcs.txt da pasta " +
                             QDir::toNativeSeparators(lab.path(u"lab%1"_s)) + ": erro " + error});
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
