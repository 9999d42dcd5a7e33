#pragma once

#include "platform/SerialDate.h"

#include <QStringList>

#include <vector>

class QPagedPaintDevice;

namespace merivane {

struct ScheduleRow;
struct EventRowText;

// A listing to print: the files/themes list or the events list, with the texts of its rows.
struct Listing {
    enum class Kind { Files, Events };
    Kind Type = Kind::Files;
    QString Title;
    bool Portrait = false;
    // Per row, the texts of its columns in the order they are printed.
    std::vector<QStringList> Rows;
};

// The files/themes listing of rows as the list shows them (landscape adds the override dates).
Listing FilesListing(const std::vector<ScheduleRow>& rows, bool portrait);
// The events listing of the year shown.
Listing EventsListing(const std::vector<EventRowText>& rows, int year);

// Prints the listing page by page in its fixed layout in twips from the page's corner,
// Arial (or the desktop's sans-serif), "Printed on " the long date of `today` and the page
// numbers at the foot of each page. An events listing turns the device to portrait. False
// when the device cannot be painted on.
bool PrintListing(QPagedPaintDevice& device, const Listing& listing, SerialDate today);

}  // namespace merivane
