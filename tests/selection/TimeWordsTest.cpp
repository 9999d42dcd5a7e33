#include "calendar/TimeWords.h"

#include <gtest/gtest.h>

namespace merivane {
namespace {

TEST(TimeWords, WordsBetweenBlanksChooseTheHours) {
    struct Case {
        const char* Path;
        std::vector<int> Allowed;  // the hours 0..23 the word allows
    };
    auto range = [](int from, int to) {
        std::vector<int> hours;
        for (int h = from; h <= to; ++h) {
            hours.push_back(h);
        }
        return hours;
    };
    std::vector<int> all = range(0, 23);
    std::vector<int> night = range(0, 5);
    for (int h = 18; h <= 23; ++h) {
        night.push_back(h);
    }
    const Case cases[] = {
        {"/p/Lake in the Morning Mist.jpg", range(0, 11)},
        {"/p/Lake 6 a.m. view.jpg", range(0, 11)},
        {"/p/City at 9 p.m. lights.jpg", range(12, 23)},
        {"/p/Garden afternoon tea.jpg", range(12, 17)},
        {"/p/Sea evening glow.jpg", range(17, 23)},
        {"/p/Halloween Night.bmp", night},   // " night" before the extension counts
        {"/p/Silent Nightfall.jpg", night},  // and at the start of a longer word
        {"/p/Town at noon bells.jpg", range(11, 13)},
        {"/p/Bells at midnight chime.jpg", {0, 1, 23}},
        {"/p/Beach daytime sun.jpg", range(6, 17)},
        {"/p/Evening.jpg", all},       // at the start of the name: no word
        {"/p/Lake Morning.jpg", all},  // just before the extension: no word
        {"/p/Knightly Castle.jpg", all},
        {"/p/Dusk evening walks/Lake.jpg", range(17, 23)},      // folders count too
        {"/p/Morning evening.jpg", all},                        // " evening." has no blank after it
        {"/p/Sky evening and morning glow.jpg", range(0, 11)},  // the table's order decides, not the name's
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Path);
        std::vector<int> allowed;
        for (int h = 0; h < 24; ++h) {
            if (MatchesTimeOfDay(c.Path, h)) {
                allowed.push_back(h);
            }
        }
        EXPECT_EQ(allowed, c.Allowed);
    }
}

}  // namespace
}  // namespace merivane
