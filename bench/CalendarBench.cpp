// Evaluating the date rules: every event of the shipped table for every year the church
// rules accept, as the Events tab and a catalogue build do it.
#include "calendar/DateRules.h"
#include "calendar/EventTable.h"
#include "platform/TextFile.h"

#include <benchmark/benchmark.h>

namespace merivane {
namespace {

std::vector<EventRecord> ShippedEvents() {
    auto text = ReadTextFile(QStringLiteral(MERIVANE_SOURCE_DATA_DIR) + "/Merivane.hol");
    return text ? ParseEventTable(*text) : std::vector<EventRecord>{};
}

void EveryEventEveryYear(benchmark::State& state) {
    const auto events = ShippedEvents();
    QStringList years;
    for (int y = 1980; y <= 2150; ++y) {
        years << QString::number(y);
    }
    const RuleContext context{2026, false};
    for (auto _ : state) {
        int defined = 0;
        for (const QString& year : years) {
            for (const EventRecord& event : events) {
                auto window = EventDateForYear(event, year, context);
                defined += window && window->DaysShown > 0;
            }
        }
        benchmark::DoNotOptimize(defined);
    }
    state.counters["evaluations"] = benchmark::Counter(static_cast<double>(events.size() * years.size()),
                                                       benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(EveryEventEveryYear)->Unit(benchmark::kMillisecond);

void LoadShippedTable(benchmark::State& state) {
    const QString text = *ReadTextFile(QStringLiteral(MERIVANE_SOURCE_DATA_DIR) + "/Merivane.hol");
    for (auto _ : state) {
        auto events = ParseEventTable(text);
        benchmark::DoNotOptimize(BuildKeywordIndex(events));
    }
}
BENCHMARK(LoadShippedTable)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace merivane
