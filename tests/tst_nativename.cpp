#include "platform/NativeName.h"

#include <QTest>

// File names are bytes: every name decodes to a text that encodes back to the same bytes.
class TestNativeName : public QObject
{
    Q_OBJECT
private slots:
    void roundTrip_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::newRow("ascii") << QByteArray("exame.txt") << "exame.txt";
        QTest::newRow("utf-8") << QByteArray("Relat\xc3\xb3rio \xe2\x82\xac.txt") << "Relatório €.txt";
        QTest::newRow("leading BOM kept") << QByteArray("\xef\xbb\xbf\x61") << QChar(0xfeff) + QString("a");
        QTest::newRow("windows-1252 byte") << QByteArray("exame\xf3.txt") << "exame\ufffd.txt";
        QTest::newRow("overlong slash") << QByteArray("a\xc0\xaf") << "a\ufffd\ufffd";
        QTest::newRow("encoded surrogate") << QByteArray("\xed\xa0\x80") << "\ufffd\ufffd\ufffd";
        QTest::newRow("cut sequence at the end") << QByteArray("\xe2\x82") << "\ufffd\ufffd";
        QTest::newRow("past U+10FFFF") << QByteArray("\xf4\x90\x80\x80") << "\ufffd\ufffd\ufffd\ufffd";
        // A real character whose second half lies in the escape range, next to a real escape.
        QTest::newRow("astral then byte") << QByteArray("\xf0\x9f\x92\x80\xff") << "\U0001F480\ufffd";
    }

    void roundTrip()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        const QString name = nameFromNative(bytes);
        QCOMPARE(nativeBytes(name), bytes);
        QCOMPARE(displayName(name), shown);
        QCOMPARE(hasEscapedBytes(name), shown.contains(QChar::ReplacementCharacter));
    }
};

QTEST_GUILESS_MAIN(TestNativeName)
#include "tst_nativename.moc"
