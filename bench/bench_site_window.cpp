// The site window as a person waits for it: shown (offscreen unless QT_QPA_PLATFORM says
// otherwise), its table sorted by path behind the filter, loading the folder named by
// $TAGSMITH_SITE (e.g. a toolchain's installed HTML documentation).
//   first_rows_ms     the table's first paint that has rows in it, from the load's start
//   complete_ms       when the last row is in the table
//   longest_stall_ms  the longest gap between two runs of a 5 ms timer over the whole load:
//                     how long a click or a key could have waited
//   longest_turn_cpu_ms  the most processor time the window's thread spent between two runs
//                     of that timer: the stall's own work, without the waits of a busy machine
//   peak_MiB          the process's largest resident size, rows and all
// BM_PeakByCountAndSize loads made-up sites of pages by count and size, each in a process of
// its own, to show what the memory grows with. `bench_site_window --load-once FOLDER` loads
// once, prints the figures and exits: a whole process to time against `tsmeta audit FOLDER`.

#include "SiteWindow.h"

#include "SpawnQuietly.h"
#include "SyntheticPage.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace {

constexpr int kTickMs = 5;
constexpr char kLoadOnce[] = "--load-once";

struct LoadFigures
{
    double firstRowsMs = -1;
    double completeMs = -1;
    double longestStallMs = 0;
    double longestTurnCpuMs = 0;
    int pages = 0;
};

double msSince(const QElapsedTimer &clock)
{
    return double(clock.nsecsElapsed()) / 1e6;
}

double threadCpuMs()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The largest resident size of this process's own memory: unlike getrusage's, it does not
// start from the peak of the parent that spawned it.
double peakMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    }
    return -1;
}

// Notes the first paint of the table's viewport once the table has rows.
class FirstRowsPainted : public QObject
{
public:
    FirstRowsPainted(const QTableView &table, const QElapsedTimer &clock, double &ms)
        : m_table(table)
        , m_clock(clock)
        , m_ms(ms)
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && m_ms < 0 && m_table.model()->rowCount() > 0)
            m_ms = msSince(m_clock);
        return QObject::eventFilter(watched, event);
    }

private:
    const QTableView &m_table;
    const QElapsedTimer &m_clock;
    double &m_ms;
};

LoadFigures loadInWindow(const QString &folder)
{
    SiteWindow window;
    window.show();
    QCoreApplication::processEvents();

    LoadFigures figures;
    QElapsedTimer clock;
    FirstRowsPainted firstRows(*window.table(), clock, figures.firstRowsMs);
    window.table()->viewport()->installEventFilter(&firstRows);

    double lastTickMs = 0;
    double lastTickCpuMs = 0;
    const auto noteTick = [&] {
        const double now = msSince(clock);
        const double cpu = threadCpuMs();
        figures.longestStallMs = std::max(figures.longestStallMs, now - lastTickMs);
        figures.longestTurnCpuMs = std::max(figures.longestTurnCpuMs, cpu - lastTickCpuMs);
        lastTickMs = now;
        lastTickCpuMs = cpu;
    };
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(kTickMs);
    QObject::connect(&tick, &QTimer::timeout, noteTick);

    QEventLoop loop;
    QObject::connect(&window, &SiteWindow::loadFinished, &loop, [&] {
        figures.completeMs = msSince(clock);
        noteTick();
        loop.quit();
    });
    clock.start();
    lastTickCpuMs = threadCpuMs();
    tick.start();
    window.load(folder, WidthLimits::desktop());
    loop.exec();
    // A site read whole before the table's first paint: that paint shows its rows.
    if (figures.firstRowsMs < 0)
        QCoreApplication::processEvents();
    figures.pages = window.table()->model()->rowCount();
    return figures;
}

