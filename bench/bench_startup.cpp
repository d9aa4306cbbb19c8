// Start-up as a user waits for it, each against its floor in the same run: the editor's main
// window against a bare Qt window with a menu bar on the same X server (from the start of
// the process until the window is mapped and painted), a second start handing its page over
// to the running copy, and `tsmeta read` of a tiny page against `cat` of it.
// Needs an X server for the windows: bench/run-startup-bench runs it under xvfb-run.

#include "SpawnQuietly.h"
#include "WindowWatch.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

using Clock = WindowWatch::Clock;
constexpr auto kWindowTimeout = std::chrono::seconds(20);

// The programs keep their settings, lock and socket away from the user's: the settings on
// disk as in ~/.config, the lock and socket in memory as in /run/user.
const QTemporaryDir &home()
{
    static const QTemporaryDir dir = [] {
        QTemporaryDir made;
        setenv("XDG_CONFIG_HOME", made.path().toLocal8Bit().constData(), 1);
        unsetenv("QT_QPA_PLATFORM");
        return made;
    }();
    static const QTemporaryDir runtime(QDir(QStringLiteral("/dev/shm")).exists()
            ? QStringLiteral("/dev/shm/tagsmith-bench-XXXXXX")
            : dir.filePath(QStringLiteral("runtime-XXXXXX")));
    setenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit().constData(), 1);
    return dir;
}

const std::string &tinyPage()
{
    static const std::string path = [] {
        const QString file = home().filePath(QStringLiteral("tiny.html"));
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly)
            || out.write("<html><head><title>Tiny</title>\n<meta name=\"description\" content=\"A page\">\n"
                         "</head><body></body></html>\n")
                < 0)
            std::abort();
        return file.toStdString();
    }();
    return path;
}

bool ranToSuccess(pid_t pid)
{
    int status = 0;
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void stop(pid_t pid)
{
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

double milliseconds(Clock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

double median(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    const std::size_t middle = samples.size() / 2;
    return samples.size() % 2 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
}

// From the start of the process until its main window is painted; the process stays.
struct Started
{
    pid_t pid = -1;
    std::optional<WindowWatch::Shown> shown;
    Clock::time_point start;

    double paintedMs() const { return milliseconds(shown->painted - start); }
};

Started startWindow(WindowWatch &watch, const std::vector<std::string> &command)
{
    watch.drain();
    Started started;
    started.start = Clock::now();
    started.pid = spawnQuietly(command);
    if (started.pid > 0)
        started.shown = watch.waitForWindow(kWindowTimeout);
    return started;
}

// Runs the command to its end; empty when it failed.
std::optional<double> runMs(const std::vector<std::string> &command)
{
    const Clock::time_point start = Clock::now();
    if (!ranToSuccess(spawnQuietly(command)))
        return std::nullopt;
    return milliseconds(Clock::now() - start);
}

// One sample of each per iteration, one right after the other, so that what else the
// machine does weighs on both alike; medians, since a shared machine has outliers.
void reportPairs(benchmark::State &state, const std::vector<double> &program, const std::vector<double> &floor,
    const char *programName, const char *floorName)
{
    if (program.empty())
        return;
    state.counters[programName] = median(program);
    state.counters[floorName] = median(floor);
    state.counters["ratio"] = median(program) / median(floor);
}

// One connection for the whole run: the X server starts afresh whenever its last client
// leaves, and would do so between the programs. Nothing, the benchmark skipped, without one.
WindowWatch *windowWatch(benchmark::State &state)
{
    home();
    static WindowWatch watch;
    if (watch.isConnected())
        return &watch;
    state.SkipWithError("no X server: run bench/run-startup-bench");
    return nullptr;
}

void BM_EditorWindowAgainstMinimalWindow(benchmark::State &state)
{
    WindowWatch *watch = windowWatch(state);
    if (!watch)
        return;
    std::vector<double> editor;
    std::vector<double> minimal;
    for (auto _ : state) {
        const Started bare = startWindow(*watch, { TAGSMITH_MINIMAL_WINDOW });
        stop(bare.pid);
        const Started program = startWindow(*watch, { TAGSMITH_EXECUTABLE });
        stop(program.pid);
        if (!bare.shown || !program.shown) {
            state.SkipWithError(bare.shown ? "the editor's window did not come up" : "the bare window did not come up");
            return;
        }
        minimal.push_back(bare.paintedMs());
        editor.push_back(program.paintedMs());
        state.SetIterationTime(editor.back() / 1000);
    }
    reportPairs(state, editor, minimal, "editor_ms", "minimal_ms");
}

void BM_SecondStartHandsOverPage(benchmark::State &state)
{
    WindowWatch *watch = windowWatch(state);
    if (!watch)
        return;
    const Started first = startWindow(*watch, { TAGSMITH_EXECUTABLE });
    if (!first.shown) {
        stop(first.pid);
        state.SkipWithError("the first copy did not come up");
        return;
    }
    std::vector<double> handOvers;
    for (auto _ : state) {
        const std::optional<double> handOver = runMs({ TAGSMITH_EXECUTABLE, tinyPage() });
        if (!handOver) {
            state.SkipWithError("the second start failed");
            break;
        }
        handOvers.push_back(*handOver);
        state.SetIterationTime(*handOver / 1000);
    }
    stop(first.pid);
    if (!handOvers.empty())
        state.counters["handover_ms"] = median(handOvers);
}

void BM_TsmetaReadTinyPageAgainstCat(benchmark::State &state)
{
    std::vector<double> tsmeta;
    std::vector<double> cat;
    for (auto _ : state) {
        const std::optional<double> read = runMs({ TAGSMITH_TSMETA, "read", tinyPage() });
        const std::optional<double> floor = runMs({ "cat", tinyPage() });
        if (!read || !floor) {
            state.SkipWithError("tsmeta or cat failed");
            return;
        }
        tsmeta.push_back(*read);
        cat.push_back(*floor);
        state.SetIterationTime(*read / 1000);
    }
    reportPairs(state, tsmeta, cat, "tsmeta_ms", "cat_ms");
}

} // namespace

BENCHMARK(BM_EditorWindowAgainstMinimalWindow)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(30);
BENCHMARK(BM_SecondStartHandsOverPage)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(30);
BENCHMARK(BM_TsmetaReadTinyPageAgainstCat)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(300);

BENCHMARK_MAIN();
