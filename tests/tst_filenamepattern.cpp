#include "platform/RunError.h"
#include "window/FileNamePattern.h"

#include <QTest>

class TestFileNamePattern : public QObject
{
    Q_OBJECT
private slots:
    void matching_data();
    void matching();
    void refusedCharacters_data();
    void refusedCharacters();
};

void TestFileNamePattern::matching_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("listed");

    QTest::newRow("empty lists all") << ""
                                     << "anything" << true;
    QTest::newRow("blanks only list all") << "  ;  "
                                          << "x.doc" << true;
    QTest::newRow("star dot star lists names without dot") << "*.*"
                                                           << "Makefile" << true;
    QTest::newRow("star dot star lists names with dot") << "*.*"
                                                        << "a.b.c" << true;
    QTest::newRow("extension") << "*.txt"
                               << "exame.txt" << true;
    QTest::newRow("extension ignores case") << "*.txt"
                                            << "EXAME.TXT" << true;
    QTest::newRow("extension other") << "*.txt"
                                     << "exame.txt.bak" << false;
    QTest::newRow("trailing separator") << "*.txt;"
                                        << "a.txt" << true;
    QTest::newRow("trailing separator other") << "*.txt;"
                                              << "a.doc" << false;
    QTest::newRow("second pattern") << "*.txt;*.c"
                                    << "main.c" << true;
    QTest::newRow("blanks around segments") << " *.txt ; *.c "
                                            << "main.c" << true;
    QTest::newRow("neither pattern") << "*.txt;*.c"
                                     << "main.cpp" << false;
    QTest::newRow("exam dot star with extension") << "exam.*"
                                                  << "exam.txt" << true;
    QTest::newRow("exam dot star without dot") << "exam.*"
                                               << "exam" << true;
    QTest::newRow("exam dot star longer stem") << "exam.*"
                                               << "exams" << false;
    QTest::newRow("question mark one char") << "pc?.txt"
                                            << "pc1.txt" << true;
    QTest::newRow("question mark not zero chars") << "pc?.txt"
                                                  << "pc.txt" << false;
    QTest::newRow("brackets are literal") << "[a].txt"
                                          << "[a].txt" << true;
    QTest::newRow("brackets are no set") << "[a].txt"
                                         << "a.txt" << false;
    QTest::newRow("accented letters ignore case") << "exame_joão.*"
                                                  << "EXAME_JOÃO.TXT" << true;
    QTest::newRow("star in the middle backtracks") << "a*b*c"
                                                   << "aXbYbZc" << true;
    QTest::newRow("star in the middle no match") << "a*b*c"
                                                 << "aXbYbZ" << false;
    QTest::newRow("dot is literal") << "a.txt"
                                    << "abtxt" << false;
}

void TestFileNamePattern::matching()
{
    QFETCH(QString, pattern);
    QFETCH(QString, name);
    QFETCH(bool, listed);
    QCOMPARE(FileNamePattern::parse(pattern).matches(name), listed);
}

void TestFileNamePattern::refusedCharacters_data()
{
    QTest::addColumn<QString>("pattern");
    for (const char* c : {"/", "\\", ":", "<", ">", "\"", "|", "\t", "\x01"})
        QTest::newRow(qPrintable(QStringLiteral("char %1").arg(int(c[0]))))
            << QStringLiteral("*%1.txt").arg(QLatin1String(c));
}

void TestFileNamePattern::refusedCharacters()
{
    QFETCH(QString, pattern);
    try {
        FileNamePattern::parse(pattern);
        QFAIL("pattern accepted");
    } catch (const RunError& error) {
        QCOMPARE(error.number(), 380);
        QCOMPARE(error.description(), QStringLiteral("Invalid property value"));
    }
}

QTEST_GUILESS_MAIN(TestFileNamePattern)
#include "tst_filenamepattern.moc"
