#include "calendar/EventTable.h"

#include "calendar/Words.h"
#include "platform/TextFile.h"
#include "settings/DateText.h"
#include "settings/Variant.h"

#include <QFile>
#include <QFileInfo>

namespace merivane {

namespace {

constexpr int kBucketCount = 16;

std::int16_t NumberField(const QString& text) {
    return Variant::Text(text).ToInteger().value_or(0);
}

EventRecord ParseEventLine(const QString& line) {
    EventRecord event;
    QString rest = line;
    for (int field = 0; !rest.isEmpty(); ++field) {
        int tab = rest.indexOf(u'\t');
        QString text = tab < 0 ? rest : rest.left(tab);
        rest = tab < 0 ? QString() : rest.mid(tab + 1);
        switch (field) {
            case 0:
                event.Name = TrimBlanks(text);
                break;
            case 1: {
                QString rule = TrimBlanks(text).toLower();
                event.RuleType = rule.isEmpty() ? QChar(u' ') : rule[0];
                break;
            }
            case 2:
                event.Month = NumberField(text);
                break;
            case 3:
                event.DayOrWeek = NumberField(text);
                break;
            case 4:
                event.DaysShown = NumberField(text);
                break;
            case 5:
                event.Keywords = text.toLower();
                break;
            default:
                break;
        }
    }
    return event;
}

int BucketOf(const QString& key) {
    return std::clamp(static_cast<int>(key.size()) - 3, 0, kBucketCount - 1);
}

QString PathOf(const SettingsState& state) {
    return state.AppPath + kEventTableFileName;
}

}  // namespace

std::vector<EventRecord> ParseEventTable(const QString& text) {
    std::vector<EventRecord> events;
    for (const QString& line : SplitLines(text)) {
        if (TrimBlanks(line).isEmpty() || line.startsWith(u';')) {
            continue;
        }
        events.push_back(ParseEventLine(line));
    }
    return events;
}

std::vector<KeywordEntry> BuildKeywordIndex(const std::vector<EventRecord>& events) {
    std::array<std::vector<KeywordEntry>, kBucketCount> buckets;
    for (int i = 0; i < static_cast<int>(events.size()); ++i) {
        const EventRecord& event = events[i];
        const QString nameKey = u' ' + NormalizeWords(event.Name).toLower() + u' ';
        QString items = TrimBlanks(event.Keywords).isEmpty() ? nameKey : nameKey + u';' + event.Keywords;
        if (items.endsWith(u';')) {
            items.chop(1);  // a final ';' adds no empty item
        }
        const QStringList keys = items.split(u';');
        for (int k = 0; k < keys.size(); ++k) {
            if (k > 0 && keys[k] == nameKey) {
                continue;
            }
            buckets[BucketOf(keys[k])].push_back({keys[k], i});
        }
    }
    std::vector<KeywordEntry> list;
    for (int b = kBucketCount - 1; b >= 0; --b) {
        list.insert(list.end(), buckets[b].begin(), buckets[b].end());
    }
    return list;
}

QString EventTableText(const std::vector<EventRow>& rows, SerialDate now) {
    const QString crlf = QStringLiteral("\r\n");
    QString text = QStringLiteral("; WARNING:  Do NOT modify this table!  For experts only!") + crlf +
                   QStringLiteral(";           Last modified on: ") + LongDateText(now) + u' ' +
                   LongTimeText(now) + crlf +
                   QStringLiteral(";           Total Events/Holidays in this file: ") +
                   QString::number(rows.size()) + crlf + u';' + crlf;
    for (const EventRow& row : rows) {
        QStringList fields(row.begin(), row.end());
        // A line break inside a field would split the event in two, and a TAB would shift the
        // fields after it: each becomes a blank.
        for (QString& field : fields) {
            field.replace(u'\r', u' ').replace(u'\n', u' ').replace(u'\t', u' ');
        }
        // A name that begins with ';' would read as a comment; the blank before it is trimmed away.
        if (fields[0].startsWith(u';')) {
            fields[0].prepend(u' ');
        }
        text += fields.join(u'\t') + crlf;
    }
    return text;
}

QString EventTableToRead(const QString& appPath, const HomeLayout& home) {
    const QString own = appPath + kEventTableFileName;
    // A home that was never made (a run that only looks) has the shipped table.
    if (!home.ShippedData.isEmpty() && !QFileInfo::exists(own)) {
        return home.ShippedData + u'/' + kEventTableFileName;
    }
    return own;
}

void LoadEventTable(CalendarState& state) {
    auto text = ReadTextFile(EventTableToRead(state.AppPath, state.Sys.Home));
    if (!text) {
        return;
    }
    state.Events = ParseEventTable(*text);
    state.KeywordList = BuildKeywordIndex(state.Events);
    state.Matcher = KeywordMatcher(state.KeywordList);
}

bool SaveEventTable(CalendarState& state, const std::vector<EventRow>& rows) {
    SetEventTableNormal(state);
    QString error;
    if (!WriteFileAtomically(PathOf(state), EventTableText(rows, state.Sys.Time.Now()).toUtf8(), &error)) {
        SetEventTableHidden(state);
        state.Sys.Ui.MessageBox(QStringLiteral("Error: ") + error, QStringLiteral("Could not open file"),
                                MessageIcon::Exclamation);
        return false;
    }
    SetEventTableHidden(state);
    state.ShowStatus(QStringLiteral("Holiday table was saved.  Reloading..."));
    LoadEventTable(state);
    return true;
}

void SetEventTableHidden(const SettingsState& state) {
    SetHidden(PathOf(state), true);
}

void SetEventTableNormal(const SettingsState& state) {
    SetHidden(PathOf(state), false);
}

}  // namespace merivane
