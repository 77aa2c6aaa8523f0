// Mouse events go through the window system, as a real click does, so that the
// window sees the press before the control under the pointer.
#define QTEST_QPA_MOUSE_HANDLING

#include "platform/QtDesktop.h"
#include "support/TestLab.h"
#include "window/FileListBox.h"
#include "window/Form1.h"
#include "window/SessionScrollBar.h"
#include "window/TextBox.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTimer>
#include <QWheelEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

void activate(QWidget& window)
{
    window.show();
    QApplication::setActiveWindow(&window);
    if (!QTest::qWaitForWindowActive(&window))
        qFatal("window not active");
}

// A lab with one station holding a.txt and b.doc, the window shown and active.
Form1& openShown(TestLab& lab)
{
    lab.writeStationList(1);
    lab.writeFile(lab.makeStation(0), QStringLiteral("a.txt"));
    lab.writeFile(lab.stationFolder(0), QStringLiteral("b.doc"));
    Form1& form = lab.open();
    activate(form);
    return form;
}

} // namespace

class TestInteraction : public QObject
{
    Q_OBJECT
private slots:
    // The window opens with "Recolha" focused: Return and Space press it.
    void recolhaHasTheFirstFocus()
    {
        TestLab lab;
        Form1& form = openShown(lab);
        QSignalSpy recolha(form.CommandRecolhe, &QPushButton::clicked);
        // With a teacher's name the run keeps the focus where it was (the lab has no collection folder).
        form.Professor->setText(QStringLiteral("Ana"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(recolha.count(), 2);
    }

    // A click and a key given while the program was busy do not reach the window, nor the box that
    // opens next: the invigilator answers the box that was read.
    void inputGivenBeforeABoxIsDropped()
    {
        TestLab lab;
        Form1& form = openShown(lab);
        QSignalSpy refresh(form.CommandRefresh, &QPushButton::clicked);
        QSignalSpy recolha(form.CommandRecolhe, &QPushButton::clicked);
        const QPointF centre = QRectF(form.CommandRefresh->rect()).center();
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
            QCoreApplication::postEvent(
                form.CommandRefresh, new QMouseEvent(type, centre, form.CommandRefresh->mapToGlobal(centre),
                                                     Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
        for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease})
            QCoreApplication::postEvent(QApplication::focusWidget(), new QKeyEvent(type, Qt::Key_Return, {}));
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                box->button(QMessageBox::No)->click();
        });
        answer.start(10);

        QtDesktop desktop;
        QCOMPARE(desktop.messageBox(QStringLiteral("Apagar?"), MsgBoxStyle::YesNo), MsgBoxAnswer::No);
        QCoreApplication::processEvents();
        QCOMPARE(refresh.count() + recolha.count(), 0);
    }

    // The message box takes the activation, as a real one does.
    void refusedFilterKeepsTheFocus_data()
    {
        QTest::addColumn<bool>("byMouse");
        // Another window took the activation (which applies nothing) and the click comes before it is given
        // back.
        QTest::addColumn<bool>("windowInactive");
        QTest::newRow("click on Refresh") << true << false;
        QTest::newRow("Tab to the next box") << false << false;
        QTest::newRow("click on an inactive window") << true << true;
    }

