#pragma once

#include "calendar/DateRules.h"
#include "calendar/EventTable.h"
#include "calendar/FileEntry.h"

#include <QString>

#include <optional>

namespace merivane {

// " " + the text, trimmed, normalised and lower-cased + " ": event name keys have the same
// form, so they match whole words only; keywords match any part.
QString MatchingKey(const QString& text);

// A four-digit year at the start or the end of the text (of the matching key `key`) that
// lies within 15 years before and 25 after the current year; nothing when there is none.
std::optional<int> YearInKey(const QString& key, int currentYear);
// The same as a year text, the current year when the text names none.
QString YearFromText(const QString& key, int currentYear);

// The event a text names and its window, for the current year or a year in the text.
struct TextMatch {
    EventWindow Window;
    int EventIndex = -1;  // into Events; -1 when no key matched
};
TextMatch MatchText(const CalendarState& state, const QString& text, bool yearFromText);
EventWindow FindEventForText(const CalendarState& state, const QString& text, bool yearFromText);

// An override's ending date: dates and event names separated by ";" (15 at most); of
// several, the one that ends next (today or later, within 999 days).
EventWindow ParseEndingDateList(const CalendarState& state, const QString& text, bool yearFromText);

// Fills the entry's window from its override, or else from its name.
void ComputeFileWindow(const CalendarState& state, FileEntry& entry);
// The key by which files of one window come in turn: the end date ("yyyyMMdd"), a blank, the
// lower-cased name. Made when sorting rather than kept with every file of the catalogue.
QString SortKeyOf(const FileEntry& entry);

// What the Events tab shows in one row: the year schedule, then the event's own fields.
struct EventRowText {
    QString Name, StartsOn, EndsOn, Days, StartHidden, EndHidden;
    QString Type, Month, Day, Shown, Keywords;
};
inline const QString kUndefinedHoliday = QStringLiteral("*** UNDEFINED HOLIDAY ***");
EventRowText FillEventRow(const EventRecord& event, const std::optional<EventWindow>& window);
// Every event of the table as a row of the year, in table order.
std::vector<EventRowText> EventRowsOfYear(const CalendarState& state, int year);

// The rule context of the state: the current year of its clock and the hemisphere setting.
RuleContext RuleContextOf(const CalendarState& state);

}  // namespace merivane
