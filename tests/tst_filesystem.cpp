#include "platform/NativeFileSystem.h"
#include "platform/RunError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QByteArray Content("linha 1\r\nlinha\0 2\n\xf3\xff", 20);
// A moment of the autumn hour change in Lisbon, when the local clock runs 01:00-02:00 twice.
const QDateTime Modified = QDateTime::fromString(QStringLiteral("2025-10-26T01:30:15.250Z"), Qt::ISODate);

// What the call gives, or "error N" when it throws RunError number N.
template <typename Call> QByteArray outcome(Call call)
{
    try {
        return call();
    } catch (const RunError& error) {
        return "error " + QByteArray::number(error.number());
    }
}

} // namespace

class TestFileSystem : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    NativeFileSystem m_fs;
    QString path(const QString& relative) const { return m_dir.filePath(relative); }

private slots:
    // Every file here is stamped Modified and holds Content.
    void initTestCase()
    {
        QVERIFY(QDir().mkpath(path("sub")));
        for (const QString name : {"exame.txt", ".oculto", "Relatório final.doc"}) {
            QFile file(path(name));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(Content) == Content.size() && file.flush());
            QVERIFY(file.setFileTime(Modified, QFileDevice::FileModificationTime));
        }
        QVERIFY(QFile::link(path("exame.txt"), path("liga.txt")) && QFile::link(path("sub"), path("pasta")));
        // A link whose status call fails (here in a loop, as a share may fail) is still listed;
        // one that leads nowhere is not.
        QVERIFY(QFile::link(path("ciclo"), path("ciclo")) && QFile::link(path("nada"), path("partida")));
    }

    // Plain files only, their times read when asked for.
    void listFilesListsPlainFilesOnly_data()
    {
        QTest::addColumn<bool>("withTimes");
        QTest::addColumn<QString>("listed"); // name:outcome, sorted
        QTest::newRow("names only") << false << "Relatório final.doc:1 ciclo:3 exame.txt:1 liga.txt:0";
        QTest::newRow("with times") << true << "Relatório final.doc:0 ciclo:3 exame.txt:0 liga.txt:0";
    }

    void listFilesListsPlainFilesOnly()
    {
        QFETCH(bool, withTimes);
        QStringList listed;
        for (const ListedFile& file : m_fs.listFiles(m_dir.path(), {}, withTimes)) {
            listed.append(file.name + ':' + QString::number(file.times.outcome));
            QCOMPARE(file.times.read() ? file.times.times.modified : Modified.toMSecsSinceEpoch(),
                     Modified.toMSecsSinceEpoch());
        }
        listed.sort();
        QTEST(listed.join(' '), "listed");
        QCOMPARE(
            outcome([&] { return QByteArray::number(m_fs.listFiles(path("nada"), {}, withTimes).size()); }),
            "error 76");
    }

    void paths_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<QByteArray>("read");
        QTest::addColumn<QString>("kind");
        QTest::newRow("file") << "exame.txt" << Content << "file";
        QTest::newRow("folder") << "sub" << QByteArray("error 75") << "folder";
        QTest::newRow("missing") << "nada.txt" << QByteArray("error 53") << "";
        QTest::newRow("inside a file") << "exame.txt/x" << QByteArray("error 76") << "";
    }

    void paths()
    {
        QFETCH(QString, relative);
        QFETCH(QByteArray, read);
        QFETCH(QString, kind);
        QCOMPARE(m_fs.folderExists(path(relative)), kind == "folder");
        QCOMPARE(m_fs.fileExists(path(relative)), kind == "file");
        QCOMPARE(m_fs.status(path(relative)).has_value(), !kind.isEmpty());
        if (kind == "file") // its status changed when its time was set, long after that time
            QVERIFY(m_fs.status(path(relative))->changedNs > Modified.toMSecsSinceEpoch() * 1000000);
        const FileTimesRead times = m_fs.fileTimes(path(relative));
        QCOMPARE(times.read() ? times.times.modified : 0, kind == "file" ? Modified.toMSecsSinceEpoch() : 0);
        QCOMPARE(outcome([&] { return m_fs.readFile(path(relative)); }), read);
    }
};

QTEST_GUILESS_MAIN(TestFileSystem)
#include "tst_filesystem.moc"
