#include "platform/NativeFileSystem.h"
#include "platform/RunError.h"
#include "support/Outcome.h"

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

namespace {

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

class TestRefusals : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    NativeFileSystem m_fs;
    QString path(const QString& relative) const { return m_dir.filePath(relative); }

private slots:
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

QTEST_GUILESS_MAIN(TestRefusals)
#include "tst_refusals.moc"
