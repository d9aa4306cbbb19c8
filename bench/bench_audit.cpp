// "tsmeta audit" over the page corpus, output included, and its engine part alone (the
// page facts, warnings and widths of pages already in memory). Items are pages.

#include "AuditCommand.h"

#include "DocumentScanner.h"
#include "PageWarnings.h"
#include "TextWidth.h"

#include <QFile>
#include <QTextStream>

#include <benchmark/benchmark.h>

namespace {

QString corpusFolder()
{
    const QByteArray fromEnvironment = qgetenv("TAGSMITH_CORPUS");
    return fromEnvironment.isEmpty() ? QStringLiteral(TAGSMITH_DEFAULT_CORPUS)
                                     : QFile::decodeName(fromEnvironment);
}

const QStringList &corpusPages()
{
    static const QStringList pages = AuditCommand::pagesIn({ corpusFolder() });
    return pages;
}

std::vector<QByteArray> corpusBytes()
{
    std::vector<QByteArray> pages;
    for (const QString &path : corpusPages()) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            pages.push_back(file.readAll());
    }
    return pages;
}

void BM_AuditCorpus(benchmark::State &state)
{
    if (corpusPages().isEmpty()) {
        state.SkipWithError("no corpus: set TAGSMITH_CORPUS");
        return;
    }
    QString output;
    QString errors;
    for (auto _ : state) {
        output.clear();
        QTextStream out(&output);
        QTextStream err(&errors);
        AuditCommand::run({ corpusFolder() }, {}, out, err);
        benchmark::DoNotOptimize(output.data());
    }
    state.SetItemsProcessed(state.iterations() * corpusPages().size());
}

void BM_FactsAndWarningsInMemory(benchmark::State &state)
{
    const std::vector<QByteArray> pages = corpusBytes();
    if (pages.empty()) {
        state.SkipWithError("no corpus: set TAGSMITH_CORPUS");
        return;
    }
    for (auto _ : state) {
        for (const QByteArray &page : pages) {
            const std::string_view bytes(page.constData(), static_cast<std::size_t>(page.size()));
            const ScannedDocument document = DocumentScanner::scan(bytes);
            const std::vector<Warning> warnings
                = PageWarnings::evaluate(PageFacts::of(bytes), document.values(), false, WidthLimits::desktop());
            benchmark::DoNotOptimize(warnings.data());
            benchmark::DoNotOptimize(TextWidth::titlePixels(document.title));
            benchmark::DoNotOptimize(TextWidth::descriptionPixels(document.description));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(pages.size()));
}

} // namespace

BENCHMARK(BM_AuditCorpus)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FactsAndWarningsInMemory)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
