#include "collect/CarefulCopy.h"
#include "platform/NativeName.h"
#include "platform/RunError.h"
#include "support/FakeFileSystem.h"
#include "support/RawFiles.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

using namespace Qt::StringLiterals;

using Errors = QHash<QString, int>;

namespace {

const QString AccessError = u"error 75  Path/File access error"_s, DiskFull = u"error 61  Disk full"_s;

QByteArray someBytes(qint64 size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator(size).fillRange(reinterpret_cast<quint32*>(bytes.data()), size / 4);
    return bytes;
}

} // namespace

// Each copy goes from the temporary folder to its "recolha" folder.
class TestCarefulCopy : public QObject
{
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    FakeFileSystem m_fs;
    QString m_to, m_source;

    QString target(const QString& name) const { return m_to + u'/' + name; }
    QByteArray content(const QString& path) { return m_fs.readFile(path); }

    // What the copy of the source gives: its name, or "error N  description".
    QString outcome(const QString& name, const QSet<QString>& reserved = {}, const QString& folder = {})
    {
        try {
            return copyWithoutReplacing(m_fs, m_source, folder.isEmpty() ? m_to : folder, name, reserved)
                .name;
        } catch (const RunError& error) {
            return u"error "_s + QString::fromUtf8(error.what());
        }
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_to = m_dir->filePath(u"recolha"_s);
        QVERIFY(QDir().mkpath(m_to));
        m_fs = FakeFileSystem();
        m_source = m_dir->filePath(u"exame.txt"_s);
        writeRaw(m_source, "new");
    }

