// Saving a 64 MB page (a backup and the rewritten page, both synced to disk) against the
// floor no save can beat: two durable copies of the same file, `dd ... conv=fsync`, timed
// in the same iterations so both see the same disk. Once as a plain page, replaced through
// a new file, and once with a second hard link, rewritten in place. The counters give the
// ratio to the floor and the process's peak memory against the page's size.

#include "DocumentSaver.h"

#include "SyntheticPage.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr qint64 kPageBytes = qint64(64) * 1024 * 1024;

double secondsOf(const std::function<bool()> &step, bool &ok)
{
    const auto start = std::chrono::steady_clock::now();
    ok = step() && ok;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double peakMemoryBytes()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) * 1024;
}

void BM_SaveAgainstTwoDurableCopies(benchmark::State &state, bool secondLink)
{
    QTemporaryDir dir;
    const QString page = dir.filePath(QStringLiteral("page.html"));
    writeSyntheticPage(page, kPageBytes);
    if (secondLink && ::link(QFile::encodeName(page).constData(), QFile::encodeName(page + QStringLiteral(".link")).constData()) != 0)
        state.SkipWithError("no second link");
    const std::string quoted = "'" + page.toStdString() + "'";
    const std::string twoCopies = "dd if=" + quoted + " of=" + quoted + ".a bs=1M conv=fsync status=none && dd if="
        + quoted + " of=" + quoted + ".b bs=1M conv=fsync status=none";
    MetaElementSet values;
    values.setText(TextField::Description, "Saved by the benchmark");
    const DocumentSaver::Request request { page, page, page, values, QStringLiteral("2.01a"), true };

    double floorSeconds = 0;
    double saveSeconds = 0;
    bool ok = true;
    for (auto _ : state) {
        floorSeconds += secondsOf([&] { return std::system(twoCopies.c_str()) == 0; }, ok);
        const double seconds = secondsOf([&] { return DocumentSaver::save(request).ok; }, ok);
        saveSeconds += seconds;
        state.SetIterationTime(seconds);
    }
    if (!ok)
        state.SkipWithError("a copy or a save failed");
    const double iterations = double(state.iterations());
    state.counters["floor_ms"] = floorSeconds / iterations * 1000;
    state.counters["save_ms"] = saveSeconds / iterations * 1000;
    state.counters["save_per_floor"] = saveSeconds / floorSeconds;
    state.counters["peak_memory_per_page"] = peakMemoryBytes() / double(QFile(page).size());
    state.SetBytesProcessed(state.iterations() * kPageBytes);
}

} // namespace

BENCHMARK_CAPTURE(BM_SaveAgainstTwoDurableCopies, replaced, false)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->MinTime(3.0);
BENCHMARK_CAPTURE(BM_SaveAgainstTwoDurableCopies, in_place, true)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->MinTime(3.0);

BENCHMARK_MAIN();
