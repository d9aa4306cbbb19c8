// Opening a page (read + scan) against `cat page >/dev/null`, on one 64 MB page in one run.

#include "DocumentFile.h"
#include "DocumentScanner.h"

#include "SyntheticPage.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

namespace {

constexpr qint64 kPageBytes = qint64(64) * 1024 * 1024;

struct PageFile
{
    QTemporaryDir dir;
    QString path;
    QByteArray bytes;

    PageFile()
        : path(dir.filePath(QStringLiteral("page.html")))
    {
        writeSyntheticPage(path, kPageBytes);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            std::abort();
        bytes = file.readAll();
    }
};

const PageFile &pageFile()
{
    static const PageFile page;
    return page;
}

void BM_CatToDevNull(benchmark::State &state)
{
    const std::string command = "cat '" + pageFile().path.toStdString() + "' >/dev/null";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("cat failed");
    }
    state.SetBytesProcessed(state.iterations() * pageFile().bytes.size());
}

void BM_ReadAndScan(benchmark::State &state)
{
    for (auto _ : state) {
        const DocumentFile::OpenResult opened = DocumentFile::open(pageFile().path);
        if (!opened.ok)
            state.SkipWithError("open failed");
        benchmark::DoNotOptimize(opened.document.description.data());
    }
    state.SetBytesProcessed(state.iterations() * pageFile().bytes.size());
}

void BM_ReadOnly(benchmark::State &state)
{
    for (auto _ : state) {
        const DocumentFile::ReadResult read = DocumentFile::readBytes(pageFile().path);
        benchmark::DoNotOptimize(read.bytes.constData());
    }
    state.SetBytesProcessed(state.iterations() * pageFile().bytes.size());
}

void BM_ScanInMemory(benchmark::State &state)
{
    const std::string_view bytes(
        pageFile().bytes.constData(), static_cast<std::size_t>(pageFile().bytes.size()));
    for (auto _ : state) {
        const ScannedDocument doc = DocumentScanner::scan(bytes);
        benchmark::DoNotOptimize(doc.description.data());
    }
    state.SetBytesProcessed(state.iterations() * pageFile().bytes.size());
}

} // namespace

BENCHMARK(BM_CatToDevNull)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadAndScan)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ScanInMemory)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
