// The setup window over the 25,000-file collection, offscreen: from the program's start-up
// reading to the Files/Themes tab painted with every row, a header click re-sorting all
// rows, and one row redrawn after an override is saved.
#include "LargeCollection.h"
#include "app/Preview.h"
#include "calendar/Matching.h"
#include "selection/Catalogue.h"
#include "ui/EventsTab.h"
#include "ui/FilesTab.h"
#include "ui/frmMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace merivane {
namespace {

// One application for the benchmarks of windows, made when the first one runs.
void EnsureApplication() {
    static int argc = 1;
    static char name[] = "merivane_bench";
    static char* argv[] = {name, nullptr};
    static QApplication* application = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        return new QApplication(argc, argv);
    }();
    benchmark::DoNotOptimize(application);
}

// What a start of "merivane" does before its event loop, the process itself aside.
void OpenSetupWindowOnTheCollection(benchmark::State& state) {
    EnsureApplication();
    bench::Tree();
    for (auto _ : state) {
        bench::Setup s = bench::MakeProgram();
        auto* window = new frmMain(*s.State);
        window->Load();
        QApplication::processEvents();
        benchmark::DoNotOptimize(window->grab().size());
        state.counters["rows"] = window->Files().Model().rowCount();
        state.PauseTiming();
        delete window;
        state.ResumeTiming();
    }
}
BENCHMARK(OpenSetupWindowOnTheCollection)->Unit(benchmark::kMillisecond)->Iterations(3);

struct OpenWindow {
    bench::Setup S = bench::MakeProgram();
    frmMain* Window = nullptr;
    OpenWindow() {
        EnsureApplication();
        Window = new frmMain(*S.State);
        Window->Load();
        QApplication::processEvents();
    }
    ~OpenWindow() { delete Window; }
};

void SortTheListByAHeaderClick(benchmark::State& state) {
    OpenWindow open;
    FilesTab& files = open.Window->Files();
    files.SelectRow(files.Model().rowCount() / 2);
    const int columns[] = {ScheduleModel::Starts, ScheduleModel::Filename, ScheduleModel::Days};
    int turn = 0;
    for (auto _ : state) {
        files.SortByColumn(columns[turn++ % 3]);
        QApplication::processEvents();
        benchmark::DoNotOptimize(open.Window->grab().size());
    }
}
BENCHMARK(SortTheListByAHeaderClick)->Unit(benchmark::kMillisecond)->Iterations(9);

void RedrawOneRowAfterAnOverride(benchmark::State& state) {
    OpenWindow open;
    FilesTab& files = open.Window->Files();
    Program& program = *open.S.State;
    files.SelectRow(files.Model().rowCount() / 2);
    int turn = 0;
    for (auto _ : state) {
        const int row = files.SelectedRow();
        const int entry = FindCatalogueEntry(program, files.Model().Row(row).FullName, Qt::CaseSensitive);
        FileEntry& file = program.Catalogue[static_cast<size_t>(entry)];
        file.OverrideText = (turn++ % 2) != 0 ? QStringLiteral("12/25") : QStringLiteral("halloween");
        file.DaysShown = 5;
        ComputeFileWindow(program, file);
        files.UpdateScheduleFrame(entry);
        QApplication::processEvents();
    }
}
BENCHMARK(RedrawOneRowAfterAnOverride)->Unit(benchmark::kMicrosecond)->Iterations(50);

// The Events tab over a table of 2,000 events (the shipped table's rules over and over),
// each rule evaluated for the year.
void FillEventListOfTwoThousandEvents(benchmark::State& state) {
    OpenWindow open;
    Program& program = *open.S.State;
    const std::vector<EventRecord> shipped = program.Events;
    program.Events.clear();
    for (int i = 0; program.Events.size() < 2000; ++i) {
        EventRecord event = shipped[static_cast<size_t>(i) % shipped.size()];
        event.Name += QStringLiteral(" %1").arg(i);
        program.Events.push_back(event);
    }
    EventsTab& events = open.Window->Events();
    for (auto _ : state) {
        events.FillEventList();
        benchmark::DoNotOptimize(events.Model().rowCount());
    }
    state.counters["events"] = static_cast<double>(events.Model().rowCount());
}
BENCHMARK(FillEventListOfTwoThousandEvents)->Unit(benchmark::kMillisecond)->Iterations(20);

// A whole year of the collection previewed: the decision of every day, as text and as the
// sheet of pictures.
void PreviewYearOfTheCollection(benchmark::State& state) {
    EnsureApplication();
    bench::Setup s = bench::MakeProgram();
    const bool sheet = state.range(0) != 0;
    QTemporaryDir out;
    for (auto _ : state) {
        const auto changes = PreviewChanges(s.Host->Get(), *SerialFromYmd(2026, 1, 1), 365);
        if (sheet) {
            QString error;
            WritePreviewSheet(changes, s.Host->Get().Home, out.filePath("year.png"), &error);
        } else {
            benchmark::DoNotOptimize(PreviewText(changes).size());
        }
        state.counters["days"] = static_cast<double>(changes.size());
    }
}
BENCHMARK(PreviewYearOfTheCollection)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
}  // namespace merivane
