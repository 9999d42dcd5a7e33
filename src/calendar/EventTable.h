#pragma once

#include "calendar/EventRecord.h"
#include "calendar/KeywordMatcher.h"
#include "settings/SettingsState.h"

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace merivane {

inline const QString kEventTableFileName = QStringLiteral("Merivane.hol");

// The event table as the Events tab holds it: name, rule type, month, day or week, days
// shown, keywords, each as text.
using EventRow = std::array<QString, 6>;

// The calendar's part of the program state: the event table and its keyword list.
struct CalendarState : SettingsState {
    using SettingsState::SettingsState;

    std::vector<EventRecord> Events;
    // In matching priority: longer keys first, then table order.
    std::vector<KeywordEntry> KeywordList;
    // Finds the first entry of KeywordList that occurs in a text, built with the list.
    KeywordMatcher Matcher;
    // Set while a chosen file is being applied: two changes must never share a working copy.
    bool ApplyInProgress = false;
    // Set while this process holds the home's turn to change (ChangeTurn).
    bool HoldsChangeTurn = false;
    // The desktop icons' positions as last read, around a change and for "/p".
    DesktopIcons Icons;
};

// Every line that is not blank and does not begin with ';' is one event, its fields
// separated by tabs; a malformed line still gives an event, with defaults for what is
// missing or does not read.
std::vector<EventRecord> ParseEventTable(const QString& text);
std::vector<KeywordEntry> BuildKeywordIndex(const std::vector<EventRecord>& events);
// The file's text: the header (dated `now`) and one line per row, CR LF line ends.
QString EventTableText(const std::vector<EventRow>& rows, SerialDate now);

// Reads AppPath + "Merivane.hol" (the shipped table when the home has none); a file that
// cannot be read leaves the table as it was.
void LoadEventTable(CalendarState& state);
// The table file that is read: AppPath's own, else the shipped one when the home has none.
QString EventTableToRead(const QString& appPath, const HomeLayout& home);
// Writes the rows (replacing the file in one step) and loads the table again. A file
// that cannot be written is reported in a message box and changes nothing (false).
bool SaveEventTable(CalendarState& state, const std::vector<EventRow>& rows);

// While the program is not writing it, the table is read-only (the attributes read-only,
// hidden and system of the Windows program); writable again before it is rewritten or
// deleted. A missing file is no error.
void SetEventTableHidden(const SettingsState& state);
void SetEventTableNormal(const SettingsState& state);

}  // namespace merivane
