// Times RefreshStations on the main window as main.cpp builds it (real file system,
// real desktop, start-up from pcs.txt, window shown) against the floor, alternating
// program and floor in one process so that both meet the same caches.
//
//   varnok_bench compare LAB [--pairs N] [--gain] [--pause SECONDS] [--tag NAME]
//   varnok_bench timer LAB [--pairs N] [--tag NAME]
//   varnok_bench trace LAB
//   varnok_bench looks LAB [--pairs N] [--tag NAME]
//   varnok_bench watch LAB [--seconds S] [--tag NAME]
//
// A refresh here is the call plus the events it posted (delayed list layouts,
// repaints), handled until the event loop is idle: what the invigilator waits for.
// "timer" counts instead the whole process's processor time, as the system accounts it,
// over refreshes started by the window's own timer: its handler, the paints, the X
// traffic and the event loop's own work, up to the X server's answers.
// "looks" times a refresh from its start to the last row shown, against the slowest station's
// own look run alone. "watch" leaves the window to its own timer for a while, as the program
// runs (a desktop may ping it meanwhile), then says what its rows show.
#include "BenchMarkers.h"
#include "BenchTiming.h"
#include "FloorScan.h"

#include "app/EventTable.h"
#include "monitor/RefreshStations.h"
#include "monitor/StationLook.h"
#include "monitor/StationLooks.h"
#include "platform/NativeFileSystem.h"
#include "app/WindowFileSystem.h"
#include "platform/QtDesktop.h"
#include "setup/Startup.h"
#include "window/FileListBox.h"
#include "window/Form1.h"
#include "window/TextBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

struct Options
{
    std::string mode;
    std::string lab;
    int pairs = 9;
    int seconds = 60;
    bool gain = false;
    double pauseSeconds = 0;
    std::string tag = "refresh";
};

[[noreturn]] void usage()
{
    std::fprintf(stderr,
                 "usage: varnok_bench compare LAB [--pairs N] [--gain] [--pause SECONDS] [--tag NAME]\n"
                 "       varnok_bench timer LAB [--pairs N] [--tag NAME]\n"
                 "       varnok_bench trace LAB\n"
                 "       varnok_bench looks LAB [--pairs N] [--tag NAME]\n"
                 "       varnok_bench watch LAB [--seconds S] [--tag NAME]\n");
    std::exit(2);
}

Options parseOptions(int argc, char* argv[])
{
    if (argc < 3)
        usage();
    Options options;
    options.mode = argv[1];
    options.lab = argv[2];
    if (options.mode != "compare" && options.mode != "timer" && options.mode != "trace" &&
        options.mode != "looks" && options.mode != "watch")
        usage();
    for (int k = 3; k < argc; ++k) {
        const std::string word = argv[k];
        const bool hasValue = k + 1 < argc;
        if (word == "--pairs" && hasValue)
            options.pairs = std::max(1, std::atoi(argv[++k]));
        else if (word == "--seconds" && hasValue)
            options.seconds = std::max(1, std::atoi(argv[++k]));
        else if (word == "--pause" && hasValue)
            options.pauseSeconds = std::atof(argv[++k]);
        else if (word == "--tag" && hasValue)
            options.tag = argv[++k];
        else if (word == "--gain")
            options.gain = true;
        else
            usage();
    }
    return options;
}

// A message box would wait for a click that never comes: end the run with its text instead.
void failOnMessageBox()
{
    auto* watch = new QTimer(qApp);
    watch->setInterval(1000);
    QObject::connect(watch, &QTimer::timeout, [] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        const auto* box = qobject_cast<QMessageBox*>(modal);
        std::fprintf(stderr, "varnok_bench: a message box opened: %s\n",
                     box ? qPrintable(box->text()) : qPrintable(modal->windowTitle()));
        std::fflush(stderr);
        ::_exit(3);
    });
    watch->start();
}

void addStationFile(const std::string& folder, int serial)
{
    const std::string path = folder + "/gained_" + std::to_string(serial) + ".txt";
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        throw std::runtime_error("cannot create " + path + ": " + std::strerror(errno));
    ::close(fd);
}

int listedStationFiles(Form1& form)
{
    int listed = 0;
    for (FileListBox* list : form.File1)
        listed += list->listCount();
    return listed;
}

// Handles what follows a refresh until every station's look is shown in its row.
void settleLooks(Form1& form)
{
    settleUntil([&form] { return StationLooks::of(form).settled(); });
}

