#include "support/TestLab.h"
#include "window/FileListBox.h"
#include "window/Form1.h"
#include "window/SessionScrollBar.h"
#include "window/TextBox.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

constexpr quint32 Black = 0;
constexpr quint32 Red = 255;

// A path written with "/" as the program builds it, with the platform's separator.
QString native(QString path)
{
    return path.replace(QLatin1Char('/'), QDir::separator());
}

QStringList entries(const FileListBox* list)
{
    QStringList names;
    for (int k = 0; k < list->listCount(); ++k)
        names.append(list->list(k));
    return names;
}

void step(Form1& form, int direction)
{
    form.VScrollSessao->triggerAction(direction > 0 ? QAbstractSlider::SliderSingleStepAdd
                                                    : QAbstractSlider::SliderSingleStepSub);
}

} // namespace

class TestSession : public QObject
{
    Q_OBJECT
private slots:
    void collectionPath_data();
    void collectionPath();
    void colourFollowsEachChange();
    void scrollBarRefreshes();
    void scrollBarBounds_data();
    void scrollBarBounds();
    void typingThenStepping_data();
    void typingThenStepping();
};

void TestSession::collectionPath_data()
{
    QTest::addColumn<QString>("laboratory");
    QTest::addColumn<QString>("session");
    QTest::addColumn<QString>("below");    // the expected path below the collection root
    QTest::addColumn<QString>("existing"); // a folder made below the collection root
    QTest::addColumn<quint32>("colour");

    QTest::newRow("leading zero kept")
        << u"Lab1"_s << u"07"_s << u"/Lab1/Sessao07"_s << u"Lab1/Sessao07"_s << Black;
    QTest::newRow("leading zero is no other number")
        << u"Lab1"_s << u"07"_s << u"/Lab1/Sessao07"_s << u"Lab1/Sessao7"_s << Red;
    QTest::newRow("empty session") << u"Lab1"_s << QString() << u"/Lab1/Sessao"_s << u"Lab1/Sessao"_s
                                   << Black;
    QTest::newRow("laboratory of two levels")
        << u"Piso2/Lab1"_s << u"3"_s << u"/Piso2/Lab1/Sessao3"_s << u"Piso2/Lab1/Sessao3"_s << Black;
    QTest::newRow("laboratory of two levels, missing")
        << u"Piso2/Lab1"_s << u"3"_s << u"/Piso2/Lab1/Sessao3"_s << u"Lab1/Sessao3"_s << Red;
    QTest::newRow("other laboratory")
        << u"Lab 2"_s << u"12"_s << u"/Lab 2/Sessao12"_s << u"Lab 2/Sessao12"_s << Black;
}

void TestSession::collectionPath()
{
    QFETCH(QString, laboratory);
    QFETCH(QString, session);
    QFETCH(QString, below);
    QFETCH(QString, existing);
    QFETCH(quint32, colour);

    TestLab lab;
    lab.writeStationList(1);
    Form1& form = lab.open();
    lab.makeFolder(u"recolha/"_s + existing);
    form.Laboratorio->setText(native(laboratory));
    form.NumSessao->setText(session);
    QCOMPARE(form.PathRecolha->text(), lab.path(u"recolha"_s) + native(below));
    QCOMPARE(form.PathRecolha->foreColor(), colour);
}

void TestSession::colourFollowsEachChange()
{
    TestLab lab;
    lab.writeStationList(1);
    Form1& form = lab.open();
    QCOMPARE(form.PathRecolha->foreColor(), Red);

    lab.makeFolder(u"recolha/Lab1/Sessao2"_s);
    form.NumSessao->setText(u"2"_s);
    QCOMPARE(form.PathRecolha->foreColor(), Black);
    form.NumSessao->setText(u"3"_s);
    QCOMPARE(form.PathRecolha->foreColor(), Red);

    lab.makeFolder(u"recolha/Lab2/Sessao3"_s);
    form.Laboratorio->setText(u"Lab2"_s);
    QCOMPARE(form.PathRecolha->foreColor(), Black);
    QVERIFY(QDir(lab.path(u"recolha/Lab2"_s)).removeRecursively());
    form.NumSessao->setText(QString());
    form.NumSessao->setText(u"3"_s);
    QCOMPARE(form.PathRecolha->foreColor(), Red);
    form.Laboratorio->setText(u"Lab1"_s);
    form.NumSessao->setText(u"2"_s);
    QCOMPARE(form.PathRecolha->foreColor(), Black);
}

