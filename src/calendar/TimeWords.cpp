#include "calendar/TimeWords.h"

#include <initializer_list>

namespace merivane {

namespace {
struct TimeWord {
    std::initializer_list<const char*> Words;
    bool (*Allows)(int hour);
};

const TimeWord kTimeWords[] = {
    {{" morning ", " a.m. "}, [](int h) { return h <= 11; }},
    {{" p.m. "}, [](int h) { return h >= 12; }},
    {{" afternoon "}, [](int h) { return h >= 12 && h <= 17; }},
    {{" evening "}, [](int h) { return h >= 17; }},
    {{" night"}, [](int h) { return h <= 5 || h >= 18; }},
    {{" midday ", " noon "}, [](int h) { return h >= 11 && h <= 13; }},
    {{" midnight ", " midnite "}, [](int h) { return h == 23 || h <= 1; }},
    {{" daylight ", " daytime "}, [](int h) { return h >= 6 && h <= 17; }},
};
}  // namespace

bool MatchesTimeOfDay(const QString& path, int hour) {
    const QString text = u' ' + path.toLower() + u' ';
    for (const TimeWord& word : kTimeWords) {
        for (const char* w : word.Words) {
            if (text.contains(QLatin1String(w))) {
                return word.Allows(hour);
            }
        }
    }
    return true;
}

}  // namespace merivane
