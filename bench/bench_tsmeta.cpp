// tsmeta as a user runs it, a whole process each time, against `cat` of the same files
// timed in the same iteration: "read" of a 64 MB page that declares its charset and of one
// that does not, and "audit" of a real site named by $TAGSMITH_SITE (a folder of at least
// 50,000 pages, e.g. HTML documentation installed by a package or a toolchain).
// The counter "ratio" is tsmeta's time over cat's, summed over the iterations; "peak_MiB"
// is tsmeta's largest resident size. "first_line_ms" is how long the first line of an
// audit takes to reach a pipe's reader.

#include "AuditCommand.h"

#include "SpawnQuietly.h"
#include "SyntheticPage.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

namespace {

constexpr qint64 kPageBytes = qint64(64) * 1024 * 1024;

struct Run
{
    double seconds = 0;
    long peakKiB = 0;
};

// Runs the command to its end; aborts when it cannot be run at all.
Run run(const std::vector<std::string> &command)
{
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = spawnQuietly(command);
    if (pid < 0)
        std::abort();
    int status = 0;
    rusage usage {};
    wait4(pid, &status, 0, &usage);
    return { std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), usage.ru_maxrss };
}

// Times tsmeta and its floor in turn, the order alternating, so that both see the same
// machine; reports tsmeta's time and the ratio.
void timeAgainstFloor(benchmark::State &state, const std::vector<std::string> &tsmeta, const std::vector<std::string> &floor)
{
    double tsmetaSeconds = 0;
    double floorSeconds = 0;
    long peakKiB = 0;
    bool floorFirst = true;
    for (auto _ : state) {
        const Run before = floorFirst ? run(floor) : run(tsmeta);
        const Run after = floorFirst ? run(tsmeta) : run(floor);
        const Run &measured = floorFirst ? after : before;
        tsmetaSeconds += measured.seconds;
        floorSeconds += (floorFirst ? before : after).seconds;
        peakKiB = std::max(peakKiB, measured.peakKiB);
        state.SetIterationTime(measured.seconds);
        floorFirst = !floorFirst;
    }
    state.counters["ratio"] = tsmetaSeconds / floorSeconds;
    state.counters["cat_ms"] = floorSeconds * 1000 / double(state.iterations());
    state.counters["peak_MiB"] = double(peakKiB) / 1024;
}

const QTemporaryDir &pages()
{
    static const QTemporaryDir dir;
    return dir;
}

std::string pagePath(bool declaresCharset)
{
    const QString path = pages().filePath(declaresCharset ? QStringLiteral("declared.html") : QStringLiteral("undeclared.html"));
    if (!QFile::exists(path))
        writeSyntheticPage(path, kPageBytes, declaresCharset);
    return path.toStdString();
}

void BM_Read(benchmark::State &state, bool declaresCharset)
{
    const std::string page = pagePath(declaresCharset);
    timeAgainstFloor(state, { TAGSMITH_TSMETA, "read", page }, { "cat", page });
}

// The site's pages, one per line with NUL between, for `xargs -0 cat`.
std::string siteList(const QString &site)
{
    const QString list = pages().filePath(QStringLiteral("site.list"));
    QFile file(list);
    if (!file.exists()) {
        if (!file.open(QIODevice::WriteOnly))
            std::abort();
        for (const QString &page : AuditCommand::pagesIn({ site }))
            file.write(QFile::encodeName(page) + '\0');
    }
    return list.toStdString();
}

void BM_Audit(benchmark::State &state)
{
    const QString site = qEnvironmentVariable("TAGSMITH_SITE");
    if (site.isEmpty()) {
        state.SkipWithError("set TAGSMITH_SITE to a folder of pages");
        return;
    }
    timeAgainstFloor(state, { TAGSMITH_TSMETA, "audit", "--jobs", std::to_string(state.range(0)), site.toStdString() },
        { "xargs", "-0", "-a", siteList(site), "cat" });
}

// The audit's report read from a pipe, as a program reading it as it comes would.
void BM_AuditFirstLine(benchmark::State &state)
{
    const QString site = qEnvironmentVariable("TAGSMITH_SITE");
    if (site.isEmpty()) {
        state.SkipWithError("set TAGSMITH_SITE to a folder of pages");
        return;
    }
    double firstLineSeconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const auto since = [&start] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
        int output = -1;
        const pid_t pid = spawnIntoPipe({ TAGSMITH_TSMETA, "audit", site.toStdString() }, output);
        if (pid < 0)
            std::abort();
        std::vector<char> buffer(1 << 16);
        bool lineSeen = false;
        for (ssize_t got = 0; (got = read(output, buffer.data(), buffer.size())) > 0;) {
            if (!lineSeen && std::memchr(buffer.data(), '\n', std::size_t(got))) {
                lineSeen = true;
                firstLineSeconds += since();
            }
        }
        close(output);
        waitpid(pid, nullptr, 0);
        state.SetIterationTime(since());
    }
    state.counters["first_line_ms"] = firstLineSeconds * 1000 / double(state.iterations());
}

} // namespace

BENCHMARK_CAPTURE(BM_Read, declared, true)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK_CAPTURE(BM_Read, undeclared, false)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_Audit)->Arg(1)->Arg(2)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(4);
BENCHMARK(BM_AuditFirstLine)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(4);

BENCHMARK_MAIN();
