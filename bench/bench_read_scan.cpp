// Opening a page (read + scan) against `cat page >/dev/null`, and saving it (backup +
// rewritten page) against two `cp` of the same file, all on one 64 MB page in one run.

#include "document/DocumentFile.h"
#include "document/DocumentSaver.h"
#include "document/DocumentScanner.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

namespace {

constexpr qint64 kPageBytes = qint64(64) * 1024 * 1024;

// A large but ordinary page: a head with the managed tags, then paragraphs with inline
// markup, entities and some non-ASCII text, so the encoding check cannot skip it all.
QByteArray syntheticPage()
{
    QByteArray page = "<!DOCTYPE html>\r\n<html lang=\"en\">\r\n<head>\r\n<title>Synthetic page</title>\r\n"
                      "<meta name=\"description\" content=\"A large page for timing the reader\">\r\n"
                      "<meta name=\"keywords\" content=\"bench, reader, scan\">\r\n"
                      "<meta name=\"robots\" content=\"noindex, nofollow\">\r\n</head>\r\n<body>\r\n";
    const QByteArray paragraph
        = "<p class=\"text\">Lorem ipsum <b>dolor</b> sit amet, <a href=\"/x?y=1&amp;z=2\">"
          "consectetur</a> adipiscing elit. Caf\xC3\xA9 na\xC3\xAFve \xE2\x80\x94 "
          "<em>sed do eiusmod</em> tempor incididunt ut labore.</p>\r\n";
    page.reserve(kPageBytes + paragraph.size());
    while (page.size() < kPageBytes)
        page += paragraph;
    page += "</body>\r\n</html>\r\n";
    return page;
}

struct PageFile
{
    QTemporaryDir dir;
    QString path;
    QByteArray bytes;

    PageFile()
        : path(dir.filePath(QStringLiteral("page.html")))
        , bytes(syntheticPage())
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            std::abort();
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

void BM_TwoCopies(benchmark::State &state)
{
    const std::string page = pageFile().path.toStdString();
    const std::string command = "cp '" + page + "' '" + page + ".a' && cp '" + page + "' '" + page + ".b'";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("cp failed");
    }
    state.SetBytesProcessed(state.iterations() * pageFile().bytes.size());
}

void BM_SaveWithBackup(benchmark::State &state)
{
    const QString copy = pageFile().path + QStringLiteral(".saved.html");
    QFile::remove(copy);
    QFile::copy(pageFile().path, copy);
    MetaElementSet values;
    values.setText(TextField::Description, "Saved by the benchmark");
    for (auto _ : state) {
        const DocumentSaver::Result saved
            = DocumentSaver::save({ copy, copy, copy, values, QStringLiteral("2.01a"), true });
        if (!saved.ok)
            state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(state.iterations() * pageFile().bytes.size());
}

} // namespace

BENCHMARK(BM_TwoCopies)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(BM_SaveWithBackup)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(BM_CatToDevNull)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadAndScan)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ScanInMemory)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