void TestSession::scrollBarRefreshes()
{
    TestLab lab;
    lab.writeStationList(1);
    const QString station = lab.makeStation(0);
    lab.makeFolder(u"recolha/Lab1/Sessao5"_s);
    lab.writeFile(lab.collectionFolder(5), u"pc01.zip"_s);
    Form1& form = lab.open();
    QCOMPARE(form.VScrollSessao->value(), 1);
    QCOMPARE(form.VScrollSessao->minimum(), 1);
    QCOMPARE(form.VScrollSessao->maximum(), 20);

    // A file saved since start-up shows only if the move refreshes the stations.
    lab.writeFile(station, u"exame.txt"_s);
    form.VScrollSessao->setValue(5);
    QCOMPARE(form.NumSessao->text(), u"5"_s);
    QCOMPARE(form.PathRecolha->text(), lab.path(u"recolha"_s) + native("/Lab1/Sessao5"));
    QCOMPARE(form.PathRecolha->foreColor(), Black);
    QCOMPARE(entries(form.File1[0]), QStringList{"exame.txt"});
    QVERIFY(form.File2->isEnabled());
    QCOMPARE(entries(form.File2), QStringList{"pc01.zip"});

    step(form, +1);
    QCOMPARE(form.VScrollSessao->value(), 6);
    QCOMPARE(form.NumSessao->text(), u"6"_s);
    QCOMPARE(form.PathRecolha->foreColor(), Red);
    QVERIFY(!form.File2->isEnabled());
    QCOMPARE(form.File2->listCount(), 0);

    lab.writeFile(station, u"rascunho.txt"_s);
    step(form, -1);
    QCOMPARE(form.VScrollSessao->value(), 5);
    QCOMPARE(form.NumSessao->text(), u"5"_s);
    QCOMPARE(entries(form.File1[0]), (QStringList{"exame.txt", "rascunho.txt"}));
    QVERIFY(form.File2->isEnabled());
    QCOMPARE(entries(form.File2), QStringList{"pc01.zip"});
}

void TestSession::scrollBarBounds_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("direction"); // a single step, or 0 to set `target`
    QTest::addColumn<int>("target");
    QTest::addColumn<int>("expected");

    QTest::newRow("step up at 20") << 20 << +1 << 0 << 20;
    QTest::newRow("step down at 1") << 1 << -1 << 0 << 1;
    QTest::newRow("step up to 20") << 19 << +1 << 0 << 20;
    QTest::newRow("step down to 1") << 2 << -1 << 0 << 1;
    QTest::newRow("set above 20") << 5 << 0 << 21 << 20;
    QTest::newRow("set below 1") << 5 << 0 << 0 << 1;
}

void TestSession::scrollBarBounds()
{
    QFETCH(int, start);
    QFETCH(int, direction);
    QFETCH(int, target);
    QFETCH(int, expected);

    TestLab lab;
    lab.writeStationList(1);
    Form1& form = lab.open();
    form.VScrollSessao->setValue(start);
    QCOMPARE(form.NumSessao->text(), QString::number(start));
    if (direction != 0)
        step(form, direction);
    else
        form.VScrollSessao->setValue(target);
    QCOMPARE(form.VScrollSessao->value(), expected);
    QCOMPARE(form.NumSessao->text(), QString::number(expected));
    QCOMPARE(form.PathRecolha->text(),
             lab.path(u"recolha"_s) + native("/Lab1/Sessao") + QString::number(expected));
}

void TestSession::typingThenStepping_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("direction");
    QTest::addColumn<int>("expected");

    QTest::newRow("typed higher, step up") << 5 << u"12"_s << +1 << 6;
    QTest::newRow("typed with zero, step down") << 5 << u"07"_s << -1 << 4;
    QTest::newRow("typed empty, step up") << 1 << QString() << +1 << 2;
    QTest::newRow("typed out of range, step down") << 20 << u"40"_s << -1 << 19;
}

void TestSession::typingThenStepping()
{
    QFETCH(int, start);
    QFETCH(QString, typed);
    QFETCH(int, direction);
    QFETCH(int, expected);

    TestLab lab;
    lab.writeStationList(1);
    Form1& form = lab.open();
    form.VScrollSessao->setValue(start);
    form.NumSessao->setText(typed);
    QCOMPARE(form.VScrollSessao->value(), start);
    QCOMPARE(form.PathRecolha->text(), lab.path(u"recolha"_s) + native("/Lab1/Sessao") + typed);

    step(form, direction);
    QCOMPARE(form.VScrollSessao->value(), expected);
    QCOMPARE(form.NumSessao->text(), QString::number(expected));
    QCOMPARE(form.PathRecolha->text(),
             lab.path(u"recolha"_s) + native("/Lab1/Sessao") + QString::number(expected));
}

QTEST_MAIN(TestSession)
#include "tst_session.moc"
