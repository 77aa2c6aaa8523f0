#include "platform/NativeFileSystem.h"
#include "platform/RunError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

namespace {

void writeFile(const QString& path, const QByteArray& content = QByteArray())
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    file.write(content);
}

// The number and description of the RunError the call throws; 0 when it throws none.
RunError thrownBy(const std::function<void()>& call)
{
    try {
        call();
    } catch (const RunError& error) {
        return error;
    }
    return RunError(0, QString());
}

} // namespace

class TestFileSystem : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void listFilesListsPlainFilesOnly();
    void listFilesFailures_data();
    void listFilesFailures();
    void existence_data();
    void existence();
    void fileTimesOfNoFile_data();
    void fileTimesOfNoFile();
    void fileTimesOfFile();
    void readFile();
    void readFileFailures_data();
    void readFileFailures();
    void descriptions_data();
    void descriptions();

private:
    QString path(const QString& relative) const { return m_dir->filePath(relative); }

    std::unique_ptr<QTemporaryDir> m_dir;
    NativeFileSystem m_fileSystem;
};

// Every test starts on a fresh folder holding a file, a subfolder and links to both.
void TestFileSystem::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    writeFile(path("exame.txt"), "resposta");
    QVERIFY(QDir().mkpath(path("sub")));
    writeFile(path("sub/dentro.txt"));
    QVERIFY(QFile::link(path("exame.txt"), path("ligacao.txt")));
    QVERIFY(QFile::link(path("sub"), path("ligacao-pasta")));
}

void TestFileSystem::listFilesListsPlainFilesOnly()
{
    writeFile(path("Relatório final.doc"));
    writeFile(path(".oculto"));
    QVERIFY(QDir().mkpath(path(".pasta-oculta")));
    QVERIFY(QFile::link(path("desaparecido"), path("quebrada.txt")));

    QStringList names = m_fileSystem.listFiles(m_dir->path());
    names.sort();
    QCOMPARE(names, QStringList({"Relatório final.doc", "exame.txt", "ligacao.txt"}));
    QCOMPARE(m_fileSystem.listFiles(path("sub")), QStringList({"dentro.txt"}));
    QCOMPARE(m_fileSystem.listFiles(path("ligacao-pasta")), QStringList({"dentro.txt"}));
}

void TestFileSystem::listFilesFailures_data()
{
    QTest::addColumn<QString>("folder");
    QTest::newRow("missing folder") << "nada";
    QTest::newRow("inside a missing folder") << "nada/sub";
    QTest::newRow("a file") << "exame.txt";
    QTest::newRow("inside a file") << "exame.txt/sub";
}

void TestFileSystem::listFilesFailures()
{
    QFETCH(QString, folder);
    const RunError error = thrownBy([&] { m_fileSystem.listFiles(path(folder)); });
    QCOMPARE(error.number(), 76);
    QCOMPARE(error.description(), QStringLiteral("Path not found"));
}

void TestFileSystem::existence_data()
{
    QTest::addColumn<QString>("relative");
    QTest::addColumn<bool>("folder");
    QTest::addColumn<bool>("file");

    QTest::newRow("folder") << "sub" << true << false;
    QTest::newRow("folder with final separator") << "sub/" << true << false;
    QTest::newRow("link to folder") << "ligacao-pasta" << true << false;
    QTest::newRow("file") << "exame.txt" << false << true;
    QTest::newRow("link to file") << "ligacao.txt" << false << true;
    QTest::newRow("file with final separator") << "exame.txt/" << false << false;
    QTest::newRow("inside a file") << "exame.txt/sub" << false << false;
    QTest::newRow("missing") << "nada" << false << false;
    QTest::newRow("inside a missing folder") << "nada/sub" << false << false;
}

void TestFileSystem::existence()
{
    QFETCH(QString, relative);
    QFETCH(bool, folder);
    QFETCH(bool, file);
    QCOMPARE(m_fileSystem.folderExists(path(relative)), folder);
    QCOMPARE(m_fileSystem.fileExists(path(relative)), file);
    QVERIFY(!m_fileSystem.folderExists(QString()));
    QVERIFY(!m_fileSystem.fileExists(QString()));
}

