#pragma once

#include "platform/SerialDate.h"

#include <QString>

#include <optional>

namespace merivane {

// Dates and times are kept in the registry as text. They are written in one fixed form,
// whatever the user's locale, so that a change of locale never makes a stored date
// unreadable: "12/9/2026 9:41:07 PM" (general date; the date alone at midnight, the time
// alone on day 0) and "09:41 PM" (medium time).
QString GeneralDateText(SerialDate serial);
QString MediumTimeText(SerialDate serial);

// For people rather than for reading back: "Wednesday, December 9, 2026" and "9:41:07 PM".
QString LongDateText(SerialDate serial);
QString LongTimeText(SerialDate serial);
// The short form of the lists, the same in every locale and unambiguous in all of them:
// "25-Dec-26". The printed listing's columns are placed for dates of this width.
QString MediumDateText(SerialDate serial);

// Reads the fixed forms back, and also ISO dates and date-times ("2026-12-09",
// "2026-12-09T21:41:07", "2026-12-09 21:41") and 24-hour times ("21:41", "21:41:07").
// A time alone gives a serial on day 0; a date alone gives midnight.
std::optional<SerialDate> ParseDateText(const QString& text);

// A date as a user writes it, for the year `currentYear` when no year is given: the full
// date of the user's locale, ISO ("2026-12-31"), "12/31", "12/31/2026" (day/month when
// month/day cannot be), "dec 31", "31 dec", "December 31", "December 31, 2026",
// "31 December 2026". Nothing for any other text.
std::optional<SerialDate> ParseUserDate(const QString& text, int currentYear);

}  // namespace merivane
