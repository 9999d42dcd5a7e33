#include "settings/DateText.h"

#include <QLocale>
#include <QRegularExpression>

namespace merivane {

namespace {

QString TimeText(int seconds, bool withSeconds, bool twoDigitHour) {
    int hour = seconds / 3600;
    int minute = (seconds / 60) % 60;
    int second = seconds % 60;
    int hour12 = hour % 12 == 0 ? 12 : hour % 12;
    QString text =
        twoDigitHour ? QStringLiteral("%1").arg(hour12, 2, 10, QChar(u'0')) : QString::number(hour12);
    text += QStringLiteral(":%1").arg(minute, 2, 10, QChar(u'0'));
    if (withSeconds) {
        text += QStringLiteral(":%1").arg(second, 2, 10, QChar(u'0'));
    }
    return text + (hour < 12 ? QStringLiteral(" AM") : QStringLiteral(" PM"));
}

// hour (1..12 with a meridiem, else 0..23), minutes, seconds -> seconds of the day
std::optional<int> TimeFromParts(int hour, int minute, int second, const QString& meridiem) {
    if (minute > 59 || second > 59) {
        return std::nullopt;
    }
    if (!meridiem.isEmpty()) {
        if (hour < 1 || hour > 12) {
            return std::nullopt;
        }
        hour %= 12;
        if (meridiem.startsWith(u'p', Qt::CaseInsensitive)) {
            hour += 12;
        }
    } else if (hour > 23) {
        return std::nullopt;
    }
    return hour * 3600 + minute * 60 + second;
}

SerialDate Combine(SerialDate day, int seconds) {
    double fraction = seconds / kSecondsPerDay;
    return day < 0 ? day - fraction : day + fraction;
}

}  // namespace

QString GeneralDateText(SerialDate serial) {
    QDateTime when = DateTimeOfSerial(serial);
    int seconds = when.time().msecsSinceStartOfDay() / 1000;
    bool hasDate = when.date() != QDate(1899, 12, 30);
    QString date = QStringLiteral("%1/%2/%3")
                       .arg(when.date().month())
                       .arg(when.date().day())
                       .arg(when.date().year(), 4, 10, QChar(u'0'));
    if (!hasDate) {
        return TimeText(seconds, true, false);
    }
    if (seconds == 0) {
        return date;
    }
    return date + u' ' + TimeText(seconds, true, false);
}

QString LongDateText(SerialDate serial) {
    return QLocale::c().toString(DateOfSerial(serial), QStringLiteral("dddd, MMMM d, yyyy"));
}

QString MediumDateText(SerialDate serial) {
    return QLocale::c().toString(DateOfSerial(serial), QStringLiteral("dd-MMM-yy"));
}

QString LongTimeText(SerialDate serial) {
    return TimeText(SecondsOfDay(serial), true, false);
}

QString MediumTimeText(SerialDate serial) {
    return TimeText(SecondsOfDay(serial), false, true);
}

std::optional<SerialDate> ParseDateText(const QString& input) {
    static const QRegularExpression kTime(
        QStringLiteral(R"((\d{1,2}):(\d{2})(?::(\d{2})(?:\.\d+)?)?(?:\s*([AaPp])\.?[Mm]\.?)?)"));
    static const QRegularExpression kUsDate(QStringLiteral(R"((\d{1,2})/(\d{1,2})/(\d{4}))"));
    static const QRegularExpression kIsoDate(QStringLiteral(R"((\d{4})-(\d{1,2})-(\d{1,2}))"));

    QString text = input.trimmed();
    if (text.isEmpty()) {
        return std::nullopt;
    }

    std::optional<SerialDate> day;
    QString rest = text;
    for (const auto* form : {&kUsDate, &kIsoDate}) {
        auto m = form->match(text, 0, QRegularExpression::NormalMatch,
                             QRegularExpression::AnchorAtOffsetMatchOption);
        if (!m.hasMatch()) {
            continue;
        }
        int year = form == &kUsDate ? m.captured(3).toInt() : m.captured(1).toInt();
        int month = form == &kUsDate ? m.captured(1).toInt() : m.captured(2).toInt();
        int dayOfMonth = form == &kUsDate ? m.captured(2).toInt() : m.captured(3).toInt();
        day = SerialFromYmd(year, static_cast<unsigned>(month), static_cast<unsigned>(dayOfMonth));
        if (!day) {
            return std::nullopt;
        }
        rest = text.mid(m.capturedLength());
        if (form == &kIsoDate && rest.startsWith(u'T')) {
            rest.remove(0, 1);
        }
        rest = rest.trimmed();
        break;
    }
    if (rest.isEmpty()) {
        return day;
    }
    auto m =
        kTime.match(rest, 0, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
    if (!m.hasMatch() || m.capturedLength() != rest.size()) {
        return std::nullopt;
    }
    auto seconds =
        TimeFromParts(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(), m.captured(4));
    if (!seconds) {
        return std::nullopt;
    }
    return Combine(day.value_or(0.0), *seconds);
}

namespace {

// 1..12 for an English month name or its first three letters or more, or the user's
// locale's month names; 0 for anything else.
int MonthFromName(const QString& word) {
    static const char* const kMonths[] = {"january",   "february", "march",    "april",
                                          "may",       "june",     "july",     "august",
                                          "september", "october",  "november", "december"};
    QString w = word.toLower();
    if (w.endsWith(u'.')) {
        w.chop(1);
    }
    if (w.size() >= 3) {
        for (int m = 0; m < 12; ++m) {
            if (QString::fromLatin1(kMonths[m]).startsWith(w)) {
                return m + 1;
            }
        }
    }
    QLocale locale;
    for (int m = 1; m <= 12; ++m) {
        if (w == locale.monthName(m, QLocale::LongFormat).toLower() ||
            w == locale.monthName(m, QLocale::ShortFormat).toLower()) {
            return m;
        }
    }
    return 0;
}

std::optional<SerialDate> DateOf(int year, int month, int day) {
    if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31) {
        return std::nullopt;
    }
    return SerialFromYmd(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
}

}  // namespace

std::optional<SerialDate> ParseUserDate(const QString& input, int currentYear) {
    static const QRegularExpression kIso(QStringLiteral(R"(^(\d{4})-(\d{1,2})-(\d{1,2})$)"));
    static const QRegularExpression kSlashed(QStringLiteral(R"(^(\d{1,2})/(\d{1,2})(?:/(\d{4}))?$)"));
    static const QRegularExpression kMonthDay(
        QStringLiteral(R"(^(\p{L}+\.?)\s+(\d{1,2})(?:(?:,\s*|\s+)(\d{4}))?$)"));
    static const QRegularExpression kDayMonth(
        QStringLiteral(R"(^(\d{1,2})\.?\s+(\p{L}+\.?)(?:,?\s+(\d{4}))?$)"));
    QString text = input.simplified();
    if (text.isEmpty() || text.size() > 64) {
        return std::nullopt;
    }
    QLocale locale;
    if (QDate date = locale.toDate(text, QLocale::LongFormat); date.isValid()) {
        return SerialFromDate(date);
    }
    auto yearOf = [&](const QString& captured) {
        return captured.isEmpty() ? currentYear : captured.toInt();
    };
    if (auto m = kIso.match(text); m.hasMatch()) {
        return DateOf(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    }
    if (auto m = kSlashed.match(text); m.hasMatch()) {
        int first = m.captured(1).toInt();
        int second = m.captured(2).toInt();
        int year = yearOf(m.captured(3));
        if (auto date = DateOf(year, first, second)) {
            return date;
        }
        return DateOf(year, second, first);
    }
    if (auto m = kMonthDay.match(text); m.hasMatch()) {
        if (int month = MonthFromName(m.captured(1))) {
            return DateOf(yearOf(m.captured(3)), month, m.captured(2).toInt());
        }
    }
    if (auto m = kDayMonth.match(text); m.hasMatch()) {
        if (int month = MonthFromName(m.captured(2))) {
            return DateOf(yearOf(m.captured(3)), month, m.captured(1).toInt());
        }
    }
    return std::nullopt;
}

}  // namespace merivane
