// The editor as a user waits for it, on the offscreen platform: the main window built and
// shown, a command line handed over by a second start until its document is open, and a
// 64 MB page opened in a window against reading it as `tsmeta read` does.

#include "DocumentFile.h"
#include "HandOverMessage.h"
#include "SingleInstance.h"
#include "MainWindow.h"
#include "ProgramServices.h"

#include <QApplication>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <future>

namespace {

QTemporaryDir &home()
{
    static QTemporaryDir dir;
    return dir;
}

QString largePage()
{
    static const QString path = [] {
        const QString file = home().filePath(QStringLiteral("large.html"));
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly))
            std::abort();
        out.write("<html>\r\n<head>\r\n<title>Large</title>\r\n<meta name=\"description\" content=\"big\">\r\n"
                  "</head>\r\n<body>\r\n");
        const QByteArray line = "<p>Lorem ipsum <b>dolor</b> sit amet, caf\xC3\xA9 na\xC3\xAFve.</p>\r\n";
        for (qint64 written = 0; written < qint64(64) * 1024 * 1024; written += line.size())
            out.write(line);
        out.write("</body>\r\n</html>\r\n");
        return file;
    }();
    return path;
}

// The windows need an application; it is made once, offscreen, with a settings folder of
// its own so that the user's settings stay untouched.
void ensureApplication()
{
    static int argc = 1;
    static char name[] = "bench_window";
    static char *argv[] = { name, nullptr };
    static const QApplication *application = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home().filePath(QStringLiteral("config"))));
        return new QApplication(argc, argv);
    }();
    benchmark::DoNotOptimize(application);
}

void closeDocuments(MainWindow &window)
{
    window.mdiArea().closeAllSubWindows();
    QCoreApplication::processEvents();
}

void BM_MainWindowShown(benchmark::State &state)
{
    ensureApplication();
    for (auto _ : state) {
        ProgramServices services;
        MainWindow window(services);
        window.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(window.isVisible());
    }
}

void BM_HandOverToOpenDocument(benchmark::State &state)
{
    ensureApplication();
    const QString runtime = home().filePath(QStringLiteral("runtime"));
    QDir().mkpath(runtime);
    SingleInstance instance(runtime);
    instance.tryBecomeFirst();
    instance.listen();
    ProgramServices services;
    MainWindow window(services);
    QObject::connect(&instance, &SingleInstance::messageReceived, &window,
                     [&window](const QByteArray &message) { window.openCommandLine(HandOverMessage::decode(message)); });
    window.show();
    const QString page = home().filePath(QStringLiteral("small.html"));
    QFile small(page);
    if (!small.open(QIODevice::WriteOnly) || small.write("<html><head><title>t</title></head></html>") < 0)
        std::abort();
    small.close();
    for (auto _ : state) {
        const auto before = window.mdiArea().subWindowList().size();
        auto sent = std::async(std::launch::async, [&] { return SingleInstance::handOver(HandOverMessage::encode({ page }), runtime); });
        while (window.mdiArea().subWindowList().size() == before)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
        sent.get();
        state.PauseTiming();
        closeDocuments(window);
        state.ResumeTiming();
    }
}

void BM_OpenLargePageInWindow(benchmark::State &state)
{
    ensureApplication();
    ProgramServices services;
    MainWindow window(services);
    window.show();
    const QString page = largePage();
    for (auto _ : state) {
        window.openCommandLine({ page });
        state.PauseTiming();
        if (window.mdiArea().subWindowList().isEmpty())
            state.SkipWithError("the page did not open");
        closeDocuments(window);
        state.ResumeTiming();
    }
}

void BM_ReadLargePageAsTsmeta(benchmark::State &state)
{
    ensureApplication();
    const QString page = largePage();
    for (auto _ : state) {
        const DocumentFile::OpenResult opened = DocumentFile::open(page);
        benchmark::DoNotOptimize(opened.ok);
    }
}

} // namespace

BENCHMARK(BM_MainWindowShown)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_HandOverToOpenDocument)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OpenLargePageInWindow)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadLargePageAsTsmeta)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
