#include "collect/CarefulCopy.h"
#include "platform/NativeName.h"
#include "platform/RunError.h"
#include "support/FakeFileSystem.h"
#include "support/RawFiles.h"

#include <QCryptographicHash>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

using namespace Qt::StringLiterals;

using Errors = QHash<QString, int>;

namespace {

constexpr qint64 MiB = 1 << 20;
constexpr qint64 Modified = 1761442215123456789; // 2025-10-26 01:30:15.123456789 UTC

QByteArray someBytes(qint64 size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator(size).fillRange(reinterpret_cast<quint32*>(bytes.data()), size / 4);
    return bytes;
}

// What the copy gives: its name, or "error N description".
QString outcome(FakeFileSystem& fs, const QString& source, const QString& folder, const QString& name,
                const QSet<QString>& reserved = {})
{
    try {
        return copyWithoutReplacing(fs, source, folder, name, reserved).name;
    } catch (const RunError& error) {
        return u"error %1 %2"_s.arg(error.number()).arg(error.description());
    }
}

QString standardError(int number)
{
    return u"error %1 %2"_s.arg(number).arg(RunError::fromNumber(number).description());
}

} // namespace

class TestCarefulCopy : public QObject
{
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    FakeFileSystem m_fs;
    QString m_from, m_to, m_source;

