// Times "Recolha" on the main window as main.cpp builds it (real file system, start-up
// from pcs.txt, window shown) against cp of the same files into an empty folder, then
// sync, then sha256sum of the copies: a copy that is on disk and whose digest is known.
// Program and reference alternate, each into a new empty folder.
//
//   varnok_bench_collect LAB [--pairs N] [--tag NAME]
//
// The desktop is the benchmark's own: it answers Yes and starts no program.
#include "BenchTiming.h"

#include "app/EventTable.h"
#include "platform/Desktop.h"
#include "app/WindowFileSystem.h"
#include "monitor/StationLooks.h"
#include "platform/QtDesktop.h"
#include "setup/Startup.h"
#include "window/FileListBox.h"
#include "window/Form1.h"
#include "window/TextBox.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <sys/resource.h>
#include <unistd.h>

namespace {

struct Options
{
    std::string lab;
    int pairs = 5;
    std::string tag = "collect";
};

[[noreturn]] void usage()
{
    std::fprintf(stderr, "usage: varnok_bench_collect LAB [--pairs N] [--tag NAME]\n");
    std::exit(2);
}

Options parseOptions(int argc, char* argv[])
{
    if (argc < 2)
        usage();
    Options options;
    options.lab = argv[1];
    for (int k = 2; k < argc; ++k) {
        const std::string word = argv[k];
        if (word == "--pairs" && k + 1 < argc)
            options.pairs = std::max(1, std::atoi(argv[++k]));
        else if (word == "--tag" && k + 1 < argc)
            options.tag = argv[++k];
        else
            usage();
    }
    return options;
}

// Answers Yes to the save questions, keeps every other box for the end, and starts nothing.
class BenchDesktop : public Desktop
{
public:
    int messageBox(const QString& prompt, int style) override
    {
        if (style == MsgBoxStyle::YesNo)
            return MsgBoxAnswer::Yes;
        unexpected.append(prompt);
        return MsgBoxAnswer::Ok;
    }
    bool openFolder(const QString&) override
    {
        ++folders;
        return true;
    }
    bool openInTextEditor(const QString&) override
    {
        ++files;
        return true;
    }
    QDateTime now() override { return QDateTime::currentDateTimeUtc(); }
    // The program's own progress dialog: its updates are part of the run.
    std::unique_ptr<RunProgress> startProgress(const QString& title) override
    {
        return m_qt.startProgress(title);
    }

    QtDesktop m_qt;
    QStringList unexpected;
    int folders = 0;
    int files = 0;
};

double childrenCpuMs()
{
    rusage usage;
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_utime.tv_sec * 1e3 + usage.ru_utime.tv_usec / 1e3 + usage.ru_stime.tv_sec * 1e3 +
           usage.ru_stime.tv_usec / 1e3;
}

void run(const QString& program, const QStringList& arguments, const QString& folder = {})
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        throw std::runtime_error(qPrintable(program + QStringLiteral(" failed")));
}

// The files the window lists, by path.
QStringList listedFiles(Form1& form)
{
    QStringList files;
    for (int i = 0; i < StationCount; ++i) {
        for (int k = 0; k < form.File1[i]->listCount(); ++k)
            files.append(form.PC1Path[i]->text() + QLatin1Char('/') + form.File1[i]->list(k));
    }
    return files;
}

// cp, sync and sha256sum, as one would copy and prove the same files by hand.
Sample reference(const QStringList& sources, const QString& folder)
{
    QDir().mkpath(folder);
    const double childrenBefore = childrenCpuMs();
    Sample sample = measure([&] {
        run(QStringLiteral("cp"), QStringList{QStringLiteral("--")} + sources + QStringList{folder});
        run(QStringLiteral("sync"), {});
        QStringList copies{QStringLiteral("--")};
        for (const QString& source : sources)
            copies.append(source.mid(source.lastIndexOf(QLatin1Char('/')) + 1));
        run(QStringLiteral("sha256sum"), copies, folder);
    });
    sample.cpuMs += childrenCpuMs() - childrenBefore;
    return sample;
}

