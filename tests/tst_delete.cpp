#include "support/RawFiles.h"
#include "platform/Paths.h"
#include "support/TestLab.h"
#include "window/Form1.h"

#include <QPushButton>
#include <QCryptographicHash>
#include <QRegularExpression>
#include <QTest>

#include <cerrno>
#include <filesystem>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 Stamp = 1761442215000000000; // every file's modification time, in ns
const QString Date = QStringLiteral("Data e hora do backup: " TEST_DAY " 10:00:00|");
const QHash<QChar, QString> Reasons{{u'a', u"foi alterado durante o Backup!"_s},
                                    {u'b', u"não se consegui fazer o Backup!"_s},
                                    {u'l', u"é uma ligação simbólica!"_s},
                                    {u'r', u"não consta do registo do Backup!"_s}};

QString notDeleted(const QString& path, QChar reason)
{
    return u"O ficheiro: @/%1  não foi apagado porque %2"_s.arg(path, Reasons.value(reason));
}

// The record of a run: its date, then for each file, separated by "; ", "from" or "from>to" when
// backed up as "to" and moved aside to be deleted, "+from" backed up and kept, "-from:r" kept
// for reason r.
QString record(const QString& files = {})
{
    QString text = Date;
    for (const QString& file : files.split(u"; "_s, Qt::SkipEmptyParts)) {
        if (file.startsWith(u'-')) {
            text += notDeleted(file.mid(1).chopped(2), file.back()) + u'|';
            continue;
        }
        const QString from = file.section(u'>', 0, 0).remove(u'+'), to = file.section(u'>', 1);
        const QString backup = u"@/backup/"_s + (to.isEmpty() ? from.section(u'/', -1) : to);
        text += u"@/%1 Copiado para %2|"_s.arg(from, backup);
        if (!file.startsWith(u'+'))
            text += u"A apagar @/%1: movido para .varnok-* (cópia %2, SHA-256 *)|"_s.arg(from, backup);
    }
    return text;
}

// The boxes of the files a record says were kept, in its order.
QStringList keptBoxes(const QString& record)
{
    static const QRegularExpression kept(u"^(?=O ficheiro: )"_s);
    return record.split(u'|').filter(kept).replaceInStrings(kept, u"48 "_s);
}

// The entries of a folder picture, "path=content, path=content": a record's lines hold ", " too.
const QRegularExpression Entries(u", (?!SHA-256|copiado)"_s);

// The names of hidden files and the digests, which vary from run to run.
QString masked(QString text)
{
    static const QRegularExpression hidden(u"\\.varnok-[A-Za-z0-9]{12}"_s), digest(u"SHA-256 [0-9a-f]{64}"_s);
    // The rows write paths with "/", whatever separator the program joins them with here.
    return text.replace(pathSeparator(), u"/"_s)
        .replace(hidden, u".varnok-*"_s)
        .replace(digest, u"SHA-256 *"_s);
}

// "|" stands for CR LF.
void writeStamped(const QString& path, const QString& content)
{
    writeRaw(path, QString(content).replace(u'|', u"\r\n"_s).toLatin1(), Stamp);
}

// Every entry under the lab but pcs.txt: "path=content" (":ro" when read-only), "folder/" when empty,
// "link->".
QStringList picture(const QString& root)
{
    QStringList entries;
    for (const auto& [name, content] : contents(root).asKeyValueRange()) {
        const QFileInfo info(root + u'/' + name);
        QString text = QString::fromLatin1(content).replace(u"\r\n"_s, u"|"_s);
        if (info.isSymLink()) {
            entries.append(name + u"->"_s);
        } else if (name.endsWith(u'/')) {
            entries.append(name);
        } else if (name != u"pcs.txt"_s) {
            if (!info.permission(QFile::WriteOwner))
                text += u":ro"_s;
            entries.append(masked(name + u'=' + text));
        }
    }
    return entries;
}

} // namespace

class TestDelete : public QObject
{
    Q_OBJECT
private slots:
    void emptiesStationsIntoBackup_data();
    void emptiesStationsIntoBackup();
};