    QString source(const QString& name) const { return m_from + u'/' + name; }
    QString target(const QString& name) const { return m_to + u'/' + name; }
    QByteArray content(const QString& path) { return m_fs.readFile(path); }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_from = m_dir->filePath(u"posto"_s);
        m_to = m_dir->filePath(u"recolha"_s);
        QVERIFY(QDir().mkpath(m_from) && QDir().mkpath(m_to));
        m_fs = FakeFileSystem();
        m_source = source(u"exame.txt"_s);
        writeRaw(m_source, "new");
    }

    void numberedName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("expected");
        const QString a(251, u'a'), cedilla(125, u'ç'), emoji = u"😀"_s.repeated(63);
        const QString escaped = nameFromNative(QByteArray(250, '\xF3'));
        QTest::newRow("before the extension") << u"resposta.txt"_s << 2 << u"resposta (2).txt"_s;
        QTest::newRow("last extension only") << u"a.tar.gz"_s << 3 << u"a.tar (3).gz"_s;
        QTest::newRow("no extension") << u"Makefile"_s << 2 << u"Makefile (2)"_s;
        QTest::newRow("leading dot is no extension") << u".bashrc"_s << 2 << u".bashrc (2)"_s;
        QTest::newRow("hidden with extension") << u".config.json"_s << 2 << u".config (2).json"_s;
        QTest::newRow("255 bytes") << a + u".txt"_s << 2 << a.left(247) + u" (2).txt"_s;
        QTest::newRow("two-byte characters kept whole")
            << cedilla + u".txt"_s << 2 << cedilla.left(123) + u" (2).txt"_s;
        QTest::newRow("four-byte characters kept whole")
            << emoji + u".c"_s << 2 << emoji.left(124) + u" (2).c"_s;
        QTest::newRow("escaped bytes") << escaped + u".txt"_s << 10 << escaped.left(246) + u" (10).txt"_s;
        QTest::newRow("too long a name alone") << a + a << 1 << (a + a).left(255);
        QTest::newRow("extension leaving no room")
            << u"a."_s + a.left(253) << 2 << (u"a."_s + a).left(251) + u" (2)"_s;
    }

    void numberedName()
    {
        QFETCH(QString, name);
        QFETCH(int, number);
        QFETCH(QString, expected);
        QCOMPARE(::numberedName(name, number), expected);
    }

    // Empty, exactly one chunk, several; a name that is not UTF-8 keeps its bytes.
    void plainCopy_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<qint64>("size");
        QTest::newRow("empty") << QByteArray("exame.txt") << qint64(0);
        QTest::newRow("one chunk") << QByteArray("exame.txt") << MiB;
        QTest::newRow("several chunks") << QByteArray("exame.txt") << 5 * MiB / 2;
        QTest::newRow("not UTF-8") << QByteArray("exame\xF3.txt") << qint64(100);
    }

    void plainCopy()
    {
        QFETCH(QByteArray, name);
        QFETCH(qint64, size);
        const QByteArray bytes = someBytes(size);
        const QString sourcePath = source(nameFromNative(name));
        writeRaw(sourcePath, bytes, Modified);
        const FileStatus original = *m_fs.status(sourcePath);

        const CopyResult copy = copyWithoutReplacing(m_fs, sourcePath, m_to, nameFromNative(name));

        QCOMPARE(nativeBytes(copy.name), name);
        QCOMPARE(copy.path, target(copy.name));
        QCOMPARE(entries(m_to), QStringList{copy.name});
        QVERIFY(content(copy.path) == bytes);
        QCOMPARE(copy.sha256, QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
        QCOMPARE(m_fs.status(copy.path)->modifiedNs, Modified);
        QVERIFY(copy.source == original);
        QVERIFY(m_fs.status(copy.path)->identity != original.identity);
    }

    void freeName_data()
    {
        QTest::addColumn<QStringList>("existing"); // a trailing "/" makes a folder
        QTest::addColumn<QStringList>("reserved");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        const QString a(251, u'a');
        QTest::newRow("taken twice") << QStringList{u"x.txt"_s, u"x (2).txt"_s} << QStringList() << u"x.txt"_s
                                     << u"x (3).txt"_s;
        QTest::newRow("taken by a folder")
            << QStringList{u"x.txt/"_s} << QStringList() << u"x.txt"_s << u"x (2).txt"_s;
        QTest::newRow("255 bytes") << QStringList{a + u".txt"_s} << QStringList() << a + u".txt"_s
                                   << a.left(247) + u" (2).txt"_s;
        QTest::newRow("reserved") << QStringList() << QStringList{u"log.txt"_s} << u"log.txt"_s
                                  << u"log (2).txt"_s;
        QTest::newRow("reserved in another case")
            << QStringList() << QStringList{u"SHA256SUMS"_s, u"log.txt"_s} << u"LOG.TXT"_s
            << u"LOG (2).TXT"_s;
        QTest::newRow("reserved numbered")
            << QStringList{u"x.txt"_s} << QStringList{u"x (2).txt"_s} << u"x.txt"_s << u"x (3).txt"_s;
    }

    void freeName()
    {
        QFETCH(QStringList, existing);
        QFETCH(QStringList, reserved);
        QFETCH(QString, name);
        QFETCH(QString, expected);
        for (const QString& entry : existing) {
            if (entry.endsWith(u'/'))
                QVERIFY(QDir().mkdir(target(entry)));
            else
                writeRaw(target(entry), "old");
        }

        QCOMPARE(outcome(m_fs, m_source, m_to, name, QSet<QString>(reserved.begin(), reserved.end())),
                 expected);
        QCOMPARE(content(target(expected)), "new");
        QCOMPARE(entries(m_to).size(), existing.size() + 1);
    }

    // A file system that refuses one way takes the next for every name after; a
    // file made at the name just before the claim (the attempt before the last
    // listed) keeps its content and its name.
    void claimWays_data()
    {
        QTest::addColumn<Errors>("errors");
        QTest::addColumn<QString>("claims");
        QTest::newRow("rename without replacing") << Errors() << u"rename x.txt, rename x (2).txt"_s;
        QTest::newRow("link where the flag is invalid")
            << Errors{{u"rename"_s, EINVAL}} << u"rename x.txt, link x.txt, link x (2).txt"_s;
        QTest::newRow("link where the call is missing")
            << Errors{{u"rename"_s, ENOSYS}} << u"rename x.txt, link x.txt, link x (2).txt"_s;
        QTest::newRow("placeholder where links are not permitted")
            << Errors{{u"rename"_s, EINVAL}, {u"link"_s, EPERM}}
            << u"rename x.txt, link x.txt, create x.txt, create x (2).txt"_s;
        QTest::newRow("placeholder where links are not supported")
            << Errors{{u"rename"_s, ENOSYS}, {u"link"_s, EOPNOTSUPP}}
            << u"rename x.txt, link x.txt, create x.txt, create x (2).txt"_s;
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

        QCOMPARE(outcome(m_fs, m_source, m_to, u"x.txt"_s), u"x (2).txt"_s);
        QCOMPARE(m_fs.claims.filter(QRegularExpression(u"^(?!create \\.varnok-)"_s)), expectedClaims);
        QCOMPARE(content(target(u"x.txt"_s)), "racer");
        QCOMPARE(content(target(u"x (2).txt"_s)), "new");
        QCOMPARE(entries(m_to), QStringList({u"x (2).txt"_s, u"x.txt"_s}));
    }

    void temporaryNameTakenTriesAnother()
    {
        QString racer;
        m_fs.beforeClaim = [&](const QString& path) {
            if (racer.isEmpty()) {
                racer = path;
                writeRaw(path, "racer");
            }
        };
        QCOMPARE(outcome(m_fs, m_source, m_to, u"x.txt"_s), u"x.txt"_s);
        QVERIFY(racer.contains(u"/.varnok-"_s));
        QCOMPARE(content(racer), "racer");
        QCOMPARE(entries(m_to).size(), 2);
    }

    // Whatever fails, the folder keeps only what it held.
    void failureLeavesNothing_data()
    {
        QTest::addColumn<Errors>("errors");
        QTest::addColumn<bool>("corrupt");
        QTest::addColumn<QString>("expected");
        const QString accessError = standardError(ErrorNumber::PathFileAccessError);
        const QString diskFull = standardError(ErrorNumber::DiskFull);
        QTest::newRow("read fails half-way") << Errors{{u"read"_s, EIO}} << false << accessError;
        QTest::newRow("disk full at a write") << Errors{{u"write"_s, ENOSPC}} << false << diskFull;
        QTest::newRow("quota exceeded at a write") << Errors{{u"write"_s, EDQUOT}} << false << diskFull;
        QTest::newRow("disk full at sync") << Errors{{u"sync"_s, ENOSPC}} << false << diskFull;
        QTest::newRow("share gone at close") << Errors{{u"close"_s, EIO}} << false << accessError;
        QTest::newRow("copy reads back different")
            << Errors() << true << u"error 75 A cópia não coincide com o original"_s;
        QTest::newRow("rename fails, no other way tried")
            << Errors{{u"rename"_s, EIO}} << false << accessError;
        QTest::newRow("link fails") << Errors{{u"rename"_s, EINVAL}, {u"link"_s, EIO}} << false
                                    << accessError;
        QTest::newRow("placeholder not replaced")
            << Errors{{u"rename"_s, EINVAL}, {u"link"_s, EPERM}, {u"replace"_s, EIO}} << false << accessError;
    }

    void failureLeavesNothing()
    {
        QFETCH(Errors, errors);
        QFETCH(bool, corrupt);
        QFETCH(QString, expected);
        writeRaw(target(u"x.txt"_s), "old");
        writeRaw(m_source, someBytes(3000));
        m_fs.errors = errors;
        m_fs.failAfterBytes = 1500;
        m_fs.corruptNewFiles = corrupt;

        QCOMPARE(outcome(m_fs, m_source, m_to, u"x.txt"_s), expected);
        QCOMPARE(entries(m_to), QStringList{u"x.txt"_s});
        QCOMPARE(content(target(u"x.txt"_s)), "old");
    }

    void missingFolder()
    {
        QCOMPARE(outcome(m_fs, m_source, target(u"nada"_s), u"x.txt"_s),
                 standardError(ErrorNumber::PathNotFound));
    }
};

QTEST_GUILESS_MAIN(TestCarefulCopy)
#include "tst_carefulcopy.moc"
