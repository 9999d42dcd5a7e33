// The catalogue of a large collection: 25,000 files in 2,500 folders, six levels deep, with
// the shipped event table. BuildCatalogue and a whole change decision, beside `find` listing
// the same tree in the same run, a whole "merivanectl explain" process beside it, and the
// peak memory of a real "merivane /n" process, and a resident process left idle.
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

constexpr int kFolders = 2500;
constexpr int kFilesPerFolder = 10;

const char* const kWords[] = {"Christmas", "Snow",    "Halloween", "Night",        "Spring",
                              "Garden",    "Easter",  "Beach",     "Summer",       "Lake",
                              "Forest",    "Autumn",  "Leaves",    "Hanukkah",     "Valentine",
                              "Hearts",    "Morning", "Winter",    "Thanksgiving", "Fireworks"};

struct Collection {
    QTemporaryDir Dir;
    QString Root() const { return Dir.path() + "/collection/"; }
    QString Home() const { return Dir.path() + "/home"; }
};

const Collection& Tree() {
    static Collection* collection = [] {
        auto* c = new Collection;
        std::mt19937 rng(5);
        for (int i = 0; i < kFolders; ++i) {
            // Folder i by its digits in base 5: six levels below the root.
            QString folder = c->Root();
            for (int level = 0, n = i; level < 5; ++level, n /= 5) {
                folder += QStringLiteral("L%1-%2/").arg(level).arg(n % 5);
            }
            folder += QStringLiteral("F%1/").arg(i);
            QDir().mkpath(folder);
            for (int f = 0; f < kFilesPerFolder; ++f) {
                QString name = QStringLiteral("%1 %2 %3%4")
                                   .arg(kWords[rng() % 20], kWords[rng() % 20])
                                   .arg(f)
                                   .arg(f % 3 == 0 ? ".theme" : ".jpg");
                QFile(folder + name).open(QIODevice::WriteOnly);
            }
        }
        return c;
    }();
    return *collection;
}

// A program whose home holds the shipped table and whose settings scan the collection.
struct Setup {
    std::unique_ptr<HostPlatform> Host;
    std::unique_ptr<Program> State;
};

Setup MakeProgram() {
    const Collection& tree = Tree();
    qputenv("MERIVANE_HOME", tree.Home().toUtf8());
    qputenv("MERIVANE_NOW", "2026-12-20T10:00");
    Setup s;
    s.Host = HostPlatform::Create(HostPlatform::Use::Tool, QStringLiteral("merivane_bench"));
    s.State = std::make_unique<Program>(s.Host->Get());
    SetStartupGlobals(*s.State);
    LoadSettings(*s.State);
    LoadEventTable(*s.State);
    AppSettings& setup = s.State->Setup;
    setup.ThemePath = tree.Root();
    setup.WallpaperPath = tree.Root();
    setup.UseThemeSubfolders = true;
    setup.UseWallpaperSubfolders = true;
    setup.FilesToUse = 2;
    SaveSettings(*s.State, false, true, false);
    return s;
}

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

double ResidentMegabytes(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
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
