#include "collect/LogText.h"

#include <QTest>

// What reaches a log line: Windows-1252 bytes, one line, nothing a name could forge.
class TestLogText : public QObject
{
    Q_OBJECT
private slots:
    void logLine_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("prefixes, one byte a letter")
            << QString("Sessão nº Laboratório €") << QByteArray("Sess\xe3o n\xba Laborat\xf3rio \x80\r\n");
        QTest::newRow("decomposed letter composed") << QString("a\u0303") << QByteArray("\xe3\r\n");
        QTest::newRow("line breaks and controls")
            << QString("a\nDocente que vigiou b\r\t\x7f") << QByteArray("a?Docente que vigiou b???\r\n");
        QTest::newRow("C1 and separators") << QString("\u0085\u2028\u2029\u009f") << QByteArray("????\r\n");
        QTest::newRow("not in Windows-1252, one ? a character")
            << QString("Ω \U0001F600 \u001a") << QByteArray("? ? ?\r\n");
        QTest::newRow("escaped byte of a name")
            << QString("exame") + QChar(0xDCF3) + QString(".txt") << QByteArray("exame?.txt\r\n");
        QTest::newRow("empty") << QString() << QByteArray("\r\n");
    }

    void logLine()
    {
        QFETCH(QString, text);
        QTEST(::logLine(text), "bytes");
    }
};

QTEST_GUILESS_MAIN(TestLogText)
#include "tst_logtext.moc"