void BM_SiteWindowLoad(benchmark::State &state)
{
    const QString folder = QFile::decodeName(qgetenv("TAGSMITH_SITE"));
    if (folder.isEmpty()) {
        state.SkipWithError("set TAGSMITH_SITE to a folder of pages");
        return;
    }
    LoadFigures figures;
    for (auto _ : state)
        figures = loadInWindow(folder);
    state.counters["first_rows_ms"] = figures.firstRowsMs;
    state.counters["complete_ms"] = figures.completeMs;
    state.counters["longest_stall_ms"] = figures.longestStallMs;
    state.counters["longest_turn_cpu_ms"] = figures.longestTurnCpuMs;
    state.counters["pages"] = figures.pages;
    state.counters["peak_MiB"] = peakMiB();
}
BENCHMARK(BM_SiteWindowLoad)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// A made-up site per count and size of pages, written once per process.
QString syntheticSite(int pages, qint64 pageBytes)
{
    static QTemporaryDir home;
    static std::map<std::pair<int, qint64>, QString> made;
    QString &folder = made[{ pages, pageBytes }];
    if (folder.isEmpty()) {
        folder = home.filePath(QStringLiteral("site-%1-%2").arg(pages).arg(pageBytes));
        for (int page = 0; page < pages; ++page) {
            // Folders of a hundred pages, as real sites nest them.
            const QString subfolder = QStringLiteral("%1/part%2").arg(folder).arg(page / 100);
            QDir().mkpath(subfolder);
            writeSyntheticPage(QStringLiteral("%1/page%2.html").arg(subfolder).arg(page), pageBytes);
        }
    }
    return folder;
}

// The figures a --load-once child printed, its peak among them.
std::pair<LoadFigures, double> loadInChild(const std::string &self, const QString &folder)
{
    int output = -1;
    const pid_t pid = spawnIntoPipe({ self, kLoadOnce, QFile::encodeName(folder).toStdString() }, output);
    if (pid < 0)
        std::abort();
    std::string printed;
    char buffer[256];
    for (ssize_t got; (got = read(output, buffer, sizeof buffer)) > 0;)
        printed.append(buffer, std::size_t(got));
    close(output);
    int status = 0;
    waitpid(pid, &status, 0);
    LoadFigures figures;
    double peak = -1;
    std::sscanf(printed.c_str(),
        "first_rows_ms=%lf complete_ms=%lf longest_stall_ms=%lf longest_turn_cpu_ms=%lf pages=%d "
        "peak_MiB=%lf",
        &figures.firstRowsMs, &figures.completeMs, &figures.longestStallMs, &figures.longestTurnCpuMs,
        &figures.pages, &peak);
    return { figures, peak };
}

std::string &selfPath()
{
    static std::string path;
    return path;
}

// Made-up sites of N pages of 4 KiB, N pages ten times larger and 2N pages of 4 KiB, each
// loaded by a process of its own in the same run: the peak should follow the count of pages
// and not their size. "size_ratio" is the peak with the larger pages over the small ones',
// "count_ratio" the peak with twice the pages over N's, "KiB_per_page" what a page adds.
void BM_PeakByCountAndSize(benchmark::State &state)
{
    const int pages = int(state.range(0));
    constexpr qint64 kSmallBytes = 4 * 1024;
    const QString smallPages = syntheticSite(pages, kSmallBytes);
    const QString largePages = syntheticSite(pages, 10 * kSmallBytes);
    const QString twiceThePages = syntheticSite(2 * pages, kSmallBytes);
    const auto peakOf = [&](const QString &folder, int count) {
        const auto [figures, peak] = loadInChild(selfPath(), folder);
        if (figures.pages != count)
            state.SkipWithError("a site did not load whole");
        return peak;
    };
    double small = 0;
    double large = 0;
    double twice = 0;
    for (auto _ : state) {
        small = peakOf(smallPages, pages);
        large = peakOf(largePages, pages);
        twice = peakOf(twiceThePages, 2 * pages);
    }
    state.counters["peak_MiB_small"] = small;
    state.counters["peak_MiB_large"] = large;
    state.counters["peak_MiB_twice"] = twice;
    state.counters["size_ratio"] = large / small;
    state.counters["count_ratio"] = twice / small;
    state.counters["KiB_per_page"] = (twice - small) * 1024 / pages;
}
BENCHMARK(BM_PeakByCountAndSize)
    ->ArgName("pages")
    ->Arg(8000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

int loadOnce(const QString &folder)
{
    const LoadFigures figures = loadInWindow(folder);
    std::printf("first_rows_ms=%.1f complete_ms=%.1f longest_stall_ms=%.1f longest_turn_cpu_ms=%.1f pages=%d "
                "peak_MiB=%.1f\n",
        figures.firstRowsMs, figures.completeMs, figures.longestStallMs, figures.longestTurnCpuMs,
        figures.pages, peakMiB());
    return figures.pages > 0 ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The window reads no settings, but nothing here may touch the user's.
    const QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    QApplication application(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], kLoadOnce) == 0)
        return loadOnce(QFile::decodeName(argv[2]));
    selfPath() = QCoreApplication::applicationFilePath().toStdString();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
