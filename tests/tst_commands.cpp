#define QTEST_QPA_MOUSE_HANDLING

#include "monitor/RefreshStations.h"
#include "support/TestLab.h"
#include "window/FileListBox.h"
#include "window/Form1.h"
#include "window/Form2.h"
#include "window/TextBox.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>

// The station folder button and list, and the window's own commands.
class TestCommands : public QObject
{
    Q_OBJECT
private slots:
    void folderButtonOpensReachableFolders_data();
    void folderButtonOpensReachableFolders();
    void doubleClickOpensOneAbsoluteFile_data();
    void doubleClickOpensOneAbsoluteFile();
    void failedLaunchIsReported();
    void listTipShowsTheSelectedFilesDate();
    void collectionFolderOpensEvenWhenMissing();
    void infoShowsOneWindowInFront();
    void closingTheMainWindowLeavesInfoRunning();
};

void TestCommands::folderButtonOpensReachableFolders_data()
{
    QTest::addColumn<QString>("pathBox"); // relative to the lab
    QTest::addColumn<bool>("opens");
    QTest::newRow("empty path") << QString() << false;
    QTest::newRow("station off the network") << "pc09" << false;
    QTest::newRow("reachable station") << "pc01" << true;
    QTest::newRow("path edited since the refresh") << "other" << true;
}

void TestCommands::folderButtonOpensReachableFolders()
{
    QFETCH(QString, pathBox);
    QFETCH(bool, opens);
    TestLab lab;
    lab.writeStationList(QByteArray("*.*\nLab1\nrecolha\nbackup\npc01\n"));
    lab.makeStation(0);
    lab.makeFolder(QStringLiteral("other"));
    Form1& form = lab.open();

    form.PC1Path[0]->setText(pathBox);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTest::mouseClick(form.ComOpenShare[0], Qt::LeftButton);

    const QStringList expected =
        opens ? QStringList{QDir::currentPath() + "/" + pathBox + "/"} : QStringList{};
    QCOMPARE(lab.desktop.openedFolders, expected);
    QVERIFY(lab.desktop.prompts.isEmpty());
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
    lab.writeStationList(QByteArray("*.txt\nLab1\nrecolha\nbackup\npc01\n"));
    lab.writeFile(lab.makeStation(0), name);
    Form1& form = lab.open();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    FileListBox* list = form.File1[0];
    QCOMPARE(list->fileName(), name);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());

    QCOMPARE(lab.desktop.openedFiles, QStringList{QDir::currentPath() + "/pc01/" + name});
    QVERIFY(!QFile::exists(lab.path(QStringLiteral("x"))));
}

void TestCommands::failedLaunchIsReported()
{
    TestLab lab;
    lab.writeStationList(1);
    lab.writeFile(lab.makeStation(0), QStringLiteral("exame.txt"));
    Form1& form = lab.open();
    lab.desktop.launchesFail = true;

    emit form.File1[0]->entryDoubleClicked();
    form.ComOpenShare[0]->click();

    QCOMPARE(lab.desktop.prompts.size(), 2);
    QVERIFY(lab.desktop.prompts[0].text.contains(lab.stationFolder(0) + "/exame.txt"));
    QVERIFY(lab.desktop.prompts[1].text.contains(lab.stationFolder(0)));
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

    // A file whose date cannot be read leaves the tip as it was, without a word.
    QFile::remove(file);
    focusList(1);
    focusList(0);
    lab.fileSystem.timesFailures.insert(file, RunError::fromNumber(ErrorNumber::PathFileAccessError));
    focusList(1);
    focusList(0);
    QCOMPARE(form.File1[0]->toolTip(), QStringLiteral("15/06/26 10:20:30"));
    QVERIFY(lab.desktop.prompts.isEmpty());
}

void TestCommands::collectionFolderOpensEvenWhenMissing()
{
    TestLab lab;
    lab.writeStationList(0);
    Form1& form = lab.open();

    form.CommandAbrePastaRecolha->click();
    form.PathRecolha->setText(QString());
    form.CommandAbrePastaRecolha->click();

    QCOMPARE(lab.desktop.openedFolders, (QStringList{lab.collectionFolder() + "/", QStringLiteral("/")}));
}

void TestCommands::infoShowsOneWindowInFront()
{
    TestLab lab;
    lab.writeStationList(0);
    Form1& form = lab.open();
    form.show();

    form.Command2->click();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    form.Command2->click();

    const QWidgetList windows = QApplication::topLevelWidgets();
    QCOMPARE(
        std::count_if(windows.begin(), windows.end(), [](QWidget* w) { return qobject_cast<Form2*>(w); }), 1);
    Form2& info = form.informationWindow();
    QVERIFY(QTest::qWaitForWindowActive(&info));
    QCOMPARE(QApplication::focusWidget(), info.Command1);

    QTest::keyClick(&info, Qt::Key_Escape);
    QVERIFY(info.isVisible());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(!info.isVisible());
    QVERIFY(form.isVisible());
}

void TestCommands::closingTheMainWindowLeavesInfoRunning()
{
    TestLab lab;
    lab.writeStationList(1);
    lab.makeStation(0);
    Form1& form = lab.open();
    form.show();
    form.Command2->click();
    Form2& info = form.informationWindow();
    QVERIFY(QTest::qWaitForWindowExposed(&info));
    // The program ends when no window of it is shown any more.
    const auto windowsShown = [] {
        const QWidgetList windows = QApplication::topLevelWidgets();
        return std::count_if(windows.begin(), windows.end(), [](QWidget* w) { return w->isVisible(); });
    };

    form.ComClose->click();
    const int testsBefore = lab.fileSystem.folderExistsCalls;
    form.onTimer();

    QVERIFY(!form.isVisible());
    QVERIFY(!form.Timer1->isActive());
    QCOMPARE(lab.fileSystem.folderExistsCalls, testsBefore);
    QCOMPARE(windowsShown(), 1);
    info.Command1->click();
    QCOMPARE(windowsShown(), 0);
}

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
