// Mouse events go through the window system, as a real click does, so that the
// window sees the press before the control under the pointer.
#define QTEST_QPA_MOUSE_HANDLING

#include "platform/QtDesktop.h"
#include "platform/Paths.h"
#include "support/TestLab.h"
#include "window/FileListBox.h"
#include "window/Form1.h"
#include "window/Form2.h"
#include "window/SessionScrollBar.h"
#include "window/TextBox.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTimer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

int windowsShown()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return int(std::count_if(windows.begin(), windows.end(), [](QWidget* w) { return w->isVisible(); }));
}

// A lab with one station holding a.txt and b.doc, the window shown and active.
Form1& openShown(TestLab& lab)
{
    lab.writeStationList(1);
    lab.writeFile(lab.makeStation(0), u"a.txt"_s);
    lab.writeFile(lab.stationFolder(0), u"b.doc"_s);
    Form1& form = lab.open();
    activate(form);
    return form;
}

} // namespace

class TestInteraction : public QObject
{
    Q_OBJECT
private slots:
    // A click and a key given while the program was busy do not reach the window, nor the box that
    // opens next: the invigilator answers the box that was read.
    void inputGivenBeforeABoxIsDropped()
    {
        TestLab lab;
        Form1& form = openShown(lab);
        QCOMPARE(QApplication::focusWidget(), form.CommandRecolhe); // where Return would press it
        QSignalSpy refresh(form.CommandRefresh, &QPushButton::clicked);
        QSignalSpy recolha(form.CommandRecolhe, &QPushButton::clicked);
        const QPointF centre = QRectF(form.CommandRefresh->rect()).center();
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
            QCoreApplication::postEvent(
                form.CommandRefresh, new QMouseEvent(type, centre, form.CommandRefresh->mapToGlobal(centre),
                                                     Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
        for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease})
            QCoreApplication::postEvent(QApplication::focusWidget(), new QKeyEvent(type, Qt::Key_Return, {}));
        // Return, once the box is read, presses its default button: No, for a question that destroys.
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                QTest::keyClick(box, Qt::Key_Return);
        });
        answer.start(10);

        QtDesktop desktop;
        QCOMPARE(desktop.messageBox(u"Apagar?"_s, MsgBoxStyle::YesNoCritical + MsgBoxStyle::DefaultButton2),
                 MsgBoxAnswer::No);
        QCoreApplication::processEvents();
        QCOMPARE(refresh.count() + recolha.count(), 0);
    }

    // The message box takes the activation, as a real one does.
    void refusedFilterKeepsTheFocus_data()
    {
        // By mouse, another window took the activation (which applies nothing) and the click comes before
        // it is given back.
        QTest::addColumn<bool>("byMouse");
        QTest::newRow("Tab to the next box") << false;
        QTest::newRow("click on an inactive window") << true;
    }

    void refusedFilterKeepsTheFocus()
    {
        QFETCH(bool, byMouse);
        TestLab lab;
        Form1& form = openShown(lab);
        QSignalSpy refresh(form.CommandRefresh, &QPushButton::clicked);
        QWidget box;
        lab.desktop.whileOpen = [&] {
            activate(box);
            box.hide();
        };

        form.Filtro[0]->setFocus(Qt::MouseFocusReason);
        form.Filtro[0]->setText(u"*.txt|*.doc"_s);
        form.Filtro[0]->setCursorPosition(3); // the invigilator was correcting the middle of it
        if (byMouse) {
            activate(box);
            QTest::mouseClick(form.CommandRefresh, Qt::LeftButton);
        } else {
            QTest::keyClick(form.Filtro[0], Qt::Key_Tab);
        }

        QCOMPARE(lab.desktop.boxes, QStringList{u"0 Filter Error 380  Invalid property value"_s});
        activate(form);
        QCOMPARE(refresh.count(), 0);
        QVERIFY(!form.CommandRefresh->isDown());
        QCOMPARE(QApplication::focusWidget(), form.Filtro[0]);
        QCOMPARE(form.Filtro[0]->selectedText(), u"*.txt|*.doc"_s);
        QCOMPARE(form.File1[0]->pattern(), u"*.*"_s);
    }

    // Up means more: the top arrow takes the next session, from the one the bar was left at. A step
    // while the refresh's message is open, the arrow still held down, is refused.
    void sessionArrows()
    {
        TestLab lab;
        Form1& form = openShown(lab);
        SessionScrollBar* bar = form.VScrollSessao;
        bar->setValue(20);
        QCOMPARE(form.NumSessao->text(), u"20"_s);
        bar->setValue(5);
        lab.settle();
        QVERIFY(QDir(lab.stationFolder(0)).removeRecursively()); // seen only if the step refreshes
        form.NumSessao->setText(u"12"_s);                        // typed: the bar stays where it was
        // The collection path follows each change of the laboratory (which may hold the separator) and
        // the session (its leading zero kept), its colour the folder.
        lab.makeFolder(u"recolha/Piso2/Lab1/Sessao12"_s);
        form.Laboratorio->setText(QDir::toNativeSeparators(u"Piso2/Lab1"_s));
        QCOMPARE(form.PathRecolha->text(),
                 lab.path(u"recolha"_s) + QDir::toNativeSeparators(u"/Piso2/Lab1/Sessao12"_s));
        QCOMPARE(form.PathRecolha->foreColor(), WindowColor::Black);
        form.NumSessao->setText(u"012"_s);
        QCOMPARE(form.PathRecolha->foreColor(), WindowColor::Red);

        QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, 3));
        lab.settle();
        QCOMPARE(bar->value(), 6);
        QCOMPARE(form.NumSessao->text(), u"6"_s);
        QCOMPARE(form.NumPCs->text(), u"0"_s);

        lab.makeStation(0);
        lab.fileSystem.listingFailures.insert(lab.stationFolder(0), RunError::fromNumber(70));
        const auto step = [&] { bar->triggerAction(QAbstractSlider::SliderSingleStepSub); };
        lab.desktop.whileOpen = [&] { step(); };
        step();
        lab.settle();
        QCOMPARE(lab.desktop.boxes.size(), 1);
        QCOMPARE(form.NumSessao->text(), u"7"_s);
    }

    // Each launch is made twice, the second failing to start: said once, naming the path. A station's
    // button opens the path as the box holds it now, and nothing where no folder is; the collection
    // folder opens even before it exists; a double click opens the selected file, whose tip tells
    // when it was last saved.
    void launches()
    {
        TestLab lab;
        lab.writeStationList(3); // station 3 is off the network
        const QString file = lab.writeFile(lab.makeStation(0), u"o meu exame.txt"_s);
        lab.makeStation(1);
        lab.makeFolder(u"other"_s);
        const QDate day(2026, 6, 15);
        lab.fileSystem.setTimes(file, QDateTime(day, QTime(9, 0)), QDateTime(day, QTime(10, 20, 30)));
        Form1& form = lab.open();
        activate(form);
        form.PC1Path[1]->setText(u"other"_s); // relative to the working folder, as the paths typed are
        form.PathRecolha->setText(QDir::toNativeSeparators(u"recolha/Lab1/Sessao1"_s));
        FileListBox* list = form.File1[0];
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                           list->visualItemRect(list->item(0)).center());
        lab.desktop.launchesFail = true;
        emit list->entryDoubleClicked();
        for (QPushButton* button :
             {form.ComOpenShare[1], form.ComOpenShare[2], form.CommandAbrePastaRecolha}) {
            lab.desktop.launchesFail = false;
            button->click();
            lab.desktop.launchesFail = true;
            button->click();
        }

        const QString other = lab.path(u"other"_s) + pathSeparator(),
                      recolha = lab.path(u"recolha/Lab1/Sessao1"_s) + pathSeparator();
        QCOMPARE(lab.desktop.openedFiles, QStringList(2, file));
        QCOMPARE(lab.desktop.openedFolders, (QStringList{other, other, recolha, recolha}));
        const auto failed = [](const char* what, const QString& path, const char* program) {
            return u"48 Não foi possível abrir %1 %2 no %3."_s.arg(
                QString::fromUtf8(what), QDir::toNativeSeparators(path), QString::fromUtf8(program));
        };
        QCOMPARE(lab.desktop.boxes, (QStringList{failed("o ficheiro", file, "editor de texto"),
                                                 failed("a pasta", other, "gestor de ficheiros"),
                                                 failed("a pasta", recolha, "gestor de ficheiros")}));
        form.File1[1]->setFocus(Qt::MouseFocusReason); // empty
        list->setFocus(Qt::MouseFocusReason);
        QCOMPARE(form.File1[1]->toolTip() + " | " + list->toolTip(),
                 "Ficheiros do aluno | " TEST_DAY " 10:20:30");
    }

    // One information window, in front; closing the main window leaves it, and the program, running.
    void infoAndClose()
    {
        TestLab lab;
        lab.writeStationList(0);
        Form1& form = lab.open();
        form.show();
        form.Command2->click();
        activate(form);
        form.Command2->click();
        Form2& info = form.informationWindow();
        QVERIFY(QTest::qWaitForWindowActive(&info));
        QCOMPARE(windowsShown(), 2);

        form.ComClose->click();
        lab.makeFolder(u"recolha/Lab1/Sessao1"_s); // a refresh would show it found
        lab.tick();
        QVERIFY(!form.isVisible() && !form.Timer1->isActive());
        QCOMPARE(form.PathRecolha->foreColor(), WindowColor::Red);
        QCOMPARE(windowsShown(), 1);
        QTest::keyClick(info.Command1, Qt::Key_Return);
        QCOMPARE(windowsShown(), 0); // the program ends
    }
};

QTEST_MAIN(TestInteraction)
#include "tst_interaction.moc"
