#include "collect/LogText.h"

#include <QTest>

using namespace Qt::StringLiterals;

// What reaches a log line: Windows-1252 bytes, one line (CR LF added), nothing a name could forge.
class TestLogText : public QObject
{
    Q_OBJECT
private slots:
    void logLine_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("letters") << u"Sessão nº Laboratório €"_s << "Sess\xe3o n\xba Laborat\xf3rio \x80"_ba;
        QTest::newRow("decomposed, composed") << u"a\u0303"_s << "\xe3"_ba;
        QTest::newRow("controls") << u"a\nDocente que vigiou b\r\t\x7f\u0085\u2028\u2029\u009f"_s
                                  << "a?Docente que vigiou b???????"_ba;
        QTest::newRow("one ? a character") << u"Ω \U0001F600 \u001a"_s << "? ? ?"_ba;
        QTest::newRow("escaped byte") << u"exame\xDCF3.txt"_s << "exame?.txt"_ba;
    }

    void logLine()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(::logLine(text), bytes + "\r\n");
    }
};

QTEST_GUILESS_MAIN(TestLogText)
#include "tst_logtext.moc"