    void refusedFilterKeepsTheFocus()
    {
        QFETCH(bool, byMouse);
        QFETCH(bool, windowInactive);
        TestLab lab;
        Form1& form = openShown(lab);
        QSignalSpy refresh(form.CommandRefresh, &QPushButton::clicked);
        const int listingsBefore = lab.fileSystem.listingCalls;
        QWidget box;
        lab.desktop.whileOpen = [&](const FakeDesktop::Prompt&) {
            activate(box);
            box.hide();
        };

        form.Filtro[0]->setFocus(Qt::MouseFocusReason);
        form.Filtro[0]->setText(QStringLiteral("*.txt|*.doc"));
        form.Filtro[0]->setCursorPosition(3); // the invigilator was correcting the middle of it
        if (windowInactive)
            activate(box);
        if (byMouse)
            QTest::mouseClick(form.CommandRefresh, Qt::LeftButton);
        else
            QTest::keyClick(form.Filtro[0], Qt::Key_Tab);

        QCOMPARE(lab.desktop.promptTexts(),
                 QStringList{QStringLiteral("Filter Error 380  Invalid property value")});
        activate(form);
        QCOMPARE(refresh.count(), 0);
        QCOMPARE(lab.fileSystem.listingCalls, listingsBefore);
        QVERIFY(!form.CommandRefresh->isDown());
        QCOMPARE(QApplication::focusWidget(), form.Filtro[0]);
        QCOMPARE(form.Filtro[0]->selectedText(), QStringLiteral("*.txt|*.doc"));
        QCOMPARE(form.File1[0]->pattern(), QStringLiteral("*.*"));
    }

    void acceptedFilterAppliesOnceBeforeTheClick()
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

    void scrollStepUnderAMessageBoxIsRefused()
    {
        TestLab lab;
        Form1& form = openShown(lab);
        lab.fileSystem.listingFailures.insert(lab.stationFolder(0), RunError::fromNumber(75));
        // The arrow is still held down while the refresh's message is open.
        const auto step = [&] { form.VScrollSessao->triggerAction(QAbstractSlider::SliderSingleStepSub); };
        lab.desktop.whileOpen = [&](const FakeDesktop::Prompt&) { step(); };

        step();

        QCOMPARE(lab.desktop.prompts.size(), 1);
        QCOMPARE(form.VScrollSessao->value(), 2);
        QCOMPARE(form.NumSessao->text(), QStringLiteral("2"));
    }

    // Up means more; both arrows are clicked.
    void sessionGoesUpWithTheTopArrow_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<int>("session");
        QTest::newRow("top arrow") << "top" << 6;
        QTest::newRow("bottom arrow") << "bottom" << 4;
        QTest::newRow("Up") << "Up" << 6;
        QTest::newRow("Page Up") << "PgUp" << 6;
        QTest::newRow("wheel up") << "wheel" << 6;
    }

    void sessionGoesUpWithTheTopArrow()
    {
        QFETCH(QString, input);
        TestLab lab;
        Form1& form = openShown(lab);
        SessionScrollBar* bar = form.VScrollSessao;
        QCOMPARE(QPair(bar->minimum(), bar->maximum()), QPair(1, 20));
        bar->setValue(5);
        QCOMPARE(form.NumSessao->text(), QStringLiteral("5"));
        QVERIFY(QDir(lab.stationFolder(0)).removeRecursively()); // seen only if the step refreshes
        // Typing a session leaves the bar where it was: the step goes on from 5.
        form.NumSessao->setText(QStringLiteral("12"));

        const int middle = bar->width() / 2;
        if (input == "top" || input == "bottom") {
            QTest::mouseClick(bar, Qt::LeftButton, {},
                              QPoint(middle, input == "top" ? 3 : bar->height() - 4));
        } else if (input == "wheel") {
            QWheelEvent wheel(QPointF(middle, bar->height() / 2), bar->mapToGlobal(QPointF(middle, 10)), {},
                              QPoint(0, 120), Qt::NoButton, {}, Qt::NoScrollPhase, false);
            QApplication::sendEvent(bar, &wheel);
        } else {
            bar->setFocus();
            QTest::keyClick(bar, input == "Up" ? Qt::Key_Up : Qt::Key_PageUp);
        }

        QTEST(bar->value(), "session");
        QCOMPARE(form.NumSessao->text(), QString::number(bar->value()));
        QCOMPARE(form.NumPCs->text(), QStringLiteral("0"));
    }
};

QTEST_MAIN(TestInteraction)
#include "tst_interaction.moc"