    void numberedName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("expected");
        const QString a(251, u'a'), cedilla(125, u'ç'), emoji = u"😀"_s.repeated(63);
        const QString escaped = nameFromNative(QByteArray(250, '\xF3'));
        QTest::newRow("before the extension") << "resposta.txt" << 2 << "resposta (2).txt";
        QTest::newRow("last extension only") << "a.tar.gz" << 3 << "a.tar (3).gz";
        QTest::newRow("no extension") << "Makefile" << 2 << "Makefile (2)";
        QTest::newRow("leading dot is no extension") << ".bashrc" << 2 << ".bashrc (2)";
        QTest::newRow("hidden with extension") << ".config.json" << 2 << ".config (2).json";
        QTest::newRow("255 bytes") << a + ".txt" << 2 << a.left(247) + " (2).txt";
        QTest::newRow("two-byte characters whole") << cedilla + ".txt" << 2 << cedilla.left(123) + " (2).txt";
        QTest::newRow("four-byte characters whole") << emoji + ".c" << 2 << emoji.left(124) + " (2).c";
        QTest::newRow("escaped bytes") << escaped + ".txt" << 2 << escaped.left(247) + " (2).txt";
        QTest::newRow("extension too long") << "a." + a.left(253) << 2 << ("a." + a).left(251) + " (2)";
    }

    void numberedName()
    {
        QFETCH(QString, name);
        QFETCH(int, number);
        QTEST(::numberedName(name, number), "expected");
    }

    // Names kept for the collection's own files are taken, whatever their case, numbered ones too.
    void reservedNames()
    {
        writeRaw(target("x.txt"), "old");
        QCOMPARE(outcome("x.txt", {"log.txt", "X (2).TXT"}), "x (3).txt");
        QCOMPARE(entries(m_to), QStringList({"x (3).txt", "x.txt"}));
    }

    // A file system that refuses one way takes the next for every name after; a
    // file made at the name just before the claim (the attempt before the last
    // listed) keeps its content and its name.
    void claimWays_data()
    {
        QTest::addColumn<Errors>("errors");
        QTest::addColumn<QString>("claims");
        const QString link = u"rename x.txt, link x.txt, link x (2).txt"_s;
        const QString placeholder = u"rename x.txt, link x.txt, create x.txt, create x (2).txt"_s;
        QTest::newRow("link after ENOSYS") << Errors{{"rename", ENOSYS}} << link;
        QTest::newRow("placeholder after EOPNOTSUPP")
            << Errors{{"rename", ENOSYS}, {"link", EOPNOTSUPP}} << placeholder;
    }

    void claimWays()
    {
        QFETCH(Errors, errors);
        QFETCH(QString, claims);
        const QStringList expectedClaims = claims.split(u", "_s);
        m_fs.errors = errors;
        m_fs.beforeClaim = [&](const QString& path) {
            if (m_fs.claims.last() == expectedClaims.at(expectedClaims.size() - 2))
                writeRaw(path, "racer");
        };

        QCOMPARE(outcome("x.txt"), "x (2).txt");
        QCOMPARE(m_fs.claims.filter(QRegularExpression(u"^(?!create \\.varnok-)"_s)), expectedClaims);
        QCOMPARE(content(target("x.txt")) + content(target("x (2).txt")), "racernew");
        QCOMPARE(entries(m_to), QStringList({"x (2).txt", "x.txt"}));
    }

    void temporaryNameTakenTriesAnother()
    {
        QString racer;
        m_fs.beforeClaim = [&](const QString& path) {
            if (racer.isEmpty())
                writeRaw(racer = path, "racer");
        };
        QCOMPARE(outcome("x.txt"), "x.txt");
        QVERIFY(racer.contains(u"/.varnok-"_s));
        QCOMPARE(content(racer), "racer");
        QCOMPARE(entries(m_to).size(), 2);
    }

    // A copy is of one version that was on the station, with its time to the nanosecond,
    // also before 1970: an original rewritten in place while it is read is read again.
    void copiesOneVersion_data()
    {
        QTest::addColumn<qint64>("modifiedNs");
        QTest::addColumn<int>("rewrites");
        QTest::newRow("rewritten once while read") << qint64(1781512200123456789) << 1;
        QTest::newRow("rewritten twice while read") << qint64(1781512200123456789) << 2;
        QTest::newRow("a second and a half before 1970") << qint64(-1500000000) << 0;
        QTest::newRow("a second before 1970") << qint64(-1000000000) << 0;
    }

    void copiesOneVersion()
    {
        QFETCH(qint64, modifiedNs);
        QFETCH(int, rewrites);
        writeRaw(m_source, someBytes(3000), modifiedNs);
        int done = 0;
        m_fs.whileReading = [&](const QString& path) {
            if (path == m_source && done < rewrites)
                writeRaw(m_source, someBytes(3000 + 4 * ++done), modifiedNs); // as an editor saves
        };

        QCOMPARE(outcome("x.txt"), "x.txt");
        QCOMPARE(content(target("x.txt")), someBytes(3000 + 4 * rewrites));
        QCOMPARE(m_fs.status(target("x.txt"))->modifiedNs, modifiedNs);
        QCOMPARE(entries(m_to), QStringList{"x.txt"});
    }

    // Whatever fails, the folder keeps only what it held.
    void failureLeavesNothing_data()
    {
        QTest::addColumn<Errors>("errors");
        QTest::addColumn<bool>("corrupt");
        QTest::addColumn<QString>("expected");
        QTest::newRow("read fails half-way") << Errors{{"read", EIO}} << false << AccessError;
        QTest::newRow("share ends the read early")
            << Errors{{"end of file", 0}} << false << "error 75  O ficheiro não foi lido até ao fim";
        QTest::newRow("rewritten at every read")
            << Errors{{"rewrite", 0}} << false << "error 75  O ficheiro foi alterado durante a cópia";
        QTest::newRow("a symbolic link")
            << Errors{{"link to it", 0}} << false << "error 75  É uma ligação simbólica";
        QTest::newRow("folder not synced after the claim")
            << Errors{{"sync folder", EIO}} << false << AccessError;
        QTest::newRow("disk full at a write") << Errors{{"write", ENOSPC}} << false << DiskFull;
        QTest::newRow("quota exceeded at a write") << Errors{{"write", EDQUOT}} << false << DiskFull;
        QTest::newRow("disk full at sync") << Errors{{"sync", ENOSPC}} << false << DiskFull;
        QTest::newRow("share gone at close") << Errors{{"close", EIO}} << false << AccessError;
        QTest::newRow("copy reads back different")
            << Errors() << true << "error 75  A cópia não coincide com o original";
        QTest::newRow("rename fails, no other way tried") << Errors{{"rename", EIO}} << false << AccessError;
        QTest::newRow("link fails") << Errors{{"rename", EINVAL}, {"link", EIO}} << false << AccessError;
        QTest::newRow("placeholder not replaced")
            << Errors{{"rename", EINVAL}, {"link", EPERM}, {"replace", EIO}} << false << AccessError;
    }

    void failureLeavesNothing()
    {
        QFETCH(Errors, errors);
        QFETCH(bool, corrupt);
        writeRaw(target("x.txt"), "old");
        writeRaw(m_source, someBytes(3000));
        m_fs.errors = errors;
        m_fs.failAfterBytes = 1500;
        m_fs.corruptNewFiles = corrupt;
        if (errors.contains("end of file"))
            m_fs.endOfFileAt = 1000;
        if (errors.contains("rewrite"))
            m_fs.whileReading = [&, size = 3000](const QString&) mutable {
                writeRaw(m_source, someBytes(++size));
            };
        if (errors.contains("link to it")) {
            const QString link = m_source + u".lnk"_s;
            QVERIFY(QFile::link(m_source, link));
            m_source = link;
        }

        QTEST(outcome("x.txt"), "expected");
        QCOMPARE(entries(m_to), QStringList{"x.txt"});
        QCOMPARE(content(target("x.txt")), "old");
    }

    void missingFolder() { QCOMPARE(outcome("x.txt", {}, target("nada")), "error 76  Path not found"); }
};

QTEST_GUILESS_MAIN(TestCarefulCopy)
#include "tst_carefulcopy.moc"
