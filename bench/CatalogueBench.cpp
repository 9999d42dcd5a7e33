// The catalogue of a large collection: 25,000 files in 2,500 folders, six levels deep, with
// the shipped event table. BuildCatalogue and a whole change decision, beside `find` listing
// the same tree in the same run, a whole "merivanectl explain" process beside it, and the
// peak memory of a real "merivane /n" process, and a resident process left idle.
#include "LargeCollection.h"
#include "app/Main.h"
#include "platform/linux/HostPlatform.h"
#include "selection/Catalogue.h"
#include "selection/Choice.h"
#include "settings/Settings.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <random>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace merivane {
namespace {

using bench::Collection;
using bench::MakeProgram;
using bench::Setup;
using bench::Tree;

void Find(benchmark::State& state) {
    const Collection& tree = Tree();
    for (auto _ : state) {
        QProcess find;
        find.start(QStringLiteral("find"), {tree.Root(), QStringLiteral("-type"), QStringLiteral("f")});
        find.waitForFinished(-1);
        benchmark::DoNotOptimize(find.readAllStandardOutput().size());
    }
}
BENCHMARK(Find)->Unit(benchmark::kMillisecond);

void BuildCatalogueOfTheCollection(benchmark::State& state) {
    Setup s = MakeProgram();
    for (auto _ : state) {
        s.State->ResetCatalogue();
        BuildCatalogue(*s.State, false);
    }
    state.counters["files"] = static_cast<double>(s.State->Catalogue.size());
}
BENCHMARK(BuildCatalogueOfTheCollection)->Unit(benchmark::kMillisecond);

void ChangeDecision(benchmark::State& state) {
    Setup s = MakeProgram();
    for (auto _ : state) {
        s.State->ResetCatalogue();
        benchmark::DoNotOptimize(DecideChange(*s.State));
    }
    state.counters["candidates"] = static_cast<double>(s.State->Candidates.size());
}
BENCHMARK(ChangeDecision)->Unit(benchmark::kMillisecond);

// A whole "merivanectl explain" as its own process, to set beside Find: the catalogue of the
// tree, the candidates and the choice, from the start of a process to its end.
void ExplainProcess(benchmark::State& state) {
    MakeProgram();
    for (auto _ : state) {
        QProcess process;
        process.start(QStringLiteral(MERIVANECTL_EXECUTABLE), {QStringLiteral("explain")});
        process.waitForFinished(-1);
        benchmark::DoNotOptimize(process.readAllStandardOutput().size());
    }
}
BENCHMARK(ExplainProcess)->Unit(benchmark::kMillisecond)->Iterations(10);

// The whole "/n" as its own process: time and peak resident memory.
void ChangeNowProcess(benchmark::State& state) {
    MakeProgram();
    long peakKb = 0;
    for (auto _ : state) {
        QProcess process;
        process.start(QStringLiteral(MERIVANE_EXECUTABLE), {QStringLiteral("/n")});
        process.waitForFinished(-1);
        rusage usage{};
        getrusage(RUSAGE_CHILDREN, &usage);
        peakKb = std::max(peakKb, usage.ru_maxrss);
    }
    state.counters["peak_MB"] = static_cast<double>(peakKb) / 1024.0;
}
BENCHMARK(ChangeNowProcess)->Unit(benchmark::kMillisecond)->Iterations(5);

// "/c" when no change is due: it must not scan.
void CheckNotDueProcess(benchmark::State& state) {
    MakeProgram();
    QProcess now;
    now.start(QStringLiteral(MERIVANE_EXECUTABLE), {QStringLiteral("/n")});
    now.waitForFinished(-1);
    for (auto _ : state) {
        QProcess process;
        process.start(QStringLiteral(MERIVANE_EXECUTABLE), {QStringLiteral("/c")});
        process.waitForFinished(-1);
    }
}
BENCHMARK(CheckNotDueProcess)->Unit(benchmark::kMillisecond)->Iterations(10);

// The yardstick for CheckNotDueProcess: linking the windows must not slow the log-in check.
void BareQtGuiProcess(benchmark::State& state) {
    for (auto _ : state) {
        QProcess process;
        process.start(QStringLiteral(BARE_QT_EXECUTABLE), {});
        process.waitForFinished(-1);
    }
}
BENCHMARK(BareQtGuiProcess)->Unit(benchmark::kMillisecond)->Iterations(10);

// What a process has used of the processor so far (user and system), in seconds.
double CpuSeconds(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) {
        return 0;
    }
    const QByteArray text = stat.readAll();
    // The fields after the command name, which may hold blanks, counted from its ')'.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    return (fields.value(11).toDouble() + fields.value(12).toDouble()) /
           static_cast<double>(sysconf(_SC_CLK_TCK));
}

double ResidentMegabytes(qint64 pid, const QByteArray& field = QByteArrayLiteral("VmRSS:")) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field)) {
            return line.mid(field.size()).trimmed().split(' ').value(0).toDouble() / 1024.0;
        }
    }
    return 0;
}

// A resident Merivane left to itself with the collection in its catalogue: the log-in
// check makes the day's change (the catalogue is built), then it idles until the next
// slot. MERIVANE_BENCH_IDLE_SECONDS sets the idle time (600 by default).
void ResidentIdleProcess(benchmark::State& state) {
    Setup s = MakeProgram();
    s.State->Setup.TypeOfScheduling = 2;
    s.State->Setup.ScheduledTime = 0.5 / 24;
    s.State->Setup.ChangesPerDay = 1;
    s.State->LastChange.ChangeDate = s.Host->Get().Time.Now() - 1;
    SaveSettings(*s.State, true, true, false);
    const int idleSeconds = qEnvironmentVariableIntValue("MERIVANE_BENCH_IDLE_SECONDS") > 0
                                ? qEnvironmentVariableIntValue("MERIVANE_BENCH_IDLE_SECONDS")
                                : 600;
    for (auto _ : state) {
        QProcess resident;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        resident.setProcessEnvironment(env);
        resident.start(QStringLiteral(MERIVANE_EXECUTABLE), {QStringLiteral("/c")});
        resident.waitForStarted(-1);
        // The change of the log-in check comes first; the idle time is counted after it.
        resident.waitForFinished(10000);
        const double cpuBefore = CpuSeconds(resident.processId());
        QElapsedTimer idle;
        idle.start();
        resident.waitForFinished(idleSeconds * 1000);
        const double cpu = CpuSeconds(resident.processId()) - cpuBefore;
        state.counters["idle_s"] = static_cast<double>(idle.elapsed()) / 1000.0;
        state.counters["cpu_percent"] = 100.0 * cpu / (static_cast<double>(idle.elapsed()) / 1000.0);
        state.counters["rss_MB"] = ResidentMegabytes(resident.processId());
        // The program's own memory, beside the libraries' pages that other programs share.
        state.counters["anon_MB"] = ResidentMegabytes(resident.processId(), QByteArrayLiteral("RssAnon:"));
        resident.terminate();
        resident.waitForFinished(10000);
    }
}
BENCHMARK(ResidentIdleProcess)->Unit(benchmark::kSecond)->Iterations(1);

void UsageProcess(benchmark::State& state) {
    MakeProgram();
    for (auto _ : state) {
        QProcess process;
        process.start(QStringLiteral(MERIVANE_EXECUTABLE), {QStringLiteral("/?")});
        process.waitForFinished(-1);
    }
}
BENCHMARK(UsageProcess)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
}  // namespace merivane
