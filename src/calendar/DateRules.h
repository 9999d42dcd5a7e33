#pragma once

#include "calendar/EventTable.h"
#include "platform/SerialDate.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace merivane {

// Where an event is in effect: the DaysShown days ending with EndDate. 999 marks an event
// without a valid rule (any day); 0 or less, never.
struct EventWindow {
    SerialDate EndDate = 0;
    std::int16_t DaysShown = 0;

    bool operator==(const EventWindow&) const = default;
};

inline constexpr std::int16_t kAnyDay = 999;

// What the rules need besides the event and the year: the current year (for undefined
// rules and for years outside the church rules' range) and the hemisphere of the seasons.
struct RuleContext {
    int CurrentYear = 2026;
    bool SouthernHemisphere = false;
};

// The date with that day, month and year (a year text of 100..9999); nothing when the
// date does not exist. Never rolls over into another month.
std::optional<SerialDate> DateFromParts(int month, int day, const QString& year);

// The event's window in the year; nothing when its date cannot be formed that year.
std::optional<EventWindow> EventDateForYear(const EventRecord& event, const QString& year,
                                            const RuleContext& context);

// 0 = Sunday .. 6 = Saturday.
int WeekdayOf(SerialDate day);

}  // namespace merivane
