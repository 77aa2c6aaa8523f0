#include "platform/RunError.h"
#include "window/FileNamePattern.h"

#include <QTest>

class TestFileNamePattern : public QObject
{
    Q_OBJECT
private slots:
    void matching_data();
    void matching();
    void refusedCharacters();
};

void TestFileNamePattern::matching_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("listed");
    const struct
    {
        const char* pattern;
        const char* name;
        bool listed;
    } rows[] = {
        {"", "anything", true},           {"  ;  ", "x.doc", true},     {"*.*", "Makefile", true},
        {"*.*", "a.b.c", true},           {"*.txt", "EXAME.TXT", true}, {"*.txt", "exame.txt.bak", false},
        {"*.txt;", "a.txt", true},        {"*.txt;", "a.doc", false},   {" *.txt ; *.c ", "main.c", true},
        {"*.txt;*.c", "main.cpp", false}, {"exam.*", "exam.txt", true}, {"exam.*", "exam", true},
        {"exam.*", "exams", false},       {"pc?.txt", "pc1.txt", true}, {"pc?.txt", "pc.txt", false},
        {"[a].txt", "[a].txt", true},     {"[a].txt", "a.txt", false},  {"joão.*", "JOÃO.TXT", true},
        {"a*b*c", "aXbYbZc", true},       {"a*b*c", "aXbYbZ", false},   {"a.txt", "abtxt", false},
        {"*", "qualquer", true},          {"*.c", "c", false},          {"*.c", ".C", true},
    };
    for (const auto& row : rows)
        QTest::addRow("%s ~ %s", row.pattern, row.name)
            << QString::fromUtf8(row.pattern) << QString::fromUtf8(row.name) << row.listed;
}

void TestFileNamePattern::matching()
{
    QFETCH(QString, pattern);
    QFETCH(QString, name);
    QFETCH(bool, listed);
    QCOMPARE(FileNamePattern::parse(pattern).matches(name), listed);
}

void TestFileNamePattern::refusedCharacters()
{
    for (const QChar c : QStringLiteral("/\\:<>\"|\t\x01")) {
        try {
            FileNamePattern::parse(QStringLiteral("*") + c + QStringLiteral(".txt"));
            QFAIL(qPrintable(QStringLiteral("pattern with U+%1 accepted").arg(c.unicode(), 4, 16)));
        } catch (const RunError& error) {
            QCOMPARE(error.number(), 380);
            QCOMPARE(error.description(), QStringLiteral("Invalid property value"));
        }
    }
}

QTEST_GUILESS_MAIN(TestFileNamePattern)
#include "tst_filenamepattern.moc"
