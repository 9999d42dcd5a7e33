#pragma once

#include <QString>

#include <cstdint>

namespace merivane {

// One event of the table.
struct EventRecord {
    QString Name;
    QChar RuleType = u' ';
    std::int16_t Month = 0;
    std::int16_t DayOrWeek = 0;
    std::int16_t DaysShown = 0;
    QString Keywords;

    bool operator==(const EventRecord&) const = default;
};

// A key to look for in a file's matching key, and the event (index into Events) it names.
struct KeywordEntry {
    QString Key;
    int EventIndex = 0;

    bool operator==(const KeywordEntry&) const = default;
};

}  // namespace merivane
