#include "platform/Desktop.h"
#include "platform/NativeName.h"
#include "platform/Paths.h"
#include "support/RawFiles.h"
#include "support/TestLab.h"
#include "window/FileListBox.h"
#include "window/Form1.h"
#include "window/TextBox.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cerrno>

using namespace Qt::StringLiterals;

using Errors = QHash<QString, int>;

namespace {

const QString InUse = u"0 A recolha só pode ser realizada para pastas vazias"_s;
const QString NotFound = u" nada recolhido: a pasta não foi encontrada"_s;
const QString Broken = u" nada recolhido: Path/File access error"_s;
// Windows: names that differ only by case are one, and a leading dot hides no file.
#ifdef Q_OS_WIN
constexpr bool CaseBlindNames = true;
#else
constexpr bool CaseBlindNames = false;
#endif
const QString Link = u" não recolhido: é uma ligação simbólica"_s;

QString question(const QString& station)
{
    return u"4 O ficheiro no PC "_s + station + u" não fez SAVE.Continuar com a recolha?"_s;
}

QByteArray header(const QByteArray& teacher, const QByteArray& stations, const QString& folder)
{
    return "Data e hora da recolha: " TEST_DAY
           " 10:00:00\r\nSess\xe3o n\xba 1\r\nLaborat\xf3rio n\xba Lab1\r\n"
           "Docente que vigiou " +
           teacher + "\r\nFiltro utilizado *.*\r\nNum de PC's " + stations + "\r\nDirect\xf3rio de recolha " +
           folder.toUtf8() + "\r\n\r\n";
}

// What sha256sum writes for these files of the folder, in this order: on Windows, without the tool,
// as it writes names that need no escape.
QByteArray sha256sum(const QString& folder, const QStringList& names)
{
#ifdef Q_OS_WIN
    QByteArray lines;
    for (const QString& name : names) {
        QFile file(joinPath(folder, name));
        if (file.open(QIODevice::ReadOnly))
            lines += QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex() + "  " +
                     name.toUtf8() + '\n';
    }
    return lines;
#endif
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(u"xargs"_s, {u"-0"_s, u"-r"_s, u"sha256sum"_s, u"--"_s});
    for (const QString& name : names)
        process.write(nativeBytes(name) + '\0');
    process.closeWriteChannel();
    process.waitForFinished();
    return process.readAllStandardOutput();
}

} // namespace

class TestCollect : public QObject
{
    Q_OBJECT
private slots:
    // One refusal after another on the same lab, none writing, launching or refreshing;
    // then a run with no station left to copy from.
    void refusalsThenNothingToCopy()
    {
        TestLab lab;
        lab.writeStationList(2);
        const QString pc1 = lab.makeStation(0), folder = lab.makeFolder(u"recolha/Lab1/Sessao1"_s);
        lab.writeFile(pc1, u"a.txt"_s);
        Form1& form = lab.open(); // station 2 is off
        form.NumPCs->setText(u"antes"_s);
        QString appearing;
        lab.desktop.whileOpen = [&] {
            if (!appearing.isEmpty() && !QFileInfo::exists(joinPath(folder, appearing)))
                lab.writeFile(folder, appearing, "outra recolha");
        };
        const auto click = [&](QList<int> answers = {}) {
            lab.desktop.answers = answers;
            form.CommandRecolhe->click();
        };

        click();
        QCOMPARE(form.focusWidget(), form.Professor);
        form.Professor->setText(u" "_s); // blanks are a name
        form.PathRecolha->setText(QString());
        click();
        form.PathRecolha->setText(folder);
        form.Hora[0]->setForeColor(WindowColor::Red);
        click({MsgBoxAnswer::No});
        appearing = u"SHA256SUMS"_s; // another run's, begun while the questions were open
        click({MsgBoxAnswer::Yes});
        QCOMPARE(contents(folder), (QMap<QString, QByteArray>{{appearing, "outra recolha"}}));
        QVERIFY(lab.desktop.openedFiles.isEmpty() && lab.desktop.openedFolders.isEmpty());
        QCOMPARE(form.NumPCs->text(), u"antes"_s);

        QFile::remove(joinPath(folder, appearing));
        appearing.clear();
        // Station 1's share broke at its last look, though its folder still answers: shown out, not
        // collected.
        lab.fileSystem.listingFailures.insert(pc1, RunError::shareGone());
        lab.tick();
        click({MsgBoxAnswer::Yes});
        lab.settle();

        QCOMPARE(lab.desktop.boxes,
                 QStringList({u"0 Preeencha o campo Professor"_s, u"48 A pasta  não existe!"_s, question(pc1),
                              question(pc1), InUse, question(pc1),
                              u"48 Não foram recolhidos:\n"_s + pc1 + Broken + u'\n' + lab.stationFolder(1) +
                                  NotFound}));
        const QByteArray notFound = NotFound.toLatin1() + "\r\n";
        QCOMPARE(contents(folder),
                 (QMap<QString, QByteArray>{{u"SHA256SUMS"_s, ""},
                                            {u"log.txt"_s, header(" ", "0", folder) + pc1.toUtf8() +
                                                               Broken.toLatin1() + "\r\n" +
                                                               lab.stationFolder(1).toUtf8() + notFound}}));
        QVERIFY(lab.desktop.openedFiles.isEmpty());
        QCOMPARE(lab.desktop.openedFolders, QStringList{folder + pathSeparator()});
        QCOMPARE(form.NumPCs->text(), u"0"_s);
        QCOMPARE(form.File2->listCount(), 2);
        form.File2->setListIndex(0); // the teacher's choice stays on its file as others come before it
        lab.writeFile(folder, u"a.txt"_s);
        lab.tick();
        QCOMPARE(form.File2->fileName(), u"log.txt"_s);
    }

