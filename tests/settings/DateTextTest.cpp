#include "settings/DateText.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace merivane {
namespace {

SerialDate At(int y, unsigned m, unsigned d, int hh = 0, int mm = 0, int ss = 0) {
    return *SerialFromYmd(y, m, d) + (hh * 3600 + mm * 60 + ss) / 86400.0;
}

TEST(DateText, WritesOneFixedFormWhateverTheLocale) {
    EXPECT_EQ(GeneralDateText(At(2026, 12, 9, 21, 41, 7)), "12/9/2026 9:41:07 PM");
    EXPECT_EQ(GeneralDateText(At(2026, 1, 5)), "1/5/2026");
    EXPECT_EQ(GeneralDateText(At(2026, 1, 5, 0, 0, 1)), "1/5/2026 12:00:01 AM");
    EXPECT_EQ(GeneralDateText(At(2026, 1, 5, 12, 0, 0)), "1/5/2026 12:00:00 PM");
    EXPECT_EQ(GeneralDateText(0.0), "12:00:00 AM");
    EXPECT_EQ(GeneralDateText(0.5 / 24), "12:30:00 AM");
    EXPECT_EQ(MediumTimeText(0.5 / 24), "12:30 AM");
    EXPECT_EQ(MediumTimeText(At(2026, 12, 9, 21, 5)), "09:05 PM");
    EXPECT_EQ(MediumTimeText(12.0 / 24), "12:00 PM");
}

struct ParseCase {
    const char* Text;
    std::optional<SerialDate> Expected;
};

TEST(DateText, ReadsTheFixedFormsIsoFormsAnd24HourTimes) {
    const ParseCase cases[] = {
        {"12/9/2026 9:41:07 PM", At(2026, 12, 9, 21, 41, 7)},
        {"12/09/2026 09:41 pm", At(2026, 12, 9, 21, 41)},
        {"1/5/2026", At(2026, 1, 5)},
        {"12:30 AM", 0.5 / 24},
        {"12:30:00 PM", 12.5 / 24},
        {"00:30", 0.5 / 24},
        {"21:41:07", (21 * 3600 + 41 * 60 + 7) / 86400.0},
        {"2026-12-09", At(2026, 12, 9)},
        {"2026-12-09T21:41:07", At(2026, 12, 9, 21, 41, 7)},
        {"2026-12-09 21:41", At(2026, 12, 9, 21, 41)},
        {"  2026-12-09T21:41:07.250 ", At(2026, 12, 9, 21, 41, 7)},
        {"12:00:00 AM", 0.0},
        {"2/29/2025", std::nullopt},
        {"13/1/2026", std::nullopt},
        {"25:00", std::nullopt},
        {"13:00 PM", std::nullopt},
        {"9.12.2026", std::nullopt},
        {"yesterday", std::nullopt},
        {"", std::nullopt},
        {"12/9/2026 9:41:07 PM trailing", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        auto parsed = ParseDateText(c.Text);
        ASSERT_EQ(parsed.has_value(), c.Expected.has_value());
        if (parsed) {
            EXPECT_NEAR(*parsed, *c.Expected, 0.5 / 86400);
        }
    }
}

TEST(DateText, EveryWrittenDateReadsBackToTheSameSecond) {
    for (SerialDate serial = At(1999, 12, 31, 23, 59, 59); serial < At(2031, 1, 1); serial += 97.123456) {
        auto back = ParseDateText(GeneralDateText(serial));
        ASSERT_TRUE(back.has_value()) << GeneralDateText(serial).toStdString();
        EXPECT_EQ(GeneralDateText(*back), GeneralDateText(serial));
        EXPECT_NEAR(*back, serial, 0.5 / 86400);
    }
}

}  // namespace
}  // namespace merivane
