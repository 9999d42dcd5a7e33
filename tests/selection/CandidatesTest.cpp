#include "selection/Candidates.h"
#include "selection/Choice.h"

#include "support/TestPlatform.h"

#include <QFile>

#include <gtest/gtest.h>

namespace merivane {
namespace {

SerialDate Day(int y, unsigned m, unsigned d) {
    return *SerialFromYmd(y, m, d);
}

// A catalogue entry with a window ending on `end`.
FileEntry Entry(const QString& name, SerialDate end, std::int16_t days, std::int16_t priority = 0) {
    FileEntry e;
    e.FileName = "/themes/" + name;
    e.IsTheme = true;
    e.EndDate = end;
    e.DaysShown = days;
    e.StartDate = end - (days - 1);
    e.Priority = priority;
    return e;
}

class CandidatesTest : public ::testing::Test {
  protected:
    CandidatesTest() {
        state.AppPath = sys.Home().Home;
        state.Setup.ChangesPerDay = 1;
        sys.clock.now = Day(2026, 12, 20) + 17.0 / 24;  // 17:00
    }
    QStringList Names() const {
        QStringList names;
        for (const FileEntry& c : state.Candidates) {
            names << c.FileName.mid(8);
        }
        names.sort();
        return names;
    }

    test::TestPlatform sys;
    SelectionState state{sys.Get()};
};

TEST_F(CandidatesTest, TheRegularListHoldsWhatIsInSeasonToday) {
    const SerialDate today = Day(2026, 12, 20);
    state.Catalogue = {
        Entry("Christmas.theme", Day(2026, 12, 25), 14),
        Entry("Halloween.theme", Day(2026, 10, 31), 14),
        Entry("Lake.theme", Day(2027, 12, 31), 999),
        Entry("Never.theme", Day(2056, 12, 31), 0),
        Entry("Ends today.theme", today, 3),
        Entry("Starts today.theme", today + 2, 3),
        Entry("Starts tomorrow.theme", today + 3, 3),
        Entry("Priority off season.theme", Day(2026, 7, 4), 3, 1),
        Entry("Priority of another year.theme", Day(2025, 7, 4), 3, 1),
        Entry("Priority in season.theme", Day(2026, 12, 21), 5, 1),
    };
    std::int16_t shortest = 0;
    std::int16_t longest = 0;
    BuildRegularList(state, shortest, longest);
    EXPECT_EQ(Names(),
              (QStringList{"Christmas.theme", "Ends today.theme", "Lake.theme", "Priority in season.theme",
                           "Priority off season.theme", "Starts today.theme"}));
    EXPECT_EQ(shortest, 3);
    EXPECT_EQ(longest, 999);
    for (const FileEntry& c : state.Candidates) {
        if (c.FileName.endsWith("Priority off season.theme")) {
            EXPECT_EQ(c.DaysShown, 366);  // outside its window it competes as a long event
        }
    }
    // Candidates are copies: the catalogue keeps its own window.
    EXPECT_EQ(state.Catalogue[7].DaysShown, 3);
}

struct NarrowCase {
    const char* Name;
    std::vector<FileEntry> Catalogue;
    int ChangesPerDay;
    bool TimeWords, Resolutions, Favorites;
    QStringList Expected;
    const char* Reason;
    int Hour = 17;
};

TEST_F(CandidatesTest, NarrowingStepsAndTheirStops) {
    const SerialDate xmas = Day(2026, 12, 25);
    const std::vector<FileEntry> threeLengths = {Entry("Three.theme", Day(2026, 12, 21), 3),
                                                 Entry("Week.theme", Day(2026, 12, 23), 7),
                                                 Entry("Season.theme", xmas, 92)};
    auto fav = [](FileEntry e) {
        e.IsFavorite = true;
        return e;
    };
    const NarrowCase cases[] = {
        {"one change a day ignores time words and resolutions",
         {Entry("Sea afternoon tea.theme", xmas, 14), Entry("Frogs 800.theme", xmas, 14)},
         1,
         true,
         true,
         false,
         {"Frogs 800.theme", "Sea afternoon tea.theme"},
         "Regular event"},
        {"at 18:00 evening stays, afternoon goes, a word at the start counts for nothing",
         {Entry("Sea evening glow.theme", xmas, 14), Entry("Sea afternoon tea.theme", xmas, 14),
          Entry("Evening.theme", xmas, 14)},
         2,
         true,
         false,
         false,
         {"Evening.theme", "Sea evening glow.theme"},
         "Regular event",
         18},
        {"at 17:00 the afternoon's last hour and the evening's first meet",
         {Entry("Sea evening glow.theme", xmas, 14), Entry("Sea afternoon tea.theme", xmas, 14)},
         2,
         true,
         false,
         false,
         {"Sea afternoon tea.theme", "Sea evening glow.theme"},
         "Regular event",
         17},
        {"too few for the changes of the day: stop at once",
         {Entry("A.theme", xmas, 14), Entry("B.theme", xmas, 14), Entry("C.theme", xmas, 400)},
         4,
         false,
         false,
         false,
         {"A.theme", "B.theme", "C.theme"},
         "Regular event"},
        {"a 1024 screen keeps 1024 and no number, drops 800 and a 1280 folder",
         {Entry("Frogs 1024.theme", xmas, 14), Entry("Frogs 800.theme", xmas, 14),
          Entry("Plain.theme", xmas, 14), Entry("1280/Toads.theme", xmas, 14)},
         2,
         false,
         true,
         false,
         {"Frogs 1024.theme", "Plain.theme"},
         "Regular event"},
        {"short events before long ones; the last step names the list",
         threeLengths,
         1,
         false,
         false,
         false,
         {"Three.theme"},
         "Regular event"},
        {"the shortest step stops when it would leave too few",
         threeLengths,
         2,
         false,
         false,
         false,
         {"Three.theme"},
         "Shortest event"},
        {"the priority step stops when it would leave too few",
         threeLengths,
         3,
         false,
         false,
         false,
         {"Three.theme", "Week.theme"},
         "Priority event"},
        {"no long event: neither step runs",
         {Entry("Three.theme", Day(2026, 12, 21), 3), Entry("Week.theme", Day(2026, 12, 23), 7)},
         1,
         false,
         false,
         false,
         {"Three.theme", "Week.theme"},
         "Regular event"},
        {"favourites only, when there are some",
         {fav(Entry("Loved.theme", xmas, 14)), Entry("Other.theme", xmas, 14)},
         1,
         false,
         false,
         true,
         {"Loved.theme"},
         "Regular event"},
        {"favourites stop the narrowing when too few would stay",
         {fav(Entry("Loved.theme", xmas, 14)), Entry("Other.theme", xmas, 14),
          Entry("Third.theme", xmas, 14)},
         2,
         false,
         false,
         true,
         {"Loved.theme"},
         "Favorites"},
        {"the first or last day of an event wins",
         {Entry("Week ends today.theme", Day(2026, 12, 20), 7), Entry("Christmas.theme", xmas, 14),
          Entry("Starts today.theme", Day(2026, 12, 22), 3)},
         1,
         false,
         false,
         false,
         {"Starts today.theme", "Week ends today.theme"},
         "First/Last Day"},
        {"a year-long window on its last day does not count as a last day",
         {Entry("Year.theme", Day(2026, 12, 20), 365)},
         1,
         false,
         false,
         false,
         {"Year.theme"},
         "Regular event"},
        {"nothing in season",
         {Entry("Halloween.theme", Day(2026, 10, 31), 14)},
         1,
         false,
         false,
         false,
         {},
         "Regular event"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        state.Catalogue = c.Catalogue;
        state.FavoriteCount = 0;
        for (const FileEntry& e : c.Catalogue) {
            state.FavoriteCount += e.IsFavorite;
        }
        state.Setup.ChangesPerDay = static_cast<std::int16_t>(c.ChangesPerDay);
        state.Setup.UseTimeInTitle = c.TimeWords;
        state.Setup.DiscardBadResolutions = c.Resolutions;
        state.Setup.UseFavorites = c.Favorites;
        sys.clock.now = Day(2026, 12, 20) + c.Hour / 24.0;
        EXPECT_EQ(BuildCandidates(state), c.Reason);
        EXPECT_EQ(Names(), c.Expected);
    }
}

class ChoiceTest : public CandidatesTest {
  protected:
    void ThreeCandidates() {
        const SerialDate xmas = Day(2026, 12, 25);
        state.Candidates = {Entry("C.theme", xmas, 14), Entry("A.theme", xmas - 1, 14),
                            Entry("B.theme", xmas, 14)};
        SortCandidates(state);
    }
};

TEST_F(ChoiceTest, NextInTurnFollowsTheLastChange) {
    ThreeCandidates();
    ASSERT_EQ(state.Candidates[0].FileName, "/themes/A.theme");  // by end date, then path
    struct Case {
        const char* Last;
        const char* Chosen;
    };
    const Case cases[] = {
        {"/themes/A.theme", "/themes/B.theme"}, {"/THEMES/B.THEME", "/themes/C.theme"},
        {"/themes/C.theme", "/themes/A.theme"}, {"/elsewhere/X.theme", "/themes/A.theme"},
        {"(none)", "/themes/A.theme"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Last);
        state.LastChange.FileName = c.Last;
        ChangeRecord record = ChooseCandidate(state, "Regular event");
        EXPECT_EQ(record.FileName, c.Chosen);
        EXPECT_EQ(record.Reason, "Regular event - Next");
        EXPECT_TRUE(record.IsTheme);
    }
}

TEST_F(ChoiceTest, RandomNeverRepeatsTheLastFile) {
    state.Setup.UseRandomMethod = true;
    const SerialDate xmas = Day(2026, 12, 25);
    state.Candidates = {Entry("A.theme", xmas, 14), Entry("B.theme", xmas, 14)};
    state.LastChange.FileName = "/themes/B.theme";
    sys.random.script = {0.9, 0.7, 0.99, 0.2};  // B, B, B, then A
    ChangeRecord record = ChooseCandidate(state, "Favorites");
    EXPECT_EQ(record.FileName, "/themes/A.theme");
    EXPECT_EQ(record.Reason, "Favorites - Random");
    EXPECT_TRUE(sys.random.script.empty());

    // An empty last file name also means a random choice.
    state.Setup.UseRandomMethod = false;
    state.LastChange.FileName.clear();
    sys.random.script = {0.6};
    EXPECT_EQ(ChooseCandidate(state, "Regular event").FileName, "/themes/B.theme");
}

TEST_F(ChoiceTest, OneCandidateOrNone) {
    state.Candidates = {Entry("Only.theme", Day(2026, 12, 25), 14)};
    state.LastChange.FileName = "/themes/Only.theme";
    ChangeRecord record = ChooseCandidate(state, "Shortest event");
    EXPECT_EQ(record.FileName, "/themes/Only.theme");
    EXPECT_EQ(record.Reason, "Shortest event");
    state.Candidates.clear();
    record = ChooseCandidate(state, "Regular event");
    EXPECT_TRUE(record.FileName.isEmpty());
    EXPECT_EQ(record.Reason, "No Choices");
}

TEST_F(ChoiceTest, MoreThanFortyOrRandomAreNotSorted) {
    for (int i = 41; i >= 1; --i) {
        state.Candidates.push_back(
            Entry(QString("F%1.theme").arg(i, 2, 10, QChar('0')), Day(2026, 12, 25), 14));
    }
    SortCandidates(state);
    EXPECT_EQ(state.Candidates.front().FileName, "/themes/F41.theme");
    state.Candidates.pop_back();
    state.Candidates.pop_back();
    state.Setup.UseRandomMethod = true;
    SortCandidates(state);
    EXPECT_EQ(state.Candidates.front().FileName, "/themes/F41.theme");
    state.Setup.UseRandomMethod = false;
    SortCandidates(state);
    EXPECT_EQ(state.Candidates.front().FileName, "/themes/F03.theme");
}

TEST_F(ChoiceTest, AThemeWithSeveralWallpapersIsKeptForTheDay) {
    state.Setup.KeepThemeIfMultiPaper = true;
    state.LastChange = {"/themes/Multi.theme", false, "Regular event", Day(2026, 12, 20) + 0.3, 3};
    ChangeRecord record = DecideChange(state);
    EXPECT_EQ(record.FileName, "/themes/Multi.theme");
    EXPECT_TRUE(record.IsTheme);
    EXPECT_EQ(record.Reason, "Multi-Wallpaper Theme");

    state.LastChange.ChangeDate = Day(2026, 12, 19) + 0.9;  // yesterday: a new choice
    EXPECT_EQ(DecideChange(state).Reason, "No Choices");
    state.LastChange.ChangeDate = Day(2026, 12, 20);
    state.LastChange.WallpapersInTheme = 1;
    EXPECT_EQ(DecideChange(state).Reason, "No Choices");
}

TEST_F(CandidatesTest, FavouritesRoundTrip) {
    state.Catalogue = {Entry("a/Snow.jpg", Day(2026, 12, 25), 14), Entry("b/Snow.jpg", Day(2026, 12, 25), 14),
                       Entry("Lake.JPG", Day(2026, 12, 25), 14), Entry("Other.jpg", Day(2026, 12, 25), 14)};
    state.Catalogue[1].IsFavorite = true;
    state.Catalogue[2].IsFavorite = true;
    SaveFavorites(state);
    EXPECT_EQ(state.FavoriteCount, 2);
    QFile file(state.AppPath + kFavoritesFileName);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "Snow.jpg\r\nLake.JPG\r\n");
    file.close();

    // After a restart the same name marks the first file that has it, whatever the case.
    for (FileEntry& e : state.Catalogue) {
        e.IsFavorite = false;
    }
    sys.WriteFile(state.AppPath + kFavoritesFileName, "snow.JPG\r\n  lake.jpg  \r\n\r\nGone.jpg\r\n");
    LoadFavorites(state);
    EXPECT_EQ(state.FavoriteCount, 2);
    EXPECT_TRUE(state.Catalogue[0].IsFavorite);
    EXPECT_FALSE(state.Catalogue[1].IsFavorite);
    EXPECT_TRUE(state.Catalogue[2].IsFavorite);
}

TEST_F(CandidatesTest, AFavouritesFileOfGarbageMarksNothingAndHarmsNothing) {
    state.Catalogue = {Entry("Snow.jpg", Day(2026, 12, 25), 14)};
    QByteArray garbage;
    for (int i = 0; i < 70000; ++i) {
        garbage += static_cast<char>((i * 7919) & 0xFF);
    }
    sys.WriteFile(state.AppPath + kFavoritesFileName, garbage);
    LoadFavorites(state);
    EXPECT_LE(state.FavoriteCount, 1);
    QFile::remove(state.AppPath + kFavoritesFileName);
    LoadFavorites(state);
    EXPECT_EQ(state.FavoriteCount, 0);
}

}  // namespace
}  // namespace merivane