void TestFileSystem::fileTimesOfNoFile_data()
{
    QTest::addColumn<QString>("relative");
    QTest::newRow("missing file") << "nada.txt";
    QTest::newRow("inside a missing folder") << "nada/x.txt";
    QTest::newRow("inside a file") << "exame.txt/x.txt";
    QTest::newRow("folder") << "sub";
    QTest::newRow("link to folder") << "ligacao-pasta";
}

void TestFileSystem::fileTimesOfNoFile()
{
    QFETCH(QString, relative);
    QVERIFY(!m_fileSystem.fileTimes(path(relative)));
    QVERIFY(!m_fileSystem.fileTimes(QString()));
}

void TestFileSystem::fileTimesOfFile()
{
    // A moment of the autumn hour change in Lisbon, when the local clock runs 01:00-02:00 twice.
    const QDateTime modified = QDateTime::fromString(QStringLiteral("2025-10-26T01:30:15.250Z"), Qt::ISODate);
    QFile file(path("exame.txt"));
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(modified, QFileDevice::FileModificationTime));
    file.close();

    for (const QString name : {"exame.txt", "ligacao.txt"}) {
        const std::optional<FileTimes> times = m_fileSystem.fileTimes(path(name));
        QVERIFY2(times, qPrintable(name));
        QCOMPARE(times->modified, modified);
        QCOMPARE(times->modified.toMSecsSinceEpoch(), modified.toMSecsSinceEpoch());
        QVERIFY(times->created.isValid());
    }
}

void TestFileSystem::readFile()
{
    static const char bytes[] = "linha 1\r\nlinha\0 2\n\xf3\xff";
    const QByteArray content(bytes, sizeof bytes - 1);
    writeFile(path("dados.bin"), content);
    QCOMPARE(m_fileSystem.readFile(path("dados.bin")), content);
    QCOMPARE(m_fileSystem.readFile(path("sub/dentro.txt")), QByteArray());
    QCOMPARE(m_fileSystem.readFile(path("ligacao.txt")), QByteArray("resposta"));
}

void TestFileSystem::readFileFailures_data()
{
    QTest::addColumn<QString>("relative");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("description");

    QTest::newRow("missing file") << "nada.txt" << 53 << "File not found";
    QTest::newRow("folder") << "sub" << 75 << "Path/File access error";
    QTest::newRow("link to folder") << "ligacao-pasta" << 75 << "Path/File access error";
    QTest::newRow("inside a file") << "exame.txt/x.txt" << 76 << "Path not found";
}

void TestFileSystem::readFileFailures()
{
    QFETCH(QString, relative);
    QFETCH(int, number);
    QFETCH(QString, description);
    const RunError error = thrownBy([&] { m_fileSystem.readFile(path(relative)); });
    QCOMPARE(error.number(), number);
    QCOMPARE(error.description(), description);
}

void TestFileSystem::descriptions_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("description");

    QTest::newRow("53") << 53 << "File not found";
    QTest::newRow("58") << 58 << "File already exists";
    QTest::newRow("61") << 61 << "Disk full";
    QTest::newRow("62") << 62 << "Input past end of file";
    QTest::newRow("70") << 70 << "Permission denied";
    QTest::newRow("75") << 75 << "Path/File access error";
    QTest::newRow("76") << 76 << "Path not found";
    QTest::newRow("380") << 380 << "Invalid property value";
}

void TestFileSystem::descriptions()
{
    QFETCH(int, number);
    QFETCH(QString, description);
    const RunError error = RunError::fromNumber(number);
    QCOMPARE(error.number(), number);
    QCOMPARE(error.description(), description);
    QCOMPARE(QString::fromUtf8(error.what()), QStringLiteral("%1  %2").arg(number).arg(description));
}

QTEST_GUILESS_MAIN(TestFileSystem)
#include "tst_filesystem.moc"
