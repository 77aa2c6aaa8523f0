// Mouse events go through the window system, as a real click does, so that the
// window sees the press before the control under the pointer.
#define QTEST_QPA_MOUSE_HANDLING

#include "support/TestLab.h"
#include "window/FileListBox.h"
#include "window/Form1.h"
#include "window/SessionScrollBar.h"
#include "window/TextBox.h"

#include <QApplication>
#include <QDir>
#include <QWheelEvent>
#include <QCheckBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

class TestInteraction : public QObject
{
    Q_OBJECT
private slots:
    void keyboardReachesEveryControlInOrder();
    void refusedFilterKeepsTheFocus_data();
    void refusedFilterKeepsTheFocus();
    void acceptedFilterAppliesOnceBeforeTheClick();
    void scrollStepUnderAMessageBoxIsRefused();
    void sessionGoesUpWithTheTopArrow_data();
    void sessionGoesUpWithTheTopArrow();
};

// A lab with one station holding a.txt and b.doc, the window shown and active.
static Form1& openShown(TestLab& lab)
{
    lab.writeStationList(1);
    lab.writeFile(lab.makeStation(0), QStringLiteral("a.txt"));
    lab.writeFile(lab.stationFolder(0), QStringLiteral("b.doc"));
    Form1& form = lab.open();
    form.show();
    QApplication::setActiveWindow(&form);
    if (!QTest::qWaitForWindowActive(&form))
        qFatal("window not active");
    return form;
}

