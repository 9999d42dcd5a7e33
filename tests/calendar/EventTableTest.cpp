#include "calendar/EventTable.h"

#include "platform/TextFile.h"
#include "support/TestPlatform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <random>

namespace merivane {
namespace {

struct LineCase {
    const char* Name;
    QString Line;
    EventRecord Expected;
};

TEST(EventTableParsing, EachLineBecomesAnEventWithDefaultsForWhatDoesNotRead) {
    const LineCase cases[] = {
        {"all six fields",
         "Christmas\tx\t12\t25\t14\tXmas;Santa",
         {"Christmas", u'x', 12, 25, 14, "xmas;santa"}},
        {"blanks around the name", "  Easter Monday \te\t0\t1\t1\t", {"Easter Monday", u'e', 0, 1, 1, ""}},
        {"a name alone", "Easter", {"Easter", u' ', 0, 0, 0, ""}},
        {"a blank before the semicolon makes an event",
         " ;not a comment",
         {";not a comment", u' ', 0, 0, 0, ""}},
        {"upper-case rule with blanks", "Lent\t E \t0\t-1\t46", {"Lent", u'e', 0, -1, 46, ""}},
        {"month 12a and day -47", "Shrove\te\t12a\t-47\t1", {"Shrove", u'e', 0, -47, 1, ""}},
        {"numbers out of the 16-bit range", "Big\tx\t40000\t-40000\t99999", {"Big", u'x', 0, 0, 0, ""}},
        {"a fraction rounds", "Half\tx\t2.5\t3.5\t1", {"Half", u'x', 2, 4, 1, ""}},
        {"seven fields keep six", "A\tx\t1\t1\t1\tk\textra\tmore", {"A", u'x', 1, 1, 1, "k"}},
        {"keywords are lower-cased, not trimmed",
         "A\tx\t1\t1\t1\t Fall ;Snow",
         {"A", u'x', 1, 1, 1, " fall ;snow"}},
        {"an empty rule field", "A\t\t3\t4\t5", {"A", u' ', 3, 4, 5, ""}},
        {"a tab alone", "\t", {"", u' ', 0, 0, 0, ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        auto events = ParseEventTable(c.Line);
        ASSERT_EQ(events.size(), 1u);
        EXPECT_EQ(events[0].Name, c.Expected.Name);
        EXPECT_EQ(events[0].RuleType, c.Expected.RuleType);
        EXPECT_EQ(events[0].Month, c.Expected.Month);
        EXPECT_EQ(events[0].DayOrWeek, c.Expected.DayOrWeek);
        EXPECT_EQ(events[0].DaysShown, c.Expected.DaysShown);
        EXPECT_EQ(events[0].Keywords, c.Expected.Keywords);
    }
}

TEST(EventTableParsing, CommentsAndBlankLinesAreSkipped) {
    auto events = ParseEventTable("; header\r\n;\r\n\r\n   \r\nA\tx\t1\t1\t1\r\n;B\tx\t1\t1\t1\r\nC\r\n");
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].Name, "A");
    EXPECT_EQ(events[1].Name, "C");
    EXPECT_TRUE(ParseEventTable("").empty());
    EXPECT_TRUE(ParseEventTable("; WARNING:  Do NOT modify this table!  For experts only!\r\n;\r\n").empty());
}

TEST(EventTableParsing, HostileFilesLoadWithoutHarm) {
    // Binary garbage.
    std::mt19937 rng(7);
    QByteArray garbage(64 * 1024, '\0');
    for (char& byte : garbage) {
        byte = static_cast<char>(rng() & 0xFF);
    }
    auto junk = ParseEventTable(DecodeText(garbage));
    EXPECT_FALSE(junk.empty());
    EXPECT_FALSE(BuildKeywordIndex(junk).empty());

    // Ten thousand events.
    QString many;
    for (int i = 0; i < 10000; ++i) {
        many += QStringLiteral("Event %1\tx\t1\t%2\t1\tk%1\r\n").arg(i).arg(i % 28 + 1);
    }
    EXPECT_EQ(ParseEventTable(many).size(), 10000u);
    EXPECT_EQ(BuildKeywordIndex(ParseEventTable(many)).size(), 20000u);

    // One line of a megabyte.
    QString huge = QStringLiteral("Long\tx\t1\t1\t1\t") + QString(1024 * 1024, u'k');
    auto longLine = ParseEventTable(huge);
    ASSERT_EQ(longLine.size(), 1u);
    EXPECT_EQ(longLine[0].Keywords.size(), 1024 * 1024);

    // CR-only line ends and a UTF-8 byte order mark.
    auto mac =
        ParseEventTable(DecodeText("\xEF\xBB\xBF"
                                   "First\tx\t1\t1\t1\rSecond\tx\t2\t2\t1\r"));
    ASSERT_EQ(mac.size(), 2u);
    EXPECT_EQ(mac[0].Name, "First");
    EXPECT_EQ(mac[1].Month, 2);

    // A table from Windows in its own code page.
    auto ansi = ParseEventTable(DecodeText("F\xEAte des M\xE8res\tx\t5\t25\t1\t\x9Cuvre"));
    ASSERT_EQ(ansi.size(), 1u);
    EXPECT_EQ(ansi[0].Name, QStringLiteral("Fête des Mères"));
    EXPECT_EQ(ansi[0].Keywords, QStringLiteral("œuvre"));
}

QStringList Keys(const std::vector<KeywordEntry>& list) {
    QStringList keys;
    for (const auto& entry : list) {
        keys << entry.Key + u'@' + QString::number(entry.EventIndex);
    }
    return keys;
}

TEST(KeywordIndex, LongerKeysFirstThenTableOrder) {
    auto events = ParseEventTable(
        "Christmas\tx\t12\t25\t14\txmas;santa; christmas \r\n"
        "New Year's Day\tx\t1\t1\t1\tnew year\r\n"
        "Snow Days\ts\t3\t0\t0\tsnow;;ice;\r\n"
        "Easter\te\t0\t0\t1\r\n"
        "Winter\ts\t3\t0\t0\t;snow\r\n");
    EXPECT_EQ(Keys(BuildKeywordIndex(events)),
              (QStringList{
                  " new year s day @1",  // 16 characters
                  " christmas @0",       // 11: the name key once, though the keywords repeat it
                  " snow days @2",
                  "new year@1",  // 8
                  " easter @3", " winter @4",
                  "santa@0",                     // 5
                  "xmas@0", "snow@2", "snow@4",  // 4: the earlier event first
                  "@2", "ice@2", "@4",           // 0 to 3 share the first bucket; empty items are keys too
              }));
}

class EventTableFileTest : public ::testing::Test {
  protected:
    EventTableFileTest() { state.AppPath = sys.Home().Home; }
    QString TablePath() const { return sys.Home().Home + kEventTableFileName; }

