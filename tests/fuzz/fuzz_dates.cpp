// Date texts: the user's forms, the stored forms and ending-date lists.
#include "FuzzSupport.h"

#include "calendar/Matching.h"
#include "settings/DateText.h"
#include "support/TestPlatform.h"

using namespace merivane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static test::TestPlatform* sys = new test::TestPlatform();
    static CalendarState* state = [] {
        auto* s = new CalendarState(sys->Get());
        s->Events = ParseEventTable(
            "Christmas\tx\t12\t25\t14\txmas\r\nEaster\te\t0\t0\t2\t\r\nTu BiShvat\tj\t5\t16\t2\t\r\n"
            "Winter\ts\t3\t0\t0\tsnow\r\nKwanzaa\tx\t1\t1\t7\r\n");
        s->KeywordList = BuildKeywordIndex(s->Events);
        s->Matcher = KeywordMatcher(s->KeywordList);
        return s;
    }();
    const QString text = QString::fromUtf8(fuzz::Bytes(data, size));
    if (auto date = ParseUserDate(text, 2026)) {
        int year = DateOfSerial(*date).year();
        FUZZ_CHECK(year >= 100 && year <= 9999);
    }
    if (auto stored = ParseDateText(text)) {
        // What reads as a stored date writes back in the fixed form and reads as the same second.
        auto again = ParseDateText(GeneralDateText(*stored));
        FUZZ_CHECK(again.has_value());
        FUZZ_CHECK(GeneralDateText(*again) == GeneralDateText(*stored));
    }
    sys->clock.now = 46000 + static_cast<double>(size % 2000);
    EventWindow w = ParseEndingDateList(*state, text, (size & 1) != 0);
    FUZZ_CHECK(w.DaysShown <= 999);
    EventWindow f = FindEventForText(*state, text, true);
    FUZZ_CHECK(f.DaysShown <= 999);
    return 0;
}
