#pragma once

#include "calendar/FileEntry.h"
#include "settings/SettingsState.h"

#include <QStringList>
#include <QtGlobal>

#include <vector>

namespace merivane {

// One row of the Files/Themes list (and of its printed listing): what its eleven columns
// show, kept as values so that texts are made only when they are shown.
struct ScheduleRow {
    QString Name;      // column 0, as the list shows the name
    QString FullName;  // column 10
    bool IsTheme = false;
    bool IsFavorite = false;
    SerialDate StartDate = 0;
    SerialDate EndDate = 0;
    std::int16_t DaysShown = 0;
    std::int16_t Priority = 0;
    QString OverrideText;

    // Columns 1 to 10 from a catalogue entry (FillScheduleRow); the name stays.
    void Fill(const FileEntry& entry);
};

// A catalogue entry as a row; its name as the list shows it (with the subfolders below the
// theme or wallpaper folder when `ShowSubfolders` is on).
ScheduleRow ScheduleRowOf(const FileEntry& entry, const AppSettings& setup);
// Every catalogued file as a row, in catalogue order.
std::vector<ScheduleRow> ScheduleRowsOf(const std::vector<FileEntry>& catalogue, const AppSettings& setup);

// The columns of the list, by index.
enum ScheduleColumn {
    kFilenameColumn,
    kTypeColumn,
    kFavColumn,
    kStartsColumn,
    kEndsColumn,
    kDaysColumn,
    kOverrideColumn,
    kOverrideDatesColumn,
    kStartHiddenColumn,
    kEndHiddenColumn,
    kFullFilenameHiddenColumn,
    kScheduleColumnCount
};

const QStringList& ScheduleHeaders();
// The text of one column of a row, as the list shows it.
QString ScheduleText(const ScheduleRow& row, int column);
// Whether `a` comes before `b` in the list sorted by the header `column` (0..7, each by its
// sequence of keys, the hidden day counts standing in for the shown dates).
bool ScheduleRowBefore(const ScheduleRow& a, const ScheduleRow& b, int column, Qt::SortOrder order);

}  // namespace merivane