    struct RecordingStatus : StatusSink {
        void ShowStatus(const QString& text) override { shown << text; }
        void AppendStatus(const QString& text) override { shown.last() += text; }
        QStringList shown;
    };

    test::TestPlatform sys;
    CalendarState state{sys.Get()};
};

TEST_F(EventTableFileTest, SavingWritesTheHeaderAndRowsThenReloads) {
    RecordingStatus status;
    state.Status = &status;
    sys.clock.now = *SerialFromYmd(2026, 12, 9) + (21 * 3600 + 41 * 60 + 7) / 86400.0;
    SaveEventTable(state,
                   {{"Christmas", "X", "12", "25", "14", "xmas;santa"}, {"Easter", "e", "0", "0", "1", ""}});

    QFile file(TablePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()),
              "; WARNING:  Do NOT modify this table!  For experts only!\r\n"
              ";           Last modified on: Wednesday, December 9, 2026 9:41:07 PM\r\n"
              ";           Total Events/Holidays in this file: 2\r\n"
              ";\r\n"
              "Christmas\tX\t12\t25\t14\txmas;santa\r\n"
              "Easter\te\t0\t0\t1\t\r\n");
    EXPECT_FALSE(QFileInfo(TablePath()).permissions() & QFileDevice::WriteOwner);
    EXPECT_EQ(status.shown, QStringList{"Holiday table was saved.  Reloading..."});
    ASSERT_EQ(state.Events.size(), 2u);
    EXPECT_EQ(state.Events[0].RuleType, u'x');
    EXPECT_EQ(state.KeywordList.size(), 4u);

