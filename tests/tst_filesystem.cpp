#include "platform/NativeFileSystem.h"
#include "platform/RunError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstddef>
#include <thread>

#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>

using namespace Qt::StringLiterals;

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

QByteArray kindName(std::optional<FileStatus> status)
{
    static const char* const names[] = {"file", "folder", "link", "other"}; // in FileStatus::Kind's order
    return status ? names[int(status->kind)] : "none";
}

// Runs the call on a thread of its own on which every fsync fails with EIO, as a share
// that went away answers.
template <typename Call> QByteArray withFailingFsync(Call call)
{
    QByteArray result;
    std::thread([&] {
        sock_filter filter[] = {
            BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
            BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_fsync, 0, 1),
            BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EIO),
            BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        };
        const sock_fprog program{sizeof filter / sizeof *filter, filter};
        const bool filtered = ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
                              ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
        result = filtered ? outcome(call) : "no seccomp";
    }).join();
    return result;
}

} // namespace

class TestFileSystem : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    NativeFileSystem m_fs;
    QDateTime m_started = QDateTime::currentDateTimeUtc().addSecs(-1);
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
            if (QFileInfo(path(file.name)).birthTime().isValid())
                QVERIFY(file.times.times.created >= m_started.toMSecsSinceEpoch());
        }
        listed.sort();
        QCOMPARE(listed.join(' '), "Relatório final.doc ciclo@ exame.txt liga.txt@ partida@ pasta@");
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
            {"liga.txt", Content, "file", "link", "error 75"}, // a link to a file
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

    // What the system refuses halfway reaches the caller: a write cut short at the size
    // limit (a full quota does the same), a folder that cannot be synced.
    void refusalsReachTheCaller()
    {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit before;
        QVERIFY(::getrlimit(RLIMIT_FSIZE, &before) == 0);
        const rlimit limit{1000, before.rlim_max};
        QVERIFY(::setrlimit(RLIMIT_FSIZE, &limit) == 0);
        const QByteArray written = outcome([&] {
            m_fs.createNew(path("curto.bin"))->write(QByteArray(3000, 'x').constData(), 3000);
            return QByteArray("written");
        });
        QVERIFY(::setrlimit(RLIMIT_FSIZE, &before) == 0);
        QCOMPARE(written, "error 75");

        const QByteArray synced = withFailingFsync([&] {
            m_fs.syncFolder(m_dir.path());
            return QByteArray("synced");
        });
        if (synced == "no seccomp")
            QSKIP("system calls cannot be made to fail here");
        QCOMPARE(synced, "error 75");
    }
};

QTEST_GUILESS_MAIN(TestFileSystem)
#include "tst_filesystem.moc"