void TestInteraction::keyboardReachesEveryControlInOrder()
{
    TestLab lab;
    Form1& form = openShown(lab);
    QSignalSpy recolha(form.CommandRecolhe, &QPushButton::clicked);
    // With a teacher's name the run keeps the focus where it was (the lab has no collection folder).
    form.Professor->setText(QStringLiteral("Ana"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QCOMPARE(recolha.count(), 2);

    QList<QWidget*> order{form.Filtro[0], form.NumSessao, form.PathRecolha, form.Laboratorio};
    for (int i = 13; i >= 0; --i)
        order << form.Hora[i];
    for (int i = 13; i >= 0; --i)
        order << form.File1[i];
    for (int i = 13; i >= 1; --i)
        order << form.PC1Path[i];
    order << form.File2 << form.VScrollSessao << form.NumPCs << form.CommandApaga << form.CommandRefresh
          << form.Professor << form.ComOpenShare[0] << form.PC1Path[0];
    for (int i = 1; i <= 13; ++i)
        order << form.ComOpenShare[i];
    order << form.CommandAbrePastaRecolha << form.ComClose << form.Command2 << form.Checksubfolders
          << form.Check1 << form.CommandRecolhe;
    // Disabled controls take no focus: enable every row so the whole chain is walked.
    for (int i = 0; i < StationCount; ++i) {
        form.File1[i]->setEnabled(true);
        form.Hora[i]->setEnabled(true);
    }
    form.File2->setEnabled(true);
    for (QWidget* next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
}

void TestInteraction::refusedFilterKeepsTheFocus_data()
{
    QTest::addColumn<bool>("byMouse");
    QTest::addColumn<bool>("boxTakesActivation"); // as a real message box does
    // Another window took the activation (which applies nothing) and the click comes before it is given back.
    QTest::addColumn<bool>("windowInactive");
    QTest::newRow("click on Refresh") << true << false << false;
    QTest::newRow("Tab to the next box") << false << false << false;
    QTest::newRow("click, box takes the activation") << true << true << false;
    QTest::newRow("Tab, box takes the activation") << false << true << false;
    QTest::newRow("click on an inactive window") << true << false << true;
}

void TestInteraction::refusedFilterKeepsTheFocus()
{
    QFETCH(bool, byMouse);
    QFETCH(bool, boxTakesActivation);
    QFETCH(bool, windowInactive);
    TestLab lab;
    Form1& form = openShown(lab);
    QSignalSpy refresh(form.CommandRefresh, &QPushButton::clicked);
    const int listingsBefore = lab.fileSystem.listingCalls;
    QWidget box;
    if (boxTakesActivation)
        lab.desktop.whileOpen = [&](const FakeDesktop::Prompt&) {
            box.show();
            QApplication::setActiveWindow(&box);
            QVERIFY(QTest::qWaitForWindowActive(&box));
            box.hide();
        };

    form.Filtro[0]->setFocus(Qt::MouseFocusReason);
    form.Filtro[0]->setText(QStringLiteral("*.txt|*.doc"));
    form.Filtro[0]->setCursorPosition(3); // the invigilator was correcting the middle of it
    if (windowInactive) {
        box.show();
        QApplication::setActiveWindow(&box);
        QVERIFY(QTest::qWaitForWindowActive(&box));
    }
    if (byMouse)
        QTest::mouseClick(form.CommandRefresh, Qt::LeftButton);
    else
        QTest::keyClick(form.Filtro[0], Qt::Key_Tab);

    QCOMPARE(lab.desktop.promptTexts(),
             QStringList{QStringLiteral("Filter Error 380  Invalid property value")});
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(refresh.count(), 0);
    QCOMPARE(lab.fileSystem.listingCalls, listingsBefore);
    QVERIFY(!form.CommandRefresh->isDown());
    QCOMPARE(QApplication::focusWidget(), form.Filtro[0]);
    QCOMPARE(form.Filtro[0]->selectedText(), QStringLiteral("*.txt|*.doc"));
    QCOMPARE(form.File1[0]->pattern(), QStringLiteral("*.*"));
}

void TestInteraction::acceptedFilterAppliesOnceBeforeTheClick()
{
    TestLab lab;
    Form1& form = openShown(lab);
    QSignalSpy refresh(form.CommandRefresh, &QPushButton::clicked);
    form.Filtro[0]->setFocus(Qt::MouseFocusReason);
    form.Filtro[0]->setText(QStringLiteral("*.txt"));
    const int listingsBefore = lab.fileSystem.listingCalls;

    QTest::mouseClick(form.CommandRefresh, Qt::LeftButton);

    QVERIFY(lab.desktop.prompts.isEmpty());
    QCOMPARE(refresh.count(), 1);
    QCOMPARE(QApplication::focusWidget(), form.CommandRefresh);
    QCOMPARE(form.File1[0]->listCount(), 1);
    // One reading for the filter, one for the refresh: the focus change did not apply it again.
    QCOMPARE(lab.fileSystem.listingCalls - listingsBefore, 2);
}

void TestInteraction::scrollStepUnderAMessageBoxIsRefused()
{
    TestLab lab;
    Form1& form = openShown(lab);
    lab.fileSystem.listingFailures.insert(lab.stationFolder(0),
                                          RunError::fromNumber(ErrorNumber::PathFileAccessError));
    // The arrow is still held down while the refresh's message is open.
    lab.desktop.whileOpen = [&](const FakeDesktop::Prompt&) {
        form.VScrollSessao->triggerAction(QAbstractSlider::SliderSingleStepSub);
    };

    form.VScrollSessao->triggerAction(QAbstractSlider::SliderSingleStepSub);

    QCOMPARE(lab.desktop.prompts.size(), 1);
    QCOMPARE(form.VScrollSessao->value(), 2);
    QCOMPARE(form.NumSessao->text(), QStringLiteral("2"));
}

void TestInteraction::sessionGoesUpWithTheTopArrow_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("session");
    QTest::newRow("top arrow") << "top" << 6;
    QTest::newRow("bottom arrow") << "bottom" << 4;
    QTest::newRow("Up") << "Up" << 6;
    QTest::newRow("Down") << "Down" << 4;
    QTest::newRow("Page Up") << "PgUp" << 6;
    QTest::newRow("Page Down") << "PgDown" << 4;
    QTest::newRow("wheel up") << "wheel+" << 6;
    QTest::newRow("wheel down") << "wheel-" << 4;
}

void TestInteraction::sessionGoesUpWithTheTopArrow()
{
    QFETCH(QString, input);
    TestLab lab;
    Form1& form = openShown(lab);
    SessionScrollBar* bar = form.VScrollSessao;
    QCOMPARE(bar->minimum(), 1);
    QCOMPARE(bar->maximum(), 20);
    bar->setValue(5);
    QCOMPARE(form.NumSessao->text(), QStringLiteral("5"));
    QVERIFY(QDir(lab.stationFolder(0)).removeRecursively()); // seen only if the step refreshes
    // Typing a session leaves the bar where it was: the step goes on from 5.
    form.NumSessao->setText(QStringLiteral("12"));

    const QPoint middle(bar->width() / 2, 0);
    if (input == "top" || input == "bottom") {
        const int y = input == "top" ? 3 : bar->height() - 4;
        QTest::mouseClick(bar, Qt::LeftButton, {}, middle + QPoint(0, y));
    } else if (input.startsWith("wheel")) {
        const int delta = input.endsWith('+') ? 120 : -120;
        QWheelEvent wheel(QPointF(middle.x(), bar->height() / 2), bar->mapToGlobal(QPointF(middle.x(), 10)),
                          {}, QPoint(0, delta), Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(bar, &wheel);
    } else {
        bar->setFocus();
        const QHash<QString, Qt::Key> keys{{"Up", Qt::Key_Up},
                                           {"Down", Qt::Key_Down},
                                           {"PgUp", Qt::Key_PageUp},
                                           {"PgDown", Qt::Key_PageDown}};
        QTest::keyClick(bar, keys.value(input));
    }

    QTEST(bar->value(), "session");
    QCOMPARE(form.NumSessao->text(), QString::number(bar->value()));
    QCOMPARE(form.NumPCs->text(), QStringLiteral("0"));
}

QTEST_MAIN(TestInteraction)
#include "tst_interaction.moc"