    // Saving again over the read-only file works; a line break in a field cannot split an
    // event, a TAB cannot shift the fields after it, and a name that begins with ';' is not
    // lost as a comment.
    SaveEventTable(state, {{"Two\r\nLines", "x", "1", "1", "1", ""},
                           {";Semicolon", "x", "2", "2", "1", ""},
                           {"Tab\tName", "x", "3", "4", "5", "key\tone;two"}});
    ASSERT_EQ(state.Events.size(), 3u);
    EXPECT_EQ(state.Events[0].Name, "Two  Lines");
    EXPECT_EQ(state.Events[1].Name, ";Semicolon");
    const EventRecord& tabbed = state.Events[2];
    EXPECT_EQ(tabbed.Name, "Tab Name");
    EXPECT_EQ(tabbed.RuleType, u'x');
    EXPECT_EQ(std::tuple(tabbed.Month, tabbed.DayOrWeek, tabbed.DaysShown), std::tuple(3, 4, 5));
    EXPECT_EQ(tabbed.Keywords, "key one;two");
}

TEST_F(EventTableFileTest, AFailedSaveSaysSoAndChangesNothing) {
    SaveEventTable(state, {{"Kept", "x", "1", "1", "1", ""}});
    QDir(sys.Home().Home).rename(kEventTableFileName, "kept.hol");
    QDir().mkpath(TablePath());  // a folder where the file should go: it cannot be written
    SaveEventTable(state, {{"Lost", "x", "1", "1", "1", ""}});
    ASSERT_EQ(sys.dialogs.messages.size(), 1u);
    EXPECT_EQ(sys.dialogs.messages[0].Title, "Could not open file");
    EXPECT_TRUE(sys.dialogs.messages[0].Text.startsWith("Error: "));
    EXPECT_EQ(sys.dialogs.messages[0].Icon, MessageIcon::Exclamation);
    ASSERT_EQ(state.Events.size(), 1u);
    EXPECT_EQ(state.Events[0].Name, "Kept");
}

TEST_F(EventTableFileTest, AMissingTableLeavesWhatWasLoaded) {
    LoadEventTable(state);
    EXPECT_TRUE(state.Events.empty());
    sys.WriteFile(TablePath(), "A\tx\t1\t1\t1\r\n");
    LoadEventTable(state);
    ASSERT_EQ(state.Events.size(), 1u);
    QFile::remove(TablePath());
    LoadEventTable(state);
    EXPECT_EQ(state.Events.size(), 1u);
}

TEST_F(EventTableFileTest, HiddenMeansReadOnlyAndNormalWritableAgain) {
    sys.WriteFile(TablePath(), "A\r\n");
    SetEventTableHidden(state);
    EXPECT_EQ(QFileInfo(TablePath()).permissions() &
                  (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther),
              QFileDevice::Permissions());
    SetEventTableNormal(state);
    EXPECT_TRUE(QFileInfo(TablePath()).permissions() & QFileDevice::WriteOwner);
    QFile::remove(TablePath());
    SetEventTableHidden(state);  // no file: nothing to do, no harm
    SetEventTableNormal(state);
}

}  // namespace
}  // namespace merivane
