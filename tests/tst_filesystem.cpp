#include "platform/NativeFileSystem.h"
#include "platform/RunError.h"
#include "support/Outcome.h"
#include "support/RawFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QByteArray Content("linha 1\r\nlinha\0 2\n\xf3\xff", 20);
// A moment of the autumn hour change in Lisbon, when the local clock runs 01:00-02:00 twice.
const QDateTime Modified = QDateTime::fromString(QStringLiteral("2025-10-26T01:30:15.250Z"), Qt::ISODate);

QByteArray kindName(std::optional<FileStatus> status)
{
    static const char* const names[] = {"file", "folder", "link", "other"}; // in FileStatus::Kind's order
    return status ? names[int(status->kind)] : "none";
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
        for (const QString name : {"exame.txt", ".oculto", "Relatório final.doc"})
            writeRaw(path(name), Content, Modified.toMSecsSinceEpoch() * 1000000);
#ifndef Q_OS_WIN // Windows makes links for the privileged only, and Wine makes none
        QVERIFY(makeLink(u"exame.txt"_s, path("liga.txt")) && makeLink(u"sub"_s, path("pasta")));
        // Links are listed as links, wherever they lead, and never followed.
        QVERIFY(makeLink(u"ciclo"_s, path("ciclo")) && makeLink(u"nada"_s, path("partida")));
#endif
    }

    // The station listing: plain files with their times, links as links.
    void listings()
    {
        QStringList listed; // links marked @
        for (const ListedFile& file : m_fs.listFiles(m_dir.path(), {}, true)) {
            const bool link = file.times.outcome == FileTimesRead::Link;
            listed.append(file.name + (link ? "@" : ""));
            if (link)
                continue;
            QCOMPARE(file.times.times.modified, Modified.toMSecsSinceEpoch());
            // Created when the test began, saved long before: the birth time, not the save.
            if (const QDateTime born = QFileInfo(path(file.name)).birthTime(); born.isValid())
                QCOMPARE(file.times.times.created, born.toMSecsSinceEpoch());
        }
        listed.sort();
#ifdef Q_OS_WIN // a leading dot hides no file there, the hidden attribute does
        QCOMPARE(listed.join(' '), ".oculto Relatório final.doc exame.txt");
#else
        QCOMPARE(listed.join(' '), "Relatório final.doc ciclo@ exame.txt liga.txt@ partida@ pasta@");
#endif
        QCOMPARE(outcome([&] { return QByteArray::number(m_fs.listFiles(path("nada"), {}, true).size()); }),
                 "error 76");
    }

    void paths_data()
    {
        // What reading it gives, the kind it leads to, the entry's own kind, its opening for a copy.
        for (const char* column : {"relative", "read", "kind", "entry", "open"})
            QTest::addColumn<QByteArray>(column);
        const QByteArray rows[][5] = {
            {"exame.txt", Content, "file", "file", "opened"},
            {"exame.txt/x", "error 76", "none", "none", "error 76"},
#ifndef Q_OS_WIN
            {"liga.txt", Content, "file", "link", "error 75"}, // a link to a file
#endif
        };
        for (const auto& row : rows)
            QTest::newRow(row[0]) << row[0] << row[1] << row[2] << row[3] << row[4];
    }

    void paths()
    {
        QFETCH(QByteArray, relative);
        QFETCH(QByteArray, entry);
        const QString full = path(QString::fromUtf8(relative));
        QCOMPARE(kindName(m_fs.entryStatus(full)), entry);
        QTEST(kindName(m_fs.status(full)), "kind");
        QCOMPARE(m_fs.folderExists(full), kindName(m_fs.status(full)) == "folder");
        QTEST(outcome([&] { return m_fs.openToRead(full) ? QByteArray("opened") : QByteArray(); }), "open");
        if (entry == "file") // its status changed when its time was set, long after that time
            QVERIFY(m_fs.status(full)->changedNs > Modified.toMSecsSinceEpoch() * 1000000);
        const FileTimesRead times = m_fs.fileTimes(full);
        QCOMPARE(times.read() ? times.times.modified : 0, entry == "file" ? Modified.toMSecsSinceEpoch() : 0);
        QTEST(outcome([&] { return m_fs.readFile(full); }), "read");
    }
};

QTEST_GUILESS_MAIN(TestFileSystem)
#include "tst_filesystem.moc"
