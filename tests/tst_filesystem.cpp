#include "platform/NativeFileSystem.h"
#include "platform/RunError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstddef>
#include <thread>

#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
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
    if (!status)
        return "none";
    switch (status->kind) {
    case FileStatus::Kind::File:
        return "file";
    case FileStatus::Kind::Folder:
        return "folder";
    case FileStatus::Kind::Link:
        return "link";
    default:
        return "other";
    }
}

bool hasBirthTime(const QString& path)
{
    struct statx stx;
    return ::statx(AT_FDCWD, QFile::encodeName(path).constData(), 0, STATX_BTIME, &stx) == 0 &&
           (stx.stx_mask & STATX_BTIME);
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
        if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 ||
            ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) != 0)
            result = "no seccomp";
        else
            result = outcome(call);
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

    // The station listing: plain files with their times, links as links; the deletion's
    // listing: every file, hidden ones too, and no folder.
    void listings()
    {
        QStringList plain, links;
        for (const ListedFile& file : m_fs.listFiles(m_dir.path(), {}, true)) {
            if (file.times.outcome == FileTimesRead::Link) {
                links.append(file.name);
                continue;
            }
            plain.append(file.name);
            QCOMPARE(file.times.times.modified, Modified.toMSecsSinceEpoch());
            // Created when the test began, saved long before: the birth time, not the save.
            if (hasBirthTime(path(file.name)))
                QVERIFY(file.times.times.created >= m_started.toMSecsSinceEpoch());
        }
        plain.sort();
        links.sort();
        QCOMPARE(plain.join(' ') + " | " + links.join(' '),
                 "Relatório final.doc exame.txt | ciclo liga.txt partida pasta");
        QCOMPARE(m_fs.listFiles(m_dir.path(), {}, false).size(), plain.size() + links.size());
        QCOMPARE(outcome([&] { return QByteArray::number(m_fs.listFiles(path("nada"), {}, true).size()); }),
                 "error 76");
        QStringList all = m_fs.listAllFiles(m_dir.path());
        all.sort();
        QCOMPARE(all.join(' '), ".oculto Relatório final.doc ciclo exame.txt liga.txt partida pasta");
    }

    void paths_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<QByteArray>("read");
        QTest::addColumn<QByteArray>("kind");  // of what the path leads to
        QTest::addColumn<QByteArray>("entry"); // of the entry itself
        QTest::addColumn<QByteArray>("open");  // its opening for a copy
        QTest::newRow("file") << "exame.txt" << Content << "file"_ba
                              << "file"_ba
                              << "opened"_ba;
        QTest::newRow("folder") << "sub"
                                << "error 75"_ba
                                << "folder"_ba
                                << "folder"_ba
                                << "opened"_ba;
        QTest::newRow("missing") << "nada.txt"
                                 << "error 53"_ba
                                 << "none"_ba
                                 << "none"_ba
                                 << "error 53"_ba;
        QTest::newRow("inside a file") << "exame.txt/x"
                                       << "error 76"_ba
                                       << "none"_ba
                                       << "none"_ba
                                       << "error 76"_ba;
        QTest::newRow("link to a file") << "liga.txt" << Content << "file"_ba
                                        << "link"_ba
                                        << "error 75"_ba;
    }

    void paths()
    {
        QFETCH(QString, relative);
        QFETCH(QByteArray, kind);
        QFETCH(QByteArray, entry);
        const QString full = path(relative);
        QCOMPARE(m_fs.folderExists(full), kind == "folder");
        QCOMPARE(kindName(m_fs.entryStatus(full)), entry);
        QTEST(kindName(m_fs.status(full)), "kind");
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
        const QString file = path("curto.bin");
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit before;
        QVERIFY(::getrlimit(RLIMIT_FSIZE, &before) == 0);
        rlimit limit = before;
        limit.rlim_cur = 1000;
        QVERIFY(::setrlimit(RLIMIT_FSIZE, &limit) == 0);
        const QByteArray written = outcome([&] {
            const QByteArray bytes(3000, 'x');
            m_fs.createNew(file)->write(bytes.constData(), bytes.size());
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
