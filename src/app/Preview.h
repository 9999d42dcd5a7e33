#pragma once

#include "platform/Platform.h"

#include <QString>

#include <vector>

namespace merivane {

// One simulated change: when, what it would choose and why.
struct PreviewChange {
    SerialDate When = 0;
    QString FileName;  // empty: nothing could be chosen
    QString Reason;    // as explain says it ("Regular event - Next", "No Choices"...)
    int Candidates = 0;
    QString Event;  // the event the chosen file's name names; empty for none
    // Whether the day has a file of its own: one in season for an event rather than any day.
    bool OwnFile = false;
};

// The changes Merivane would make from the day `from` on, for `days` days: at ScheduledTime
// (and N times a day when ChangesPerDay is N with a timed method), from today's statistics,
// through the whole decision of a real change (each day's windows, overrides, favourites,
// time words at that hour, the sequential turn moving on, random choices from a source
// seeded from the first year, so that a preview repeats). Nothing is written anywhere.
std::vector<PreviewChange> PreviewChanges(Platform& platform, SerialDate from, int days);

// Tab-separated: date, time, file, reason, number of candidates; a header line first.
QString PreviewText(const std::vector<PreviewChange>& changes);

// A sheet of the days, one cell each with a small picture of the wallpaper the day gets
// and the event's name, days without a file of their own marked: a PNG of all the months,
// or a PDF of one month a page, by the file's extension. False (with `error`) when the
// file cannot be written.
bool WritePreviewSheet(const std::vector<PreviewChange>& changes, const HomeLayout& home, const QString& path,
                       QString* error);

}  // namespace merivane