// Station 2's path is empty and stations without files have no folder. "@" is the lab.
void TestDelete::emptiesStationsIntoBackup_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("prompts"); // after the confirmation and the files kept: "style text"
    const QString one = u"pc01/exame.txt=um, backup/"_s;
    const QString changed = u"pc01/exame.txt=um, backup/exame.txt=um, backup/backup-log.txt="_s +
                            record(u"+pc01/exame.txt; -pc01/exame.txt:a"_s);

    // Return, pressed by habit, says No.
    QTest::newRow("Return on the question") << one << u"Return"_s << one << QString();
    QTest::newRow("backup folder missing") << u"pc01/exame.txt=um"_s << QString() << u"pc01/exame.txt=um"_s
                                           << u"48 Pasta de Backup @/backup não existe!"_s;
    QTest::newRow("one name on two stations and in the backup")
        << u"pc01/exame.txt=um, pc01/.oculto=oc, pc01/notas.doc=nd, pc01/sub/x.txt=sx, pc02/exame.txt=dois, "
           "pc02/relatório.txt=r, pc02/backup-log.txt=bl, pc04/vazia/, backup/exame.txt=velho, "
           "backup/backup-log.txt=antes|"_s
        << QString()
        << u"pc01/sub/x.txt=sx, pc02/, pc04/vazia/, backup/exame.txt=velho, backup/exame (2).txt=um, "
           "backup/.oculto=oc, backup/notas.doc=nd, backup/exame (3).txt=dois, backup/relatório.txt=r, "
           "backup/backup-log (2).txt=bl, backup/backup-log.txt=antes|"_s +
               record(
                   u"pc01/.oculto; pc01/exame.txt>exame (2).txt; pc01/notas.doc; "
                   "pc02/backup-log.txt>backup-log (2).txt; pc02/exame.txt>exame (3).txt; pc02/relatório.txt"_s)
        << QString();
    QTest::newRow("read-only file on station 3")
        << u"pc01/a.txt=1, pc02/b.txt=2, pc04/c.txt=3, pc04/d.txt=4:ro, pc04/e.txt=5, pc05/f.txt=6, "
           "pc14/g.txt=7, backup/"_s
        << QString()
        << u"pc01/, pc02/, pc04/d.txt=4:ro, pc04/e.txt=5, pc05/f.txt=6, pc14/g.txt=7, backup/a.txt=1, "
           "backup/b.txt=2, backup/c.txt=3, backup/d.txt=4, backup/backup-log.txt="_s +
               record(u"pc01/a.txt; pc02/b.txt; pc04/c.txt; +pc04/d.txt"_s) +
               u"Apaga Originais interrompido: Error 70 a apagar o ficheiro: @/pc04/d.txt   Permission denied|"_s
        << u"0 Error 70 a apagar o ficheiro: @/pc04/d.txt   Permission denied"_s;
    // Another program holds each file moved aside for a moment; one holds it for good: it gets its name
    // back and ends the run.
    QTest::newRow("busy for a moment")
        << one << u"busy 3 3"_s
        << u"pc01/, backup/exame.txt=um, backup/backup-log.txt="_s + record(u"pc01/exame.txt"_s) << QString();
    QTest::newRow("busy for good")
        << u"pc01/a.txt=1, pc01/b.txt=2, backup/"_s << u"busy 99 0"_s
        << u"pc01/a.txt=1, pc01/b.txt=2, backup/a.txt=1, backup/backup-log.txt="_s + record(u"pc01/a.txt"_s) +
               u"Apaga Originais interrompido: Error 70 a apagar o ficheiro: @/pc01/a.txt   O ficheiro está em uso|"_s
        << u"0 Error 70 a apagar o ficheiro: @/pc01/a.txt   O ficheiro está em uso"_s;
    // What stopped runs left under hidden names: a's backup is whole, so a goes; b's moved file is not its
    // backup, and e's backup is gone, so they get their names back and go through the run; c is in no
    // record; d's is the empty file that was to take the hidden name, d itself is still there.
    const QString sha =
        QString::fromLatin1(QCryptographicHash::hash("um", QCryptographicHash::Sha256).toHex());
    QString stopped;
    for (const QChar hidden : u"ABDE"_s)
        stopped +=
            u"A apagar @/pc01%4%2.txt: movido para .varnok-%1 (cópia @/backup%4%2.txt, SHA-256 %3)|"_s.arg(
                QString(12, hidden), hidden.toLower(), sha, pathSeparator());
    QTest::newRow("hidden files of stopped runs")
        << u"pc01/.varnok-AAAAAAAAAAAA=um, pc01/.varnok-BBBBBBBBBBBB=dois, pc01/.varnok-CCCCCCCCCCCC=tres, "
           "pc01/.varnok-DDDDDDDDDDDD=, pc01/d.txt=um, pc01/.varnok-EEEEEEEEEEEE=um, backup/a.txt=um, "
           "backup/b.txt=um, backup/backup-log.txt="_s +
               stopped
        << QString()
        << u"pc01/.varnok-CCCCCCCCCCCC=tres, backup/a.txt=um, backup/b.txt=um, backup/b (2).txt=dois, "
           "backup/d.txt=um, backup/e.txt=um, backup/backup-log.txt="_s +
               stopped + Date +
               u"Apagado @/pc01/.varnok-AAAAAAAAAAAA: era @/pc01/a.txt, copiado para @/backup/a.txt|"_s
               u"Reposto @/pc01/.varnok-BBBBBBBBBBBB como @/pc01/b.txt|"_s +
               notDeleted(u"pc01/.varnok-CCCCCCCCCCCC"_s, u'r') +
               u"|Apagado @/pc01/.varnok-DDDDDDDDDDDD: vazio|Reposto @/pc01/.varnok-EEEEEEEEEEEE como @/pc01/e.txt|"_s +
               record(u"pc01/b.txt>b (2).txt; pc01/d.txt; pc01/e.txt"_s).mid(Date.size())
        << QString();
    QTest::newRow("backup does not verify") << u"pc01/a.txt=um, pc02/b.txt=dois, backup/"_s << u"corrupt"_s
                                            << u"pc01/a.txt=um, pc02/b.txt=dois, backup/backup-log.txt="_s +
                                                   record(u"-pc01/a.txt:b; -pc02/b.txt:b"_s)
                                            << QString();
    QTest::newRow("canceled before the third file")
        << u"pc01/a.txt=1, pc01/b.txt=2, pc01/c.txt=3, pc02/d.txt=4, backup/"_s << u"cancel"_s
        << u"pc01/c.txt=3, pc02/d.txt=4, backup/a.txt=1, backup/b.txt=2, backup/backup-log.txt="_s +
               record(u"pc01/a.txt; pc01/b.txt"_s) + u"Apaga Originais interrompido: cancelado|"_s
        << u"48 Apaga Originais cancelado: 2 ficheiro(s) apagado(s); os restantes ficam nos PCs."_s;
    QTest::newRow("record cannot be written")
        << one << u"record write"_s
        << u"pc01/exame.txt=um, backup/exame.txt=um, backup/backup-log.txt="_s + record()
        << u"0 Error 61 a escrever o ficheiro: @/backup/backup-log.txt   Disk full"_s;
    QTest::newRow("record not made safe on disk")
        << one << u"record sync"_s << u"pc01/exame.txt=um, backup/backup-log.txt="_s + record()
        << u"0 Error 61 a escrever o ficheiro: @/backup/backup-log.txt   Disk full"_s;
    QTest::newRow("changed by status time") << one << u"changed"_s << changed << QString();
    QTest::newRow("replaced by a new file") << one << u"replaced"_s << changed << QString();
    QTest::newRow("whole seconds, changed in content alone")
        << one << u"whole-second content"_s
        << u"pc01/exame.txt=UM, backup/exame.txt=um, backup/backup-log.txt="_s +
               record(u"pc01/exame.txt; -pc01/exame.txt:a"_s)
        << QString();
    // One file not deleted, the next on the station still is.
    QTest::newRow("rewritten at every read")
        << u"pc01/exame.txt=um, pc01/z.txt=z, backup/"_s << u"rewrite"_s
        << u"pc01/exame.txt=umxxxxxx, backup/z.txt=z, backup/backup-log.txt="_s +
               record(u"-pc01/exame.txt:a; pc01/z.txt"_s)
        << QString();
    // A save by rename as the file is deleted: the new file stays, the one backed up goes.
    QTest::newRow("saved as a file is deleted, where rename refuses the flag")
        << one << u"save at removal"_s
        << u"pc01/exame.txt=novo, backup/exame.txt=um, backup/backup-log.txt="_s + record(u"pc01/exame.txt"_s)
        << QString();
