// The event table file: parsing, the keyword index and its automaton, the rules of every
// event, and the save form read back.
#include "FuzzSupport.h"

#include "calendar/DateRules.h"
#include "calendar/EventTable.h"
#include "calendar/KeywordMatcher.h"
#include "platform/TextFile.h"

using namespace merivane;

namespace {
std::vector<EventRow> RowsOf(const std::vector<EventRecord>& events) {
    std::vector<EventRow> rows;
    for (const EventRecord& e : events) {
        rows.push_back({e.Name, QString(e.RuleType), QString::number(e.Month), QString::number(e.DayOrWeek),
                        QString::number(e.DaysShown), e.Keywords});
    }
    return rows;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = DecodeText(fuzz::Bytes(data, size));
    const auto events = ParseEventTable(text);
    const auto keys = BuildKeywordIndex(events);
    for (const KeywordEntry& k : keys) {
        FUZZ_CHECK(k.EventIndex >= 0 && k.EventIndex < static_cast<int>(events.size()));
    }
    // The automaton finds what the plain scan finds.
    KeywordMatcher matcher(keys);
    const QStringList probes = text.left(4096).split(u'\n');
    for (const QString& probe : probes.mid(0, 8)) {
        QString key = u' ' + probe.toLower() + u' ';
        FUZZ_CHECK(matcher.FirstMatch(key) == FirstMatchByScan(keys, key));
    }
    // Every rule can be evaluated for any year without harm, and real windows are sane.
    for (const EventRecord& e : events) {
        for (const char* year : {"1980", "2026", "2150", "9999", "100", "x"}) {
            auto window = EventDateForYear(e, year, RuleContext{2026, (size & 1) != 0});
            if (window && window->DaysShown > 0 && window->DaysShown < kAnyDay) {
                FUZZ_CHECK(window->EndDate > -700000 && window->EndDate < 3000000);
            }
        }
    }
    // What the program saves reads back as the same events.
    const auto again = ParseEventTable(EventTableText(RowsOf(events), 46365.5));
    FUZZ_CHECK(again == events);
    return 0;
}