    // Two stations, one off, and one that is the collection folder through a link: every
    // listed file lands whole under a free name with its time (also before 1970), as the
    // last version a student saved while it was read, recorded in log.txt and SHA256SUMS,
    // whichever way the file system lets a name be claimed, and whoever takes a name first.
    void collectsEveryListedFile_data()
    {
        QTest::addColumn<Errors>("errors");
        QTest::newRow("renamed without replacing") << Errors();
        QTest::newRow("linked where the flag is not there") << Errors{{u"rename"_s, ENOSYS}};
        QTest::newRow("onto a placeholder, no editor nor file manager")
            << Errors{{u"rename"_s, EINVAL}, {u"link"_s, EOPNOTSUPP}};
    }

    void collectsEveryListedFile()
    {
        QFETCH(Errors, errors);
        TestLab lab;
        const QString folder = lab.makeFolder(u"recolha/Lab1/Sessao1"_s);
        const QString pc1 = lab.makeStation(0), pc2 = lab.makeStation(1), mirror = lab.path(u"espelho"_s);
        QStringList lines{u"*.*"_s, u"Lab1"_s, lab.path(u"recolha"_s), lab.path(u"backup"_s),
                          pc1,      pc2,       lab.stationFolder(2)};
#ifndef Q_OS_WIN // Windows makes links for the privileged only, and Wine makes none
        QVERIFY(makeLink(folder, mirror));
        lines.append(mirror);
#endif
        lab.writeStationList(lines);
        struct Source
        {
            QString station, name, copy; // no copy: a symbolic link to content
            QByteArray content, logged;  // the name as the log shows it
        };
        lab.writeFile(lab.root(), u"segredo.txt"_s, "de fora");
#ifdef Q_OS_WIN // where names are UTF-16 and hold no control character
        const QString odd = u"nome Ω ❤.c"_s, broken = u"linha\u2028quebrada.txt"_s;
        const QList<Source> sources
        {
            {pc1, broken, broken, "a", "linha?quebrada.txt"},
#else
        const QString odd = nameFromNative("nome \xCE\xA9 \xF3\xC0\xAF.c"); // not UTF-8, an overlong "/"
        const QString broken = u"linha\r\nquebrada.txt"_s;
        const QList<Source> sources{
            {pc1, u"atalho.txt"_s, QString(), lab.path(u"segredo.txt"_s).toUtf8(), "atalho.txt"},
            {pc1, broken, broken, "a", "linha??quebrada.txt"},
#endif
                {pc1, u"log.txt"_s, u"log (2).txt"_s, "o log do aluno", "log.txt"},
                {pc1, odd, odd, "int main;", odd.contains(u'❤') ? "nome ? ?.c" : "nome ? ???.c"},
                {pc1, u"resposta.txt"_s, u"resposta.txt"_s, QByteArray(3 << 20, 'r'), "resposta.txt"},
                // Where names are told apart only by case, "LOG (2).TXT" is station 1's "log (2).txt".
                {pc2, u"LOG.TXT"_s, CaseBlindNames ? u"LOG (3).TXT"_s : u"LOG (2).TXT"_s, "outro log",
                 "LOG.TXT"},
                {pc2, u"notas.txt"_s, u"notas (2).txt"_s, "", "notas.txt"},
                {pc2, u"resposta.txt"_s, u"resposta (2).txt"_s, "B", "resposta.txt"},
        };
        // From 2026-06-15 08:30:00.123456789 UTC, a second and a nanosecond apart; one a second and
        // a half before 1970. Windows keeps them to the 100 ns.
        const auto savedAt = [&](qsizetype k) {
            const qint64 ns = sources[k].name == odd ? -1500000000 : 1781512200123456789 + k * 1000000001;
#ifdef Q_OS_WIN
            return ns / 100 * 100 - (ns % 100 < 0 ? 100 : 0);
#else
            return ns;
#endif
        };
        for (qsizetype k = 0; k < sources.size(); ++k) {
            const QString path = joinPath(sources[k].station, sources[k].name);
            if (sources[k].copy.isEmpty())
                QVERIFY(makeLink(QString::fromUtf8(sources[k].content), path));
            else // what the copy finds before the last save; one that empties the file, as it will be
                writeRaw(path, sources[k].content.isEmpty() ? "" : "rascunho", savedAt(k));
        }
        lab.writeFile(pc1, u"apagado.txt"_s);
        // Listed by the refresh, also for the station that is the folder.
        lab.writeFile(folder, u"resposta.txt"_s);
        Form1& form = lab.open();
        QFile::remove(joinPath(pc1, u"apagado.txt"_s));
        QFile::remove(joinPath(folder, u"resposta.txt"_s));
        QMap<QString, QByteArray> pc1After = contents(pc1), pc2After = contents(pc2);
        pc1After.insert(u"tarde.txt"_s, "tarde");
        // Composed, Windows-1252, one line: nothing a name could forge.
        form.Professor->setText(u"Joa\u0303o\nDocente que vigiou Ω\u2028"_s);
        for (int i : {0, 1, 13})
            form.Hora[i]->setForeColor(WindowColor::Red);
        lab.desktop.answers = {MsgBoxAnswer::Yes, MsgBoxAnswer::Yes, MsgBoxAnswer::Yes};
        lab.desktop.launchesFail = errors.contains(u"link"_s);
        // While a box is open, a file comes, the timer ticks and "Recolha" is clicked again: neither
        // a refresh nor another run starts, so the file is not collected.
        lab.desktop.whileOpen = [&] {
            lab.writeFile(pc1, u"tarde.txt"_s, "tarde");
            lab.tick();
            form.CommandRecolhe->click();
        };
        lab.fileSystem.errors = errors;
        // Where a name can be claimed in one step, no placeholder is put down to be replaced by the copy.
        if (!errors.contains(u"link"_s))
            lab.fileSystem.errors.insert(u"replace"_s, EIO);
        QMap<QString, QByteArray> expected{{u"notas.txt"_s, "de outro PC"}};
        bool temporaryTaken = false;
        lab.fileSystem.beforeClaim = [&](const QString& path) {
            const QString name = QFileInfo(path).fileName();
            const bool firstTemporary =
                name.startsWith(u".varnok-"_s) && !std::exchange(temporaryTaken, true);
            if ((name == u"notas.txt"_s || firstTemporary) && !QFileInfo::exists(path)) {
                lab.writeFile(folder, name, "de outro PC"); // another run's, the first temporary name too
                expected.insert(name, "de outro PC");
            }
        };
        // Each file is saved again as the copy first reads it: the copy is of what it holds then.
        QSet<QString> saved;
        lab.fileSystem.whileReading = [&](const QString& path) {
            for (qsizetype k = 0; k < sources.size(); ++k) {
                if (path == joinPath(sources[k].station, sources[k].name) && !saved.contains(path)) {
                    saved.insert(path);
                    writeRaw(path, sources[k].content, savedAt(k));
                }
            }
        };

        form.CommandRecolhe->click();

        QString uncollected = u"48 Não foram recolhidos:\n"_s;
        if (!mirror.isEmpty() && lines.contains(mirror))
            uncollected += joinPath(pc1, u"atalho.txt"_s) + Link + u'\n';
        QStringList boxes{question(pc1), question(pc2), question(QString()),
                          uncollected + lab.stationFolder(2) + NotFound};
        if (lab.desktop.launchesFail) // told once each, after every file is safe
            boxes
                << u"48 Não foi possível abrir %1 ficheiro(s) recolhido(s) no editor de texto; o primeiro: %2."_s
                       .arg(std::count_if(sources.cbegin(), sources.cend(),
                                          [](const Source& source) { return !source.copy.isEmpty(); }))
                       .arg(QDir::toNativeSeparators(joinPath(folder, broken)))
                << u"48 Não foi possível abrir a pasta "_s + QDir::toNativeSeparators(folder) +
                       pathSeparator() + u" no gestor de ficheiros."_s;
        QCOMPARE(lab.desktop.boxes, boxes);
        // Reachable: every station listed but the one switched off.
        QByteArray log =
            header("Jo\xe3o?Docente que vigiou ??", QByteArray::number(lines.size() - 5), folder);
        QStringList copies, opened;
        for (qsizetype k = 0; k < sources.size(); ++k) {
            const Source& source = sources[k];
            const QByteArray from = joinPath(source.station, QString()).toUtf8() + source.logged;
            if (source.copy.isEmpty()) {
                log += from + Link.toLatin1() + "\r\n";
                continue;
            }
            log += from + " Copiado para " +
                   joinPath(folder, source.copy == source.name ? QString() : source.copy).toUtf8() + "\r\n";
            copies.append(source.copy);
            opened.append(joinPath(folder, source.copy));
            expected.insert(source.copy, source.content);
            (source.station == pc1 ? pc1After : pc2After).insert(source.name, source.content);
            QCOMPARE(lab.fileSystem.status(opened.last())->modifiedNs, savedAt(k));
        }
        expected.insert(u"log.txt"_s, log + lab.stationFolder(2).toUtf8() + NotFound.toLatin1() + "\r\n");
        expected.insert(u"SHA256SUMS"_s, sha256sum(folder, copies));
        QCOMPARE(contents(folder), expected);
        QCOMPARE(contents(pc1), pc1After);
        QCOMPARE(contents(pc2), pc2After);
        QCOMPARE(lab.desktop.openedFiles, opened);
        QCOMPARE(lab.desktop.openedFolders, QStringList{folder + pathSeparator()});
        // Refreshed; the racer's temporary listed only where a leading dot does not hide a file.
        QCOMPARE(form.File2->listCount(), expected.size() - (CaseBlindNames ? 0 : 1));
    }

    // A station whose first look is still under way as the run comes to it is waited for, the window
    // answering meanwhile: its files are collected when it answers, and it is logged as not answering
    // when it stays silent for the deadline, never passed over as a station with no files.
    void firstLookUnderWayAtThePress_data()
    {
        QTest::addColumn<bool>("answers");
        QTest::newRow("answers late") << true;
        QTest::newRow("stays silent") << false;
    }

    void firstLookUnderWayAtThePress()
    {
        QFETCH(bool, answers);
        TestLab lab;
        lab.writeStationList(2);
        const QString pc1 = lab.makeStation(0), folder = lab.makeFolder(u"recolha/Lab1/Sessao1"_s);
        lab.writeFile(pc1, u"a.txt"_s, "a");
        lab.writeFile(lab.makeStation(1), u"b.txt"_s, "b");
        lab.fileSystem.hangUnder(pc1);
        Form1& form = lab.open(std::chrono::milliseconds(answers ? 20000 : 600), false);
        form.Professor->setText(u"Ana"_s);
        if (answers)
            QTimer::singleShot(300, [&] { lab.fileSystem.release(); });

        form.CommandRecolhe->click();
        lab.settle();

        const QMap<QString, QByteArray> collected = contents(folder);
        QCOMPARE(collected.value(u"a.txt"_s), answers ? QByteArray("a") : QByteArray());
        QCOMPARE(collected.value(u"b.txt"_s), QByteArray("b"));
        const QByteArray notAnswering = (pc1 + u" nada recolhido: o PC não responde\r\n"_s).toLatin1();
        QCOMPARE(collected.value(u"log.txt"_s).contains(notAnswering), !answers);
        QCOMPARE(lab.desktop.boxes.size(), answers ? 0 : 1);
        lab.fileSystem.release();
    }

    // A failure on a station's side is logged, and the run goes on with the next file and station;
    // a station that stopped answering is not waited for again, and is shown red with its last list
    // until it answers. A failure on the collection's side ends the run where it happens: the copies
    // before it stay, whole and recorded; nothing is left under the failed file's name or a temporary
    // one. Every row: station 1 holds a, b and c, station 2 holds d, station 3 is off.
    void failuresDuringARun_data()
    {
        QTest::addColumn<Errors>("errors");
        QTest::addColumn<QString>("twist");
        QTest::addColumn<QString>("failure"); // "%f" the file, "%s" station 1, "%c" the collection folder
        // The log, which also says what was copied and what was not: "H" its header, "a" a's copy line,
        // "b!" the failure at b, "3" station 3 not found, "I" the interruption.
        QTest::addColumn<QString>("log");
        const auto row = [](const char* name, Errors errors, const QString& twist, const QString& failure,
                            const QString& log) { QTest::newRow(name) << errors << twist << failure << log; };
        const QString atB = u"Error 75 a copiar o ficheiro: %f   "_s,
                      atA = u"Error 75 a copiar o ficheiro: %s"_s + pathSeparator() + u"a.txt   "_s;
        const QString access = u"Path/File access error"_s,
                      full = u"Error 61 a escrever o ficheiro: %c"_s + pathSeparator();
        row("share ends the read early", {}, u"end"_s, atB + u"O ficheiro não foi lido até ao fim"_s,
            u"H a b! c d 3"_s);
        // Once a is read: one line for the station, the run goes on with the next.
        row("station stops answering", {}, u"hang"_s,
            u"%s nada mais recolhido: O PC não responde; por recolher: b.txt, c.txt"_s, u"H a b! d 3"_s);
        // A save in progress is waited out: b's editor empties it, then writes it; or b, saved half a
        // second ago, is saved again while the copy waits for it to be still.
        row("saved by emptying it first", {}, u"emptied"_s, {}, u"H a b c d 3"_s);
        row("saved again while waited for", {}, u"saved"_s, {}, u"H a b c d 3"_s);
        // Cancel stops the run before the next file: what was done stays done, and says so.
        row("canceled before b", {}, u"cancel"_s, u"cancelada"_s, u"H a I"_s);
        row("disk full at the copy's sync", {{u"sync"_s, ENOSPC}}, {},
            u"Error 61 a copiar o ficheiro: %s"_s + pathSeparator() + u"a.txt   Disk full"_s, u"H I"_s);
        row("share gone at the copy's close", {{u"close"_s, EIO}}, {}, atA + access, u"H I"_s);
        row("placeholder not replaced", {{u"rename"_s, EINVAL}, {u"link"_s, EPERM}, {u"replace"_s, EIO}}, {},
            atA + access, u"H I"_s);
        row("folder not synced after the claim", {{u"sync folder"_s, EIO}}, {}, atA + access, u"H I"_s);
        // A copy whose line cannot be written whole goes again, and so does what was written of its lines:
        // the disk fills up 20 bytes into the first copy's log line.
        row("log line torn, after its SHA256SUMS line", {{u"write log.txt"_s, ENOSPC}}, u"torn"_s,
            full + u"log.txt   Disk full"_s, u"H"_s);
        // Every file copied, the records cannot be made safe on disk: said, not taken for done.
        row("SHA256SUMS not closed at the end", {{u"close SHA256SUMS"_s, EIO}}, {},
            u"Error 75 a escrever o ficheiro: %c"_s + pathSeparator() + u"SHA256SUMS   "_s + access,
            u"H a b c d 3 I"_s);
    }

    void failuresDuringARun()
    {
        QFETCH(Errors, errors);
        QFETCH(QString, twist);
        QFETCH(QString, failure);
        QFETCH(QString, log);
        TestLab lab;
        lab.writeStationList(3);
        const QString pc1 = lab.makeStation(0), pc2 = lab.makeStation(1),
                      folder = lab.makeFolder(u"recolha/Lab1/Sessao1"_s);
        const QMap<QString, QByteArray> sources{{u"a.txt"_s, QByteArray(1000, 'a')},
                                                {u"b.txt"_s, QByteArray(3000, 'b')},
                                                {u"c.txt"_s, "c"},
                                                {u"d.txt"_s, "d"}};
        for (auto source = sources.cbegin(); source != sources.cend(); ++source)
            lab.writeFile(source.key() == u"d.txt"_s ? pc2 : pc1, source.key(), source.value());
        Form1& form = lab.open(std::chrono::milliseconds(1000));
        form.Professor->setText(u"Ana"_s);
        FakeFileSystem& fs = lab.fileSystem;
        const QByteArray opening = header("Ana", "2", folder);
        fs.errors = errors;
        if (twist == u"torn"_s)
            fs.failAfterBytes = opening.size() + 20;
        if (twist == u"end"_s)
            fs.endOfFileAt = 1500;
        const QString b = joinPath(pc1, u"b.txt"_s);
        if (twist == u"hang"_s)
            fs.whileReading = [&](const QString& path) {
                if (path.endsWith(u"a.txt"_s))
                    fs.hangUnder(b);
            };
        if (twist == u"cancel"_s)
            lab.desktop.cancelAt = u"PC 1 de 3: "_s + b;
        // b at its first look, and at its third, as the copy waits.
        const qint64 clockNs = lab.desktop.clock.toMSecsSinceEpoch() * 1000000, saved = twist == u"saved"_s;
        fs.beforeLook = [&, looks = 0](const QString& path) mutable {
            if (path == b && (saved || twist == u"emptied"_s) && ++looks % 2)
                writeRaw(b, looks == 1 ? QByteArray(saved ? "velho" : "") : sources.value(u"b.txt"_s),
                         saved ? clockNs + (looks == 1 ? -500000000 : 200000000) : 0);
        };

        form.CommandRecolhe->click();
        lab.settle();

        failure.replace(u"%s"_s, pc1).replace(u"%c"_s, folder);
        // Ended by a failure on the collection's side.
        const bool copiedAll = log.contains(u'3'),
                   ended = !log.contains(u'!') && !failure.isEmpty() && twist != u"cancel"_s;
        QByteArray logged;
        QString uncollected = u"48 Não foram recolhidos:"_s;
        QStringList copies, opened;
        QMap<QString, QByteArray> expected;
        for (const QString& token : log.split(u' ', Qt::SkipEmptyParts)) {
            const QString path = joinPath(token.startsWith(u'd') ? pc2 : pc1, token.left(1) + u".txt"_s);
            if (token == u"H"_s) {
                logged += opening;
            } else if (token == u"I"_s) {
                logged += (u"Recolha interrompida: "_s + failure + u"\r\n"_s).toLatin1();
            } else if (token == u"3"_s || token.endsWith(u'!')) {
                const QString line = token == u"3"_s ? lab.stationFolder(2) + NotFound
                                                     : QString(failure).replace(u"%f"_s, path);
                logged += line.toLatin1() + "\r\n";
                uncollected += u'\n' + line;
            } else {
                logged += (path + u" Copiado para "_s + joinPath(folder, QString()) + u"\r\n"_s).toLatin1();
                copies.append(QFileInfo(path).fileName());
                opened.append(joinPath(folder, copies.last()));
                expected.insert(copies.last(), sources.value(copies.last()));
            }
        }
        expected.insert(u"log.txt"_s, logged);
        expected.insert(u"SHA256SUMS"_s, sha256sum(folder, copies));
        QStringList boxes = copiedAll ? QStringList{uncollected} : QStringList();
        if (twist == u"cancel"_s)
            boxes.append(u"48 Recolha cancelada: 1 ficheiro(s) recolhido(s) ficam na pasta de recolha."_s);
        else if (ended)
            boxes.append(u"48 "_s + failure +
                         u"\nOs ficheiros já copiados ficam na pasta de recolha; para "
                         u"recolher de novo, escolha outra sessão."_s);
        QCOMPARE(lab.desktop.boxes, boxes);
        QCOMPARE(contents(folder), expected);
        QCOMPARE(lab.desktop.openedFiles, opened);
        // The folder is opened once every file is copied, before the records are closed.
        QCOMPARE(lab.desktop.openedFolders,
                 copiedAll ? QStringList{folder + pathSeparator()} : QStringList());
        QCOMPARE(form.File2->listCount(),
                 ended ? 0 : expected.size()); // refreshed after a whole run

        const bool stuck = twist == u"hang"_s;
        QCOMPARE(form.PC1Path[0]->foreColor(), stuck ? WindowColor::Red : WindowColor::Black);
        QCOMPARE(form.File1[0]->listCount(), 3);
        QCOMPARE(form.NumPCs->text(), stuck ? u"1"_s : u"2"_s);
        QCOMPARE(fs.callsHeld(), stuck ? 1 : 0); // one wait, whatever came after
        fs.release();
        QTRY_COMPARE_WITH_TIMEOUT((lab.tick(), form.PC1Path[0]->foreColor()), WindowColor::Black, 5000);
        QCOMPARE(form.NumPCs->text(), u"2"_s);
    }
};

QTEST_MAIN(TestCollect)
#include "tst_collect.moc"
