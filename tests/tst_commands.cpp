#define QTEST_QPA_MOUSE_HANDLING

#include "support/TestLab.h"
#include "window/FileListBox.h"
#include "window/Form1.h"
#include "window/Form2.h"
#include "window/TextBox.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

// The station folder button and list, and the window's own commands.
class TestCommands : public QObject
{
    Q_OBJECT
private slots:
    void folderButtons_data();
    void folderButtons();
    void doubleClickOpensOneAbsoluteFile_data();
    void doubleClickOpensOneAbsoluteFile();
    void listTipShowsTheSelectedFilesDate();
    void infoAndClose();
};

static int windowsShown()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return int(std::count_if(windows.begin(), windows.end(), [](QWidget* w) { return w->isVisible(); }));
}

void TestCommands::folderButtons_data()
{
    QTest::addColumn<bool>("station"); // the station's button, else "Abre Pasta de Recolha"
    QTest::addColumn<QString>("pathBox");
    QTest::addColumn<QString>("opened"); // relative to the working folder; "-" for nothing
    QTest::newRow("station, empty path") << true << ""
                                         << "-";
    QTest::newRow("station off the network") << true << "pc09"
                                             << "-";
    QTest::newRow("reachable station") << true << "pc01"
                                       << "pc01/";
    QTest::newRow("station path edited since the refresh") << true << "other"
                                                           << "other/";
    QTest::newRow("missing collection folder") << false << "recolha/Lab1/Sessao1"
                                               << "recolha/Lab1/Sessao1/";
    QTest::newRow("empty collection path") << false << ""
                                           << "/";
}

void TestCommands::folderButtons()
{
    QFETCH(bool, station);
    QFETCH(QString, pathBox);
    QFETCH(QString, opened);
    TestLab lab;
    lab.writeStationList(QByteArray("*.*\nLab1\nrecolha\nbackup\npc01\n"));
    lab.makeStation(0);
    lab.makeFolder(QStringLiteral("other"));
    Form1& form = lab.open();

    (station ? form.PC1Path[0] : form.PathRecolha)->setText(pathBox);
    (station ? form.ComOpenShare[0] : form.CommandAbrePastaRecolha)->click();
    lab.desktop.launchesFail = true;
    (station ? form.ComOpenShare[0] : form.CommandAbrePastaRecolha)->click();

    if (opened == QLatin1String("-")) {
        QVERIFY(lab.desktop.openedFolders.isEmpty() && lab.desktop.prompts.isEmpty());
        return;
    }
    const QString folder = opened == QLatin1String("/") ? opened : QDir::currentPath() + "/" + opened;
    QCOMPARE(lab.desktop.openedFolders, QStringList(2, folder));
    // The second launch could not start: said once, naming the folder.
    QCOMPARE(lab.desktop.prompts.size(), 1);
    QVERIFY(lab.desktop.prompts[0].text.contains(folder));
}

void TestCommands::doubleClickOpensOneAbsoluteFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("shell command") << "a; rm -rf ~.txt";
    QTest::newRow("command substitution") << "$(touch x).txt";
    QTest::newRow("option-like") << "-x.txt";
    QTest::newRow("blanks and quotes") << "o meu 'exame' \"final\".txt";
}

void TestCommands::doubleClickOpensOneAbsoluteFile()
{
    QFETCH(QString, name);
    TestLab lab;
    lab.writeStationList(QByteArray("*.txt\nLab1\nrecolha\nbackup\npc01\n")); // a path relative to the lab
    lab.writeFile(lab.makeStation(0), name);
    Form1& form = lab.open();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    FileListBox* list = form.File1[0];
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    lab.desktop.launchesFail = true;
    emit list->entryDoubleClicked();

    const QString file = QDir::currentPath() + "/pc01/" + name;
    QCOMPARE(lab.desktop.openedFiles, QStringList(2, file));
    QCOMPARE(lab.desktop.prompts.size(), 1);
    QVERIFY(lab.desktop.prompts[0].text.contains(file));
    QVERIFY(!QFile::exists(lab.path(QStringLiteral("x"))));
}

void TestCommands::listTipShowsTheSelectedFilesDate()
{
    TestLab lab;
    lab.writeStationList(2);
    const QString file = lab.writeFile(lab.makeStation(0), QStringLiteral("exame.txt"));
    lab.makeStation(1);
    lab.fileSystem.setTimes(file, QDateTime(QDate(2026, 6, 15), QTime(10, 20, 30)));
    Form1& form = lab.open();
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    const auto focusList = [&](int station) { form.File1[station]->setFocus(Qt::MouseFocusReason); };

    focusList(1); // empty
    QCOMPARE(form.File1[1]->toolTip(), QStringLiteral("Ficheiros do aluno"));
    focusList(0);
    QCOMPARE(form.File1[0]->toolTip(), QStringLiteral("15/06/26 10:20:30"));

    // A file that vanished leaves the tip as it was, without a word.
    QFile::remove(file);
    focusList(1);
    focusList(0);
    QCOMPARE(form.File1[0]->toolTip(), QStringLiteral("15/06/26 10:20:30"));
    QVERIFY(lab.desktop.prompts.isEmpty());
}

// One information window, in front; closing the main window leaves it, and the program, running.
void TestCommands::infoAndClose()
{
    TestLab lab;
    lab.writeStationList(1);
    lab.makeStation(0);
    Form1& form = lab.open();
    form.show();

    form.Command2->click();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    form.Command2->click();
    Form2& info = form.informationWindow();
    QVERIFY(QTest::qWaitForWindowActive(&info));
    QCOMPARE(windowsShown(), 2);
    QCOMPARE(QApplication::focusWidget(), info.Command1);
    QTest::keyClick(&info, Qt::Key_Escape);
    QVERIFY(info.isVisible());

    form.ComClose->click();
    const int testsBefore = lab.fileSystem.folderExistsCalls;
    lab.tick();
    QVERIFY(!form.isVisible() && !form.Timer1->isActive());
    QCOMPARE(lab.fileSystem.folderExistsCalls, testsBefore);
    QCOMPARE(windowsShown(), 1);
    QTest::keyClick(info.Command1, Qt::Key_Return);
    QCOMPARE(windowsShown(), 0); // the program ends
}

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