void sleepSeconds(double seconds)
{
    if (seconds > 0)
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

int compare(const Options& options, Form1& form, const FloorLab& lab)
{
    const auto refresh = [&form] {
        RefreshStations(form);
        settleLooks(form);
    };
    if (lab.stations.empty())
        throw std::runtime_error("pcs.txt lists no station");
    // A station in the middle of the window gains the files.
    const std::string& gainingStation = lab.stations[std::min<size_t>(6, lab.stations.size() - 1)];
    int gained = 0;

    FloorCounts counts;
    if (options.pauseSeconds <= 0) {
        for (int k = 0; k < 2; ++k) {
            refresh();
            counts = floorScan(lab);
        }
    }

    std::vector<double> programCpu, programWall, programCallCpu, floorCpu, floorWall;
    for (int pair = 1; pair <= options.pairs; ++pair) {
        if (options.gain) {
            refresh(); // the program has seen every file but the one added next
            addStationFile(gainingStation, ++gained);
        }
        sleepSeconds(options.pauseSeconds);
        double callCpu = 0;
        const Sample program = measure([&] {
            const double before = clockMs(CLOCK_PROCESS_CPUTIME_ID);
            RefreshStations(form);
            callCpu = clockMs(CLOCK_PROCESS_CPUTIME_ID) - before;
            settleLooks(form);
        });

        if (options.gain) {
            counts = floorScan(lab);
            addStationFile(gainingStation, ++gained);
        }
        sleepSeconds(options.pauseSeconds);
        const Sample floor = measure([&] { counts = floorScan(lab); });

        programCpu.push_back(program.cpuMs);
        programWall.push_back(program.wallMs);
        programCallCpu.push_back(callCpu);
        floorCpu.push_back(floor.cpuMs);
        floorWall.push_back(floor.wallMs);
        std::printf("pair %s %d program cpu_ms=%.3f wall_ms=%.3f call_cpu_ms=%.3f floor cpu_ms=%.3f "
                    "wall_ms=%.3f\n",
                    options.tag.c_str(), pair, program.cpuMs, program.wallMs, callCpu, floor.cpuMs,
                    floor.wallMs);
        std::fflush(stdout);
    }

    // Both must have seen the same files, or the comparison says nothing.
    refresh();
    counts = floorScan(lab);
    const int listed = listedStationFiles(form);
    std::printf("files %s program_listed=%d floor_matched=%ld floor_reachable=%ld\n", options.tag.c_str(),
                listed, counts.matched, counts.reachable);
    std::printf("median %s program_cpu_ms=%.3f program_wall_ms=%.3f program_call_cpu_ms=%.3f "
                "floor_cpu_ms=%.3f floor_wall_ms=%.3f pairs=%d\n",
                options.tag.c_str(), median(programCpu), median(programWall), median(programCallCpu),
                median(floorCpu), median(floorWall), options.pairs);
    if (listed != counts.matched) {
        std::fprintf(stderr, "varnok_bench: the program listed %d station files, the floor matched %ld\n",
                     listed, counts.matched);
        return 1;
    }
    return 0;
}

// The processor time of the whole process so far, every thread, from /proc/self/stat.
double processStatMs()
{
    std::FILE* stat = std::fopen("/proc/self/stat", "r");
    if (!stat)
        throw std::runtime_error("cannot read /proc/self/stat");
    char line[1024] = {};
    const bool read = std::fgets(line, sizeof line, stat) != nullptr;
    std::fclose(stat);
    // The command name may hold spaces: the fields are counted from its closing parenthesis.
    const char* rest = read ? std::strrchr(line, ')') : nullptr;
    unsigned long long utime = 0, stime = 0;
    if (!rest ||
        std::sscanf(rest + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu", &utime, &stime) != 2)
        throw std::runtime_error("cannot parse /proc/self/stat");
    return double(utime + stime) * 1000.0 / double(::sysconf(_SC_CLK_TCK));
}

// Lets the window's own timer start one refresh, and handles everything that follows it.
void oneTimerRefresh(Form1& form)
{
    bool fired = false;
    const QMetaObject::Connection seen =
        QObject::connect(form.Timer1, &QTimer::timeout, [&fired] { fired = true; }); // after the handler
    form.Timer1->start(1);
    while (!fired)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    form.Timer1->stop();
    QObject::disconnect(seen);
    settleLooks(form);
    // What the X server sends back for the paints.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    settleEvents();
}

int timerRefreshes(const Options& options, Form1& form, const FloorLab& lab)
{
    // The system counts in clock ticks (10 ms): each run is several refreshes, so that a tick
    // lost or gained at its ends weighs little.
    constexpr int RefreshesPerRun = 5;
    FloorCounts counts;
    for (int k = 0; k < 2; ++k) {
        oneTimerRefresh(form);
        counts = floorScan(lab);
    }
    double programStat = 0, programClock = 0, floorStat = 0, floorClock = 0;
    for (int pair = 1; pair <= options.pairs; ++pair) {
        double stat = processStatMs(), clock = clockMs(CLOCK_PROCESS_CPUTIME_ID);
        for (int k = 0; k < RefreshesPerRun; ++k)
            oneTimerRefresh(form);
        const double pairProgramStat = processStatMs() - stat;
        const double pairProgramClock = clockMs(CLOCK_PROCESS_CPUTIME_ID) - clock;

        stat = processStatMs(), clock = clockMs(CLOCK_PROCESS_CPUTIME_ID);
        for (int k = 0; k < RefreshesPerRun; ++k)
            counts = floorScan(lab);
        const double pairFloorStat = processStatMs() - stat;
        const double pairFloorClock = clockMs(CLOCK_PROCESS_CPUTIME_ID) - clock;

        programStat += pairProgramStat, programClock += pairProgramClock;
        floorStat += pairFloorStat, floorClock += pairFloorClock;
        std::printf("pair %s %d program stat_ms=%.0f clock_ms=%.3f floor stat_ms=%.0f clock_ms=%.3f "
                    "(%d refreshes each)\n",
                    options.tag.c_str(), pair, pairProgramStat, pairProgramClock, pairFloorStat,
                    pairFloorClock, RefreshesPerRun);
        std::fflush(stdout);
    }
    const double refreshes = double(options.pairs) * RefreshesPerRun;
    const int listed = listedStationFiles(form);
    std::printf("files %s program_listed=%d floor_matched=%ld floor_reachable=%ld\n", options.tag.c_str(),
                listed, counts.matched, counts.reachable);
    std::printf("mean %s program_stat_ms=%.3f program_clock_ms=%.3f floor_stat_ms=%.3f floor_clock_ms=%.3f "
                "refreshes=%.0f\n",
                options.tag.c_str(), programStat / refreshes, programClock / refreshes, floorStat / refreshes,
                floorClock / refreshes, refreshes);
    return listed == counts.matched ? 0 : 1;
}

int trace(Form1& form)
{
    for (int k = 0; k < 2; ++k) {
        RefreshStations(form);
        settleLooks(form);
    }
    markBegin();
    RefreshStations(form);
    settleLooks(form);
    markEnd();
    std::printf("trace program_listed=%d\n", listedStationFiles(form));
    return 0;
}

// From the start of a refresh to the last row shown, against the slowest station's look alone:
// what waiting for every station at once costs beyond waiting for the slowest.
int looks(const Options& options, Form1& form)
{
    NativeFileSystem fs;
    for (int k = 0; k < 2; ++k) {
        RefreshStations(form);
        settleLooks(form);
    }
    std::vector<double> program, slowest;
    for (int pair = 1; pair <= options.pairs; ++pair) {
        const Sample all = measure([&form] {
            RefreshStations(form);
            settleLooks(form);
        });
        double alone = 0;
        for (int i = 0; i < StationCount; ++i) {
            const QString path = form.PC1Path[i]->text();
            if (path.isEmpty())
                continue;
            const FileListBox* list = form.File1[i];
            alone = std::max(alone, measure([&] {
                                        lookAtStation(fs, path, list->pattern(), list->namePattern());
                                    }).wallMs);
        }
        program.push_back(all.wallMs);
        slowest.push_back(alone);
        std::printf("pair %s %d program wall_ms=%.3f slowest_alone wall_ms=%.3f\n", options.tag.c_str(), pair,
                    all.wallMs, alone);
        std::fflush(stdout);
    }
    std::printf("median %s program_wall_ms=%.3f slowest_wall_ms=%.3f pairs=%d\n", options.tag.c_str(),
                median(program), median(slowest), options.pairs);
    return 0;
}

// The window left to its own timer, as the program runs; then its rows: how many are listed,
// how many are red, how many files they list.
int watch(const Options& options, Form1& form)
{
    form.Timer1->start();
    QTimer::singleShot(options.seconds * 1000, qApp, &QCoreApplication::quit);
    QApplication::exec();
    int listed = 0, red = 0;
    for (int i = 0; i < StationCount; ++i) {
        if (form.PC1Path[i]->text().isEmpty())
            continue;
        listed += form.File1[i]->isEnabled();
        red += form.PC1Path[i]->foreColor() == WindowColor::Red;
    }
    std::printf("watch %s rows_listed=%d rows_red=%d files=%d\n", options.tag.c_str(), listed, red,
                listedStationFiles(form));
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    const Options options = parseOptions(argc, argv);
    if (::chdir(options.lab.c_str()) != 0) {
        std::fprintf(stderr, "varnok_bench: cannot enter %s: %s\n", options.lab.c_str(),
                     std::strerror(errno));
        return 1;
    }
    try {
        const FloorLab lab = readFloorLab(".");

        QApplication app(argc, argv);
        QApplication::setApplicationName(QStringLiteral("Varnok"));
        // The figures are read back by a script: a decimal point whatever the locale.
        std::setlocale(LC_NUMERIC, "C");
        failOnMessageBox();

        WindowFileSystem fileSystem;
        QtDesktop desktop;
        Form1 form(fileSystem.fileSystem(), fileSystem.stationCalls(), desktop);
        fileSystem.attach(form);
        connectEvents(form);
        if (!runStartup(form))
            return 1;
        // Only the benchmark refreshes: the ten-second timer would land inside a measured run.
        form.Timer1->stop();
        form.show();
        waitUntilExposed(form);

        if (options.mode == "trace")
            return trace(form);
        if (options.mode == "looks")
            return looks(options, form);
        if (options.mode == "watch")
            return watch(options, form);
        return options.mode == "timer" ? timerRefreshes(options, form, lab) : compare(options, form, lab);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "varnok_bench: %s\n", error.what());
        return 1;
    }
}
