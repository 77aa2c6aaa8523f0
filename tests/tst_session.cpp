#include "support/TestLab.h"
#include "window/Form1.h"
#include "window/SessionScrollBar.h"
#include "window/TextBox.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;

constexpr quint32 Black = 0, Red = 255;

class TestSession : public QObject
{
    Q_OBJECT
private slots:
    void collectionPath_data();
    void collectionPath();
    void scrollBarSteps();
};

void TestSession::collectionPath_data()
{
    QTest::addColumn<QString>("laboratory"); // "/" for the separator
    QTest::addColumn<QString>("session");
    QTest::addColumn<QString>("below"); // the path below the collection root
    QTest::newRow("leading zero kept") << u"Lab2"_s << u"07"_s << u"/Lab2/Sessao07"_s;
    QTest::newRow("empty session") << u"Lab2"_s << QString() << u"/Lab2/Sessao"_s;
    QTest::newRow("laboratory holding the separator")
        << u"Piso2/Lab1"_s << u"3"_s << u"/Piso2/Lab1/Sessao3"_s;
}

// The path follows each change of the laboratory and of the session, its colour the folder.
void TestSession::collectionPath()
{
    QFETCH(QString, laboratory);
    QFETCH(QString, session);
    QFETCH(QString, below);
    TestLab lab;
    lab.writeStationList(1);
    Form1& form = lab.open();
    lab.makeFolder(u"recolha"_s + below);
    form.NumSessao->setText(session);
    form.Laboratorio->setText(QDir::toNativeSeparators(laboratory));
    QCOMPARE(form.PathRecolha->text(), lab.path(u"recolha"_s) + QDir::toNativeSeparators(below));
    QCOMPARE(form.PathRecolha->foreColor(), Black);
    form.NumSessao->setText(session + u'0');
    QCOMPARE(form.PathRecolha->foreColor(), Red);
}

void TestSession::scrollBarSteps()
{
    TestLab lab;
    lab.writeStationList(1);
    Form1& form = lab.open();
    lab.makeStation(0); // seen only once the stations are refreshed
    const auto step = [&](QAbstractSlider::SliderAction action) {
        form.VScrollSessao->triggerAction(action);
        return form.VScrollSessao->value();
    };
    // Typing leaves the bar where it was: a step goes on from it, writes the session and refreshes.
    form.NumSessao->setText(u"12"_s);
    QCOMPARE(step(QAbstractSlider::SliderSingleStepAdd), 2);
    QCOMPARE(form.NumSessao->text(), u"2"_s);
    QCOMPARE(form.NumPCs->text(), u"1"_s);
    // The bar stops at 1 and at 20.
    QCOMPARE(step(QAbstractSlider::SliderSingleStepSub), 1);
    QCOMPARE(step(QAbstractSlider::SliderSingleStepSub), 1);
    form.VScrollSessao->setValue(20);
    QCOMPARE(step(QAbstractSlider::SliderSingleStepAdd), 20);
}

QTEST_MAIN(TestSession)
#include "tst_session.moc"
