#include "platform/RunError.h"
#include "window/FileNamePattern.h"

#include <QTest>

class TestFileNamePattern : public QObject
{
    Q_OBJECT
private slots:
    // 1 for a name listed, 0 for one left out, the error number for a pattern refused.
    void matching_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("outcome");
        const struct
        {
            const char* pattern;
            const char* name;
            int outcome;
        } rows[] = {
            {"  ;  ", "x.doc", 1},         {"*.*", "Makefile", 1},         {"*.txt", "EXAME.TXT", 1},
            {"*.txt", "exame.txt.bak", 0}, {" *.txt ; *.c ", "main.c", 1}, {"exam.*", "exam.txt", 1},
            {"exam.*", "exam", 1},         {"exam.*", "exams", 0},         {"pc?.txt", "pc1.txt", 1},
            {"pc?.txt", "pc.txt", 0},      {"[a].txt", "[a].txt", 1},      {"[a].txt", "a.txt", 0},
            {"joão.*", "JOÃO.TXT", 1},     {"a*b*c", "aXbYbZc", 1},        {"a*b*c", "aXbYbZ", 0},
            {"a.txt", "abtxt", 0},         {"*", "qualquer", 1},           {"*.c", "c", 0},
        };
        for (const auto& row : rows)
            QTest::addRow("%s ~ %s", row.pattern, row.name)
                << QString::fromUtf8(row.pattern) << QString::fromUtf8(row.name) << row.outcome;
        for (const char c : QByteArray("/\\:<>\"|\t\x01"))
            QTest::addRow("refused U+%04X", c)
                << QStringLiteral("*%1.txt").arg(QLatin1Char(c)) << QString() << 380;
    }

    void matching()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, name);
        int outcome;
        try {
            outcome = FileNamePattern::parse(pattern).matches(name);
        } catch (const RunError& error) {
            outcome = error.number();
        }
        QTEST(outcome, "outcome");
    }
};

QTEST_GUILESS_MAIN(TestFileNamePattern)
#include "tst_filenamepattern.moc"
