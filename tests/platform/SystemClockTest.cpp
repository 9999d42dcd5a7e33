#include "platform/linux/LinuxAdapters.h"

#include "support/Fakes.h"

#include <QThread>

#include <gtest/gtest.h>

namespace merivane {
namespace {

TEST(SystemClock, StartsAtMerivaneNowAndRunsOn) {
    test::FakeEnvironment env;
    env.Set("MERIVANE_NOW", "2026-12-24T08:30");
    QString warning;
    SystemClock clock(env, &warning);
    EXPECT_TRUE(warning.isEmpty());
    SerialDate first = clock.Now();
    SerialDate christmasEve = *SerialFromYmd(2026, 12, 24) + 8.5 / 24.0;
    EXPECT_GE(first, christmasEve);
    EXPECT_LT(first - christmasEve, 5.0 / 86400.0);
    QThread::msleep(30);
    EXPECT_GT(clock.Now(), first);
}

TEST(SystemClock, AcceptsTheIsoForms) {
    const std::pair<const char*, double> cases[] = {
        {"2026-12-24", 0.0},
        {"2026-12-24 08:30", 8.5 / 24},
        {"2026-12-24T08:30:36", (8.5 * 3600 + 36) / 86400},
    };
    for (const auto& [text, fraction] : cases) {
        SCOPED_TRACE(text);
        test::FakeEnvironment env;
        env.Set("MERIVANE_NOW", text);
        QString warning;
        SystemClock clock(env, &warning);
        EXPECT_TRUE(warning.isEmpty());
        EXPECT_NEAR(clock.Now(), *SerialFromYmd(2026, 12, 24) + fraction, 5.0 / 86400.0);
    }
}

TEST(SystemClock, UnreadableMerivaneNowIsReportedAndIgnored) {
    for (const char* text : {"tomorrow", "2026-02-30", "24/12/2026", "2026-12-24T25:00"}) {
        SCOPED_TRACE(text);
        test::FakeEnvironment env;
        env.Set("MERIVANE_NOW", text);
        QString warning;
        SystemClock clock(env, &warning);
        EXPECT_TRUE(warning.contains(text));
        EXPECT_NEAR(clock.Now(), SerialFromDateTime(QDateTime::currentDateTime()), 5.0 / 86400.0);
    }
}

}  // namespace
}  // namespace merivane
