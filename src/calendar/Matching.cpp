#include "calendar/Matching.h"

#include "calendar/Words.h"
#include "platform/Paths.h"
#include "platform/TextFile.h"
#include "settings/DateText.h"
#include "settings/Variant.h"

#include <QLocale>

#include <limits>

namespace merivane {

namespace {

constexpr int kMaxListItems = 15;

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int YearOf(SerialDate day) {
    return DateOfSerial(day).year();
}

SerialDate LastOfDecember(int year) {
    return *SerialFromYmd(year, 12, 31);
}

bool IsReal(const EventWindow& w) {
    return w.DaysShown >= 1 && w.DaysShown < kAnyDay;
}

// "yyyyMMdd", as QDate would write it, without its format parser (once per catalogued file).
QString DateKey(SerialDate day) {
    const QDate date = DateOfSerial(day);
    if (!date.isValid()) {
        return QString();
    }
    const int year = date.year();
    if (year < 0 || year > 9999) {
        return date.toString(QStringLiteral("yyyyMMdd"));
    }
    const int digits[8] = {year / 1000,       year / 100 % 10,   year / 10 % 10,  year % 10,
                           date.month() / 10, date.month() % 10, date.day() / 10, date.day() % 10};
    QString key(8, Qt::Uninitialized);
    for (int i = 0; i < 8; ++i) {
        key[i] = QChar(u'0' + digits[i]);
    }
    return key;
}

bool Holds(const EventWindow& w, SerialDate day) {
    return IsReal(w) && w.EndDate - w.DaysShown + 1 <= day && day <= w.EndDate;
}

// The window of year Y - 1 that runs on into Y, when it counts instead of Y's own: for a
// year named in the text, when Y's own window lies wholly after 31 December of Y (the Jewish
// months of the autumn and winter are placed in the Jewish year that begins in Y); for the
// current year, whenever today lies outside Y's own window and last year's has not ended
// (Hanukkah on 1 January, Ramadan in January, Tu BiShvat).
std::optional<EventWindow> EarlierCounterpart(const EventRecord& event, int year, const EventWindow& window,
                                              bool yearFromName, SerialDate today,
                                              const RuleContext& context) {
    if (yearFromName ? !IsReal(window) || window.EndDate - window.DaysShown + 1 <= LastOfDecember(year)
                     : Holds(window, today)) {
        return std::nullopt;
    }
    auto earlier = EventDateForYear(event, QString::number(year - 1), context);
    if (!earlier || !IsReal(*earlier) || YearOf(earlier->EndDate) != year) {
        return std::nullopt;
    }
    if (yearFromName || earlier->EndDate >= today) {
        return earlier;
    }
    return std::nullopt;
}

}  // namespace

RuleContext RuleContextOf(const CalendarState& state) {
    return RuleContext{YearOf(state.Sys.Time.Now()), state.Setup.SouthernHemisphere};
}

QString MatchingKey(const QString& text) {
    return u' ' + LowerCase(NormalizeWords(TrimBlanks(text))) + u' ';
}

std::optional<int> YearInKey(const QString& key, int currentYear) {
    auto yearIn = [&](const QString& four) -> std::optional<int> {
        auto number = ParseNumberText(four);
        if (!number || *number != std::floor(*number) || *number < currentYear - 15 ||
            *number > currentYear + 25) {
            return std::nullopt;
        }
        return static_cast<int>(*number);
    };
    std::optional<int> year;
    if (key.size() >= 6) {
        year = yearIn(key.mid(1, 4));
    }
    if (!year && key.size() >= 5) {
        year = yearIn(key.mid(key.size() - 5, 4));
    }
    return year;
}

QString YearFromText(const QString& key, int currentYear) {
    return QString::number(YearInKey(key, currentYear).value_or(currentYear));
}

TextMatch MatchText(const CalendarState& state, const QString& text, bool yearFromText) {
    const RuleContext context = RuleContextOf(state);
    const SerialDate today = std::floor(state.Sys.Time.Now());
    const QString key = MatchingKey(text);
    const std::optional<int> named = yearFromText ? YearInKey(key, context.CurrentYear) : std::nullopt;
    const int year = named.value_or(context.CurrentYear);

    TextMatch match;
    int entry = state.Matcher.FirstMatch(key);
    if (entry >= 0 && entry < static_cast<int>(state.KeywordList.size())) {
        match.EventIndex = state.KeywordList[entry].EventIndex;
        const EventRecord& event = state.Events.at(match.EventIndex);
        match.Window = EventDateForYear(event, QString::number(year), context).value_or(EventWindow{});
        if (auto earlier = EarlierCounterpart(event, year, match.Window, named.has_value(), today, context)) {
            match.Window = *earlier;
        }
    } else {
        QString trimmed = TrimBlanks(key);
        if (trimmed.size() == 4 && ParseNumberText(trimmed)) {
            match.Window = {LastOfDecember(year), static_cast<std::int16_t>(IsLeapYear(year) ? 366 : 365)};
        } else if (key.contains(QLatin1String(" do not use "))) {
            match.Window = {LastOfDecember(context.CurrentYear + 30), 0};
        } else {
            match.Window = {LastOfDecember(context.CurrentYear + 1), kAnyDay};
        }
    }

    // A window across New Year that has passed this year comes round again next year.
    EventWindow& w = match.Window;
    if (w.DaysShown < 365) {
        SerialDate start = w.EndDate - w.DaysShown + 1;
        if (YearOf(start) < YearOf(w.EndDate) && w.EndDate < today) {
            QDate end = DateOfSerial(w.EndDate);
            if (auto next = SerialFromYmd(end.year() + 1, static_cast<unsigned>(end.month()),
                                          static_cast<unsigned>(end.day()))) {
                w.EndDate = *next;
            }
        }
    }
    return match;
}

EventWindow FindEventForText(const CalendarState& state, const QString& text, bool yearFromText) {
    return MatchText(state, text, yearFromText).Window;
}

EventWindow ParseEndingDateList(const CalendarState& state, const QString& text, bool yearFromText) {
    const int currentYear = YearOf(state.Sys.Time.Now());
    const SerialDate today = std::floor(state.Sys.Time.Now());
    QStringList items = text.split(u';');
    if (items.size() > kMaxListItems) {
        items = items.mid(0, kMaxListItems);
    }
    std::vector<EventWindow> windows;
    for (const QString& item : items) {
        if (auto date = ParseUserDate(item, currentYear)) {
            windows.push_back({*date, 1});
        } else {
            windows.push_back(FindEventForText(state, item, yearFromText));
        }
    }
    const EventWindow* next = nullptr;
    for (const EventWindow& w : windows) {
        bool upcoming = w.EndDate >= today && w.EndDate < today + kAnyDay;
        if (upcoming && (next == nullptr || w.EndDate < next->EndDate)) {
            next = &w;
        }
    }
    return next != nullptr ? *next : windows.front();
}

void ComputeFileWindow(const CalendarState& state, FileEntry& entry) {
    const int currentYear = YearOf(state.Sys.Time.Now());
    if (auto date = ParseUserDate(entry.OverrideText, currentYear)) {
        entry.EndDate = *date;
        entry.DaysShown = std::max<std::int16_t>(entry.DaysShown, 1);
    } else if (!entry.OverrideText.isEmpty()) {
        entry.EndDate = ParseEndingDateList(state, entry.OverrideText, true).EndDate;
    } else {
        QString title = TrimBlanks(FileNameOf(PathWithoutExtension(entry.FileName)));
        EventWindow w = FindEventForText(state, title, state.Setup.UseYearInTitle);
        entry.EndDate = w.EndDate;
        entry.DaysShown = w.DaysShown;
    }
    entry.StartDate = entry.EndDate - (entry.DaysShown - 1);
}

QString SortKeyOf(const FileEntry& entry) {
    return DateKey(entry.EndDate) + u' ' + LowerCase(entry.FileName);
}

EventRowText FillEventRow(const EventRecord& event, const std::optional<EventWindow>& window) {
    EventRowText row;
    row.Name = event.Name;
    if (window && IsReal(*window)) {
        SerialDate start = window->EndDate - window->DaysShown + 1;
        QLocale locale;
        row.StartsOn = locale.toString(DateOfSerial(start), QLocale::LongFormat);
        row.EndsOn = locale.toString(DateOfSerial(window->EndDate), QLocale::LongFormat);
        row.Days = QStringLiteral("%1").arg(window->DaysShown, 4);
        row.StartHidden = QStringLiteral("%1").arg(static_cast<long long>(start), 7, 10, QChar(u'0'));
        row.EndHidden = QStringLiteral("%1").arg(static_cast<long long>(window->EndDate), 7, 10, QChar(u'0'));
    } else {
        row.StartsOn = kUndefinedHoliday;
        row.EndsOn = kUndefinedHoliday;
        row.Days = row.StartHidden = row.EndHidden = QStringLiteral("   0");
    }
    row.Type = QString(event.RuleType);
    row.Month = QString::number(event.Month);
    row.Day = QString::number(event.DayOrWeek);
    row.Shown = QString::number(event.DaysShown);
    row.Keywords = event.Keywords;
    return row;
}

std::vector<EventRowText> EventRowsOfYear(const CalendarState& state, int year) {
    const RuleContext context = RuleContextOf(state);
    const QString yearText = QString::number(year);
    std::vector<EventRowText> rows;
    rows.reserve(state.Events.size());
    for (const EventRecord& event : state.Events) {
        rows.push_back(FillEventRow(event, EventDateForYear(event, yearText, context)));
    }
    return rows;
}

}  // namespace merivane