#ifndef Q_OS_WIN // Windows makes links for the privileged only, and Wine makes none
    QTest::newRow("symbolic links stay, the rest goes")
        << u"pc01/atalho.txt->../segredo.txt, pc01/ciclo->ciclo, pc01/pasta->../alvo, pc01/z.txt=z, "
           "segredo.txt=s, alvo/x.txt=x, backup/"_s
        << QString()
        << u"pc01/atalho.txt->, pc01/ciclo->, pc01/pasta->, segredo.txt=s, alvo/x.txt=x, backup/z.txt=z, "
           "backup/backup-log.txt="_s +
               record(u"-pc01/atalho.txt:l; -pc01/ciclo:l; -pc01/pasta:l; pc01/z.txt"_s)
        << QString();
    QTest::newRow("collection and backup folders as stations through links")
        << u"pc01/a.txt=um, recolha/Lab1/Sessao1/log.txt=l, pc05->recolha/Lab1/Sessao1, pc06->backup, "
           "pc07/b.txt=dois, backup/old.txt=v"_s
        << QString()
        << u"pc01/, pc05->, pc06->, pc07/, recolha/Lab1/Sessao1/log.txt=l, backup/old.txt=v, "
           "backup/a.txt=um, backup/b.txt=dois, backup/backup-log.txt="_s +
               record(u"pc01/a.txt; pc07/b.txt"_s)
        << u"48 A pasta @/pc05 é a pasta de recolha: os ficheiros não foram apagados., "
           "48 A pasta @/pc06 é a pasta de Backup: os ficheiros não foram apagados."_s;