Sample collect(Form1& form, BenchDesktop& desktop, const QString& root, int session, int files)
{
    const QString folder = root + QStringLiteral("/Sessao") + QString::number(session);
    QDir().mkpath(folder);
    form.NumSessao->setText(QString::number(session)); // the collection folder follows
    const int opened = desktop.files;
    const Sample sample = measure([&] {
        form.CommandRecolhe->click();
        settleUntil([&form] { return StationLooks::of(form).settled(); }); // the refresh that ends it
    });
    if (!desktop.unexpected.isEmpty())
        throw std::runtime_error(qPrintable(QStringLiteral("a message: ") + desktop.unexpected.join(u'\n')));
    if (desktop.files - opened != files || form.File2->listCount() != files + 2)
        throw std::runtime_error("the collection did not copy every listed file");
    return sample;
}

void removeFolder(const QString& folder)
{
    QDir(folder).removeRecursively();
    ::sync(); // the removal's writes stay out of the next measurement
}

int compare(const Options& options, Form1& form, BenchDesktop& desktop)
{
    const QStringList sources = listedFiles(form);
    if (sources.isEmpty())
        throw std::runtime_error("the stations list no file");
    const QString root = QDir(form.BaseRecolha).filePath(form.Laboratorio->text());
    const QString referenceFolder = root + QStringLiteral("/cp");
    int session = 100;

    // Both meet the stations' files in the cache.
    removeFolder(root + QStringLiteral("/Sessao") + QString::number(session));
    collect(form, desktop, root, session, int(sources.size()));
    removeFolder(root + QStringLiteral("/Sessao") + QString::number(session));
    reference(sources, referenceFolder);
    removeFolder(referenceFolder);

    std::vector<double> programWall, programCpu, referenceWall, referenceCpu;
    for (int pair = 1; pair <= options.pairs; ++pair) {
        const QString folder = root + QStringLiteral("/Sessao") + QString::number(++session);
        const Sample program = collect(form, desktop, root, session, int(sources.size()));
        if (pair == options.pairs)
            run(QStringLiteral("sha256sum"),
                {QStringLiteral("-c"), QStringLiteral("--quiet"), QStringLiteral("SHA256SUMS")}, folder);
        removeFolder(folder);
        const Sample copied = reference(sources, referenceFolder);
        removeFolder(referenceFolder);

        programWall.push_back(program.wallMs);
        programCpu.push_back(program.cpuMs);
        referenceWall.push_back(copied.wallMs);
        referenceCpu.push_back(copied.cpuMs);
        std::printf("pair %s %d program cpu_ms=%.3f wall_ms=%.3f reference cpu_ms=%.3f wall_ms=%.3f\n",
                    options.tag.c_str(), pair, program.cpuMs, program.wallMs, copied.cpuMs, copied.wallMs);
        std::fflush(stdout);
    }
    std::printf("files %s collected=%lld\n", options.tag.c_str(), static_cast<long long>(sources.size()));
    std::printf("median %s program_cpu_ms=%.3f program_wall_ms=%.3f reference_cpu_ms=%.3f "
                "reference_wall_ms=%.3f pairs=%d\n",
                options.tag.c_str(), median(programCpu), median(programWall), median(referenceCpu),
                median(referenceWall), options.pairs);
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    const Options options = parseOptions(argc, argv);
    if (::chdir(options.lab.c_str()) != 0) {
        std::fprintf(stderr, "varnok_bench_collect: cannot enter %s: %s\n", options.lab.c_str(),
                     std::strerror(errno));
        return 1;
    }
    try {
        QApplication app(argc, argv);
        QApplication::setApplicationName(QStringLiteral("Varnok"));
        // The figures are read back by a script: a decimal point whatever the locale.
        std::setlocale(LC_NUMERIC, "C");

        WindowFileSystem fileSystem;
        BenchDesktop desktop;
        Form1 form(fileSystem.fileSystem(), fileSystem.stationCalls(), desktop);
        fileSystem.attach(form);
        connectEvents(form);
        if (!runStartup(form))
            return 1;
        // The ten-second refresh would land inside a measured run.
        form.Timer1->stop();
        form.Professor->setText(QStringLiteral("Benchmark"));
        form.show();
        waitUntilExposed(form);
        settleUntil([&form] { return StationLooks::of(form).settled(); });
        return compare(options, form, desktop);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "varnok_bench_collect: %s\n", error.what());
        return 1;
    }
}
