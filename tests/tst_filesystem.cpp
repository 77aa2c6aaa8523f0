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
        // Links are listed as links, wherever they lead, and never followed.
        QVERIFY(QFile::link(path("ciclo"), path("ciclo")) && QFile::link(path("nada"), path("partida")));
    }

    // Plain files only, their times read when asked for.
    void listFilesListsPlainFilesOnly_data()
    {
        QTest::addColumn<bool>("withTimes");
        QTest::addColumn<QString>("listed"); // name:outcome, sorted
        const QString links = " liga.txt:3 partida:3 pasta:3";
        QTest::newRow("names only") << false << "Relatório final.doc:1 ciclo:3 exame.txt:1" + links;
        QTest::newRow("with times") << true << "Relatório final.doc:0 ciclo:3 exame.txt:0" + links;
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
        QStringList all = m_fs.listAllFiles(m_dir.path());
        all.sort();
        QCOMPARE(all.join(' '), ".oculto Relatório final.doc ciclo exame.txt liga.txt partida pasta");
    }

    void paths_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<QByteArray>("read");
        QTest::addColumn<QString>("kind");    // of what the path leads to
        QTest::addColumn<int>("entry");       // the kind of the entry itself, -1 for none
        QTest::addColumn<QByteArray>("open"); // its opening for a copy
        const int file = int(FileStatus::Kind::File), link = int(FileStatus::Kind::Link);
        QTest::newRow("file") << "exame.txt" << Content << "file" << file << QByteArray("opened");
        QTest::newRow("folder") << "sub" << QByteArray("error 75") << "folder"
                                << int(FileStatus::Kind::Folder) << QByteArray("opened");
        QTest::newRow("missing") << "nada.txt" << QByteArray("error 53") << "" << -1
                                 << QByteArray("error 53");
        QTest::newRow("inside a file")
            << "exame.txt/x" << QByteArray("error 76") << "" << -1 << QByteArray("error 76");
        QTest::newRow("link to a file") << "liga.txt" << Content << "link" << link << QByteArray("error 75");
    }

    void paths()
    {
        QFETCH(QString, relative);
        QFETCH(QByteArray, read);
        QFETCH(QString, kind);
        QFETCH(int, entry);
        QCOMPARE(m_fs.folderExists(path(relative)), kind == "folder");
        const std::optional<FileStatus> entryStatus = m_fs.entryStatus(path(relative));
        QCOMPARE(entryStatus ? int(entryStatus->kind) : -1, entry);
        QTEST(outcome([&] { return m_fs.openToRead(path(relative)) ? QByteArray("opened") : QByteArray(); }),
              "open");
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
