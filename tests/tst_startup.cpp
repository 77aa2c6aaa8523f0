#include "support/TestLab.h"
#include "window/Form1.h"
#include "window/SessionScrollBar.h"
#include "window/TextBox.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QStringList fourteen =
    QStringLiteral("pc01 pc02 pc03 pc04 pc05 pc06 pc07 pc08 pc09 pc10 pc11 pc12 pc13 pc14").split(' ');

// Filter, laboratory, collection root, backup folder and stations, relative to the working folder.
QByteArray listFile(const QByteArray& laboratory, const QStringList& stations)
{
    QByteArrayList lines{"*.txt", laboratory, "recolha", "backup"};
    for (const QString& station : stations)
        lines.append(station.toUtf8());
    return lines.join("\r\n") + "\r\n";
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void startsUp_data()
    {
        QTest::addColumn<QByteArray>("content"); // of pcs.txt; none: there is no pcs.txt
        QTest::addColumn<QString>("laboratory");
        QTest::addColumn<QStringList>("paths");
        QTest::addColumn<QString>("error"); // what the report of a failed start-up ends with
        // Fourteen stations fill every place: a station made up from a final line end would fail.
        const QStringList gap{"pc01", "", " pc03"}, none;
        const auto row = [](const char* name, const QByteArray& content, const QString& laboratory,
                            const QStringList& paths, const QString& error = {}) {
            QTest::newRow(name) << content << laboratory << paths << error;
        };
        row("CR LF", listFile("Lab1", fourteen), "Lab1", fourteen);
        row("LF, no final", listFile("Lab1", fourteen).replace("\r\n", "\n").chopped(1), "Lab1", fourteen);
        row("empty station line, blanks", listFile("Lab 3 ", gap), "Lab 3 ", gap);
        row("windows-1252", listFile("Laborat\xf3rio \x80", none), "Laboratório €", none);
        row("utf-8, BOM", "\xef\xbb\xbf" + listFile("Lab\xc3\xb3", none), "Labó", none);
        row("15 stations, the last an empty line", listFile("Lab1", fourteen + QStringList{""}), {}, none,
            "340  Control array element '14' doesn't exist");
        row("3 lines", "*\r\nLab1\r\nrecolha", {}, none, "62  Input past end of file");
        row("missing", {}, {}, none, "53  File not found");
    }

    void startsUp()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, laboratory);
        QFETCH(QStringList, paths);
        QFETCH(QString, error);
        TestLab lab;
        // A working folder named like a placeholder, which a report names as it is.
        QDir::setCurrent(lab.makeFolder(u"lab%1"_s));
        if (!content.isEmpty())
            lab.writeFile(QDir::currentPath(), u"pcs.txt"_s, content);
        for (int i = 0; i < paths.size(); i += 2) // only pc01, pc03, ... are reachable
            QDir().mkpath(paths[i]);
        const QString recolha = QStringList{"recolha", laboratory, "Sessao1"}.join(QDir::separator());
        QDir().mkpath(recolha);
        Form1& form = lab.open();
        QCOMPARE(lab.startupSucceeded, error.isEmpty());
        if (!error.isEmpty()) {
            QCOMPARE(lab.desktop.boxes,
                     QStringList{"48 Não foi possível arrancar com o ficheiro pcs.txt da pasta " +
                                 QDir::toNativeSeparators(lab.path(u"lab%1"_s)) + ": erro " + error});
            return;
        }
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
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