#endif
}

void TestDelete::emptiesStationsIntoBackup()
{
    QFETCH(QString, before);
    QFETCH(QString, fault);
    QFETCH(QString, after);
    QFETCH(QString, prompts);
    TestLab lab;
    const QString root = lab.root();
    // "@/" in a record's lines, which the program reads, joins as the program does.
    for (const QString& item :
         before.replace(u"@/"_s, root + pathSeparator()).replace(u'@', root).split(Entries)) {
        const QString path = root + u'/' + item.section(u'=', 0, 0).section(u"->"_s, 0, 0);
        QDir().mkpath(QFileInfo(path).path());
        if (item.contains(u"->"_s)) {
            QVERIFY(makeLink(item.section(u"->"_s, 1), path));
        } else if (item.contains(u'=')) {
            const bool readOnly = item.endsWith(u":ro"_s);
            writeStamped(path, item.mid(item.indexOf(u'=') + 1).chopped(readOnly ? 3 : 0));
            if (readOnly)
                QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        }
    }
    QStringList lines{u"*.txt"_s, u"Lab1"_s, lab.path(u"recolha"_s), lab.path(u"backup"_s)};
    for (int i = 0; i < StationCount; ++i)
        lines.append(i == 2 ? QString() : lab.stationFolder(i));
    lab.writeStationList(lines);

    lab.desktop.answers = {fault == u"Return"_s ? FakeDesktop::Return : MsgBoxAnswer::Yes};
    Form1& form = lab.open();
    FakeFileSystem& fs = lab.fileSystem;
    const QString original = joinPath(lab.stationFolder(0), u"exame.txt"_s);
    if (fault.startsWith(u"busy"_s)) {
        fs.busyRemovals = fault.section(u' ', 1, 1).toInt(), fs.busyMoves = fault.section(u' ', 2).toInt();
    } else if (fault == u"cancel"_s) {
        lab.desktop.cancelAt = u"PC 1 de 13: "_s + joinPath(lab.stationFolder(0), u"c.txt"_s);
    } else if (fault == u"corrupt"_s) {
        fs.corruptNewFiles = true;
    } else if (fault.startsWith(u"record"_s)) { // its write or its sync fails
        fs.errors.insert(fault.section(u' ', 1) + u" backup-log.txt"_s, ENOSPC);
        fs.failAfterBytes = Date.size() + 1; // a write lets the date line, with its CR LF, through
    } else if (fault == u"rewrite"_s) {
        fs.whileReading = [&, content = u"um"_s](const QString& path) mutable {
            if (path == original)
                writeStamped(original, content += u'x');
        };
    } else if (!fault.isEmpty() && fault != u"Return"_s) {
        // The original changes once: as its backup takes its name, or as it is removed where rename refuses
        // the flag.
        auto change = [&, done = false]() mutable {
            if (std::exchange(done, true))
                return;
            if (fault == u"whole-second content"_s) {
                writeStamped(original, u"UM"_s);
            } else if (fault == u"changed"_s) {
                ++fs.statusTimes[original].second;
            } else {
                writeStamped(lab.path(u"novo"_s), fault == u"replaced"_s ? u"um"_s : u"novo"_s);
                // As an editor saves: over the old name, which Windows's C runtime will not replace.
                std::filesystem::rename(lab.path(u"novo"_s).toStdU16String(), original.toStdU16String());
            }
        };
        if (!fault.startsWith(u"save"_s))
            fs.statusTimes.insert(original,
                                  {Stamp, fault.startsWith(u"whole-second"_s) ? Stamp : Stamp + 123});
        if (fault == u"save at removal"_s) {
            fs.errors.insert(u"rename"_s, EINVAL);
            fs.beforeRemove = [=, station = lab.stationFolder(0)](const QString& path) mutable {
                if (path.startsWith(station))
                    change();
            };
        } else {
            fs.beforeClaim = [=](const QString& path) mutable {
                if (!path.contains(pathSeparator() + u".varnok-"_s))
                    change();
            };
        }
    }

    form.CommandApaga->click();

    const QStringList expectedPrompts =
        QStringList{u"276 PERIGO - Pretende Apagar todas os ficheiros nos computadores dos alunos?"_s} +
        keptBoxes(after.section(u"backup-log.txt="_s, 1)) + prompts.split(u", "_s, Qt::SkipEmptyParts);
    QCOMPARE(masked(lab.desktop.boxes.join(u'\n')), masked(expectedPrompts.join(u'\n').replace(u'@', root)));
    QStringList expected = masked(after.replace(u'@', root)).split(Entries);
    expected.sort();
    QCOMPARE(picture(root), expected); // in the order of its paths
}

QTEST_MAIN(TestDelete)
#include "tst_delete.moc"
