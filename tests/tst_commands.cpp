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

namespace {

int windowsShown()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return int(std::count_if(windows.begin(), windows.end(), [](QWidget* w) { return w->isVisible(); }));
}

} // namespace

// The station folder button and list, and the window's own commands. Each launch is made
// twice, the second failing to start: said once, naming the path.
class TestCommands : public QObject
{
    Q_OBJECT
private slots:
    void folderButtons_data()
    {
        QTest::addColumn<bool>("station"); // the station's button, else "Abre Pasta de Recolha"
        QTest::addColumn<QString>("pathBox");
        QTest::addColumn<QString>("opened"); // relative to the working folder; "-" for nothing
        QTest::newRow("station off the network") << true << "pc09"
                                                 << "-";
        QTest::newRow("station path edited since the refresh") << true << "other"
                                                               << "other/";
        QTest::newRow("missing collection folder") << false << "recolha/Lab1/Sessao1"
                                                   << "recolha/Lab1/Sessao1/";
        QTest::newRow("empty collection path") << false << ""
                                               << "/";
    }

    void folderButtons()
    {
        QFETCH(bool, station);
        QFETCH(QString, pathBox);
        QFETCH(QString, opened);
        TestLab lab;
        lab.writeStationList(QByteArray("*.*\nLab1\nrecolha\nbackup\npc01\n")); // relative to the lab
        lab.makeStation(0);
        lab.makeFolder(QStringLiteral("other"));
        Form1& form = lab.open();
        (station ? form.PC1Path[0] : form.PathRecolha)->setText(pathBox);
        QPushButton* button = station ? form.ComOpenShare[0] : form.CommandAbrePastaRecolha;
        button->click();
        lab.desktop.launchesFail = true;
        button->click();

        if (opened == "-") {
            QVERIFY(lab.desktop.openedFolders.isEmpty() && lab.desktop.prompts.isEmpty());
            return;
        }
        const QString folder = opened == "/" ? opened : QDir::currentPath() + "/" + opened;
        QCOMPARE(lab.desktop.openedFolders, QStringList(2, folder));
        QCOMPARE(lab.desktop.prompts.size(), 1);
        QVERIFY(lab.desktop.prompts[0].text.contains(folder));
    }

    // A double click opens the selected file. Its tip tells when the file was last saved; a file that
    // vanished leaves the tip, without a word.
    void stationList()
    {
        TestLab lab;
        lab.writeStationList(2);
        const QString file = lab.writeFile(lab.makeStation(0), QStringLiteral("o meu exame.txt"));
        lab.makeStation(1);
        const QDate day(2026, 6, 15);
        lab.fileSystem.setTimes(file, QDateTime(day, QTime(9, 0)), QDateTime(day, QTime(10, 20, 30)));
        Form1& form = lab.open();
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        FileListBox* list = form.File1[0];
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                           list->visualItemRect(list->item(0)).center());
        lab.desktop.launchesFail = true;
        emit list->entryDoubleClicked();
        QCOMPARE(lab.desktop.openedFiles, QStringList(2, file));
        QCOMPARE(lab.desktop.prompts.size(), 1);
        QVERIFY(lab.desktop.prompts[0].text.contains(file));

        const auto focusList = [&](int station) { form.File1[station]->setFocus(Qt::MouseFocusReason); };
        focusList(1); // empty
        focusList(0);
        QCOMPARE(form.File1[1]->toolTip() + " | " + list->toolTip(),
                 "Ficheiros do aluno | 15/06/26 10:20:30");
        QFile::remove(file);
        focusList(1);
        focusList(0);
        QCOMPARE(list->toolTip(), QStringLiteral("15/06/26 10:20:30"));
        QCOMPARE(lab.desktop.prompts.size(), 1);
    }

    // One information window, in front; closing the main window leaves it, and the program, running.
    void infoAndClose()
    {
        TestLab lab;
        lab.writeStationList(0);
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
};

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
