#include "collect/CarefulCopy.h"
#include "platform/NativeName.h"
#include "platform/RunError.h"
#include "window/FileNamePattern.h"

#include <QTest>

#include <tuple>

using namespace Qt::StringLiterals;

// The program's own texts from names: the filter and numbered names.
class TestText : public QObject
{
    Q_OBJECT
private slots:
    // 1 for a name listed, 0 for one left out, the error number for a pattern refused.
    void filter_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("outcome");
        const std::tuple<const char*, const char*, int> rows[] = {
            {"  ;  ", "x.doc", 1},          {"*.*", "Makefile", 1},    {"*.txt", "EXAME.TXT", 1},
            {" *.txt ; *.c ", "main.c", 1}, {"exam.*", "exam.txt", 1}, {"exam.*", "exam", 1},
            {"exam.*", "exams", 0},         {"pc?.txt", "pc1.txt", 1}, {"pc?.txt", "pc.txt", 0},
            {"[a].txt", "[a].txt", 1},      {"joão.*", "JOÃO.TXT", 1}, {"a*b*c", "aXbYbZc", 1},
            {"a*b*c", "aXbYbZ", 0},         {"a.txt", "abtxt", 0},     {"*.c", "c", 0},
        };
        for (const auto& [pattern, name, outcome] : rows)
            QTest::addRow("%s ~ %s", pattern, name)
                << QString::fromUtf8(pattern) << QString::fromUtf8(name) << outcome;
        for (const char c : QByteArray("/\\:<>\"|\t\x01"))
            QTest::addRow("refused U+%04X", c) << u"*%1.txt"_s.arg(QLatin1Char(c)) << QString() << 380;
    }

    void filter()
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

    // The name a copy takes when its own is taken: within 255 bytes, characters kept whole.
    void numberedName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        const QString a(251, u'a'), emoji = u"😀"_s.repeated(63);
        const QString escaped = nameFromNative(QByteArray(250, '\xF3'));
        QTest::newRow("before the last extension") << u"a.tar.gz"_s << u"a.tar (2).gz"_s;
        QTest::newRow("255 bytes") << a + u".txt"_s << a.left(247) + u" (2).txt"_s;
        QTest::newRow("four-byte characters whole") << emoji + u".c"_s << emoji.left(124) + u" (2).c"_s;
        QTest::newRow("escaped bytes") << escaped + u".txt"_s << escaped.left(247) + u" (2).txt"_s;
    }

    void numberedName()
    {
        QFETCH(QString, name);
        QTEST(::numberedName(name, 2), "expected");
    }
};

QTEST_GUILESS_MAIN(TestText)
#include "tst_text.moc"
