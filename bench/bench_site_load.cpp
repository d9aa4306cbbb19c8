// A whole site loaded into its table as the site window loads it: the pages read on worker
// threads and appended to the model batch by batch, from the folder named by $TAGSMITH_SITE
// (e.g. a toolchain's installed HTML documentation). "first_batch_ms" is when the first rows
// reach the model, "last_batch_ms" when the last do, "pages" how many rows there are and
// "peak_MiB" the process's largest resident size, rows and all. One load per process: the
// peak is the process's, so compare it with "tsmeta audit" of the same folder run alone.

#include "SiteLoader.h"
#include "SiteModel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

void BM_LoadSite(benchmark::State &state)
{
    const QString folder = QFile::decodeName(qgetenv("TAGSMITH_SITE"));
    if (folder.isEmpty()) {
        state.SkipWithError("set TAGSMITH_SITE to a folder of pages");
        return;
    }
    double firstBatchMs = 0;
    double lastBatchMs = 0;
    int pages = 0;
    for (auto _ : state) {
        SiteModel model;
        model.reset(folder);
        SiteLoader loader;
        QElapsedTimer clock;
        firstBatchMs = -1;
        QObject::connect(&loader, &SiteLoader::pagesRead, &model, [&](const QList<SitePage> &batch) {
            if (firstBatchMs < 0)
                firstBatchMs = double(clock.nsecsElapsed()) / 1e6;
            lastBatchMs = double(clock.nsecsElapsed()) / 1e6;
            model.appendPages(batch);
        });
        QEventLoop loop;
        QObject::connect(&loader, &SiteLoader::finished, &loop, &QEventLoop::quit);
        clock.start();
        loader.start(folder);
        loop.exec();
        pages = model.rowCount();
        benchmark::DoNotOptimize(pages);
    }
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["first_batch_ms"] = firstBatchMs;
    state.counters["last_batch_ms"] = lastBatchMs;
    state.counters["pages"] = pages;
    state.counters["peak_MiB"] = double(usage.ru_maxrss) / 1024;
}
BENCHMARK(BM_LoadSite)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
