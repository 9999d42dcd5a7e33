// Matching file names to events: 25,000 names against a table of 2,000 keys, by the plain
// scan of the keyword list and by the automaton that replaces it.
#include "calendar/KeywordMatcher.h"

#include <benchmark/benchmark.h>

#include <random>

namespace merivane {
namespace {

struct Workload {
    std::vector<KeywordEntry> Keys;
    std::vector<QString> Names;
};

const Workload& Load() {
    static const Workload workload = [] {
        std::mt19937 rng(11);
        const char* syllables[] = {"an", "ber", "cal", "dor", "el", "fen", "gar", "hol", "is", "jul",
                                   "ka", "lo",  "mer", "nor", "os", "pa",  "qu",  "ri",  "sa", "tor"};
        auto word = [&](int parts) {
            QString w;
            for (int i = 0; i < parts; ++i) {
                w += QString::fromLatin1(syllables[rng() % 20]);
            }
            return w;
        };
        Workload w;
        for (int i = 0; i < 2000; ++i) {
            // Event name keys (whole words) and keywords, longest first as the list orders them.
            QString key = i % 2 == 0 ? u' ' + word(2 + static_cast<int>(rng() % 3)) + u' '
                                     : word(2 + static_cast<int>(rng() % 2));
            w.Keys.push_back({key, i});
        }
        std::stable_sort(w.Keys.begin(), w.Keys.end(), [](const KeywordEntry& a, const KeywordEntry& b) {
            return a.Key.size() > b.Key.size();
        });
        for (int i = 0; i < 25000; ++i) {
            w.Names.push_back(u' ' + word(3) + u' ' + word(2) + QStringLiteral(" 20") +
                              QString::number(10 + i % 30) + u' ');
        }
        return w;
    }();
    return workload;
}

void PlainScan(benchmark::State& state) {
    const Workload& w = Load();
    for (auto _ : state) {
        long long sum = 0;
        for (const QString& name : w.Names) {
            sum += FirstMatchByScan(w.Keys, name);
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(PlainScan)->Unit(benchmark::kMillisecond);

void Automaton(benchmark::State& state) {
    const Workload& w = Load();
    KeywordMatcher matcher(w.Keys);
    for (auto _ : state) {
        long long sum = 0;
        for (const QString& name : w.Names) {
            sum += matcher.FirstMatch(name);
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(Automaton)->Unit(benchmark::kMillisecond);

void BuildAutomaton(benchmark::State& state) {
    const Workload& w = Load();
    for (auto _ : state) {
        KeywordMatcher matcher(w.Keys);
        benchmark::DoNotOptimize(matcher);
    }
}
BENCHMARK(BuildAutomaton)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace merivane
