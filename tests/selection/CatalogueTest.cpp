#include "selection/Catalogue.h"

#include "calendar/Overrides.h"
#include "support/TestPlatform.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace merivane {
namespace {

class CatalogueTest : public ::testing::Test {
  protected:
    CatalogueTest() {
        state.AppPath = sys.Home().Home;
        state.WindowsDir = sys.Home().WindowsDir;
        state.Setup.ThemePath = Themes();
        state.Setup.WallpaperPath = Pictures();
        state.Setup.UseThemeSubfolders = true;
        sys.clock.now = *SerialFromYmd(2026, 12, 20);
    }
    QString Themes() const { return sys.Scratch("themes/"); }
    QString Pictures() const { return sys.Scratch("pictures/"); }
    void Touch(const QString& path) { sys.WriteFile(path, "x"); }
    QStringList Listed() const {
        QStringList names;
        for (const FileEntry& e : state.Catalogue) {
            names << QString(e.FileName).remove(sys.Scratch(""));
        }
        return names;
    }

    test::TestPlatform sys;
    SelectionState state{sys.Get()};
};

TEST_F(CatalogueTest, ThemesThenPicturesBaseFolderFirstThenLevelByLevel) {
    for (const char* f : {"b.theme", "A.THEME", "notes.txt", ".hidden.theme", "Sub/c.theme",
                          "Sub/Deeper/d.theme", "aSub/e.theme", ".secret/f.theme"}) {
        Touch(Themes() + f);
    }
    for (const char* f : {"Lake.JPG", "snow.jpeg", "x.gif", "y.bmp", "z.png", "Sub/w.jpg"}) {
        Touch(Pictures() + f);
    }
    state.Setup.FilesToUse = 2;
    BuildCatalogue(state, false);
    EXPECT_EQ(Listed(), (QStringList{"themes/A.THEME", "themes/b.theme", "themes/aSub/e.theme",
                                     "themes/Sub/c.theme", "themes/Sub/Deeper/d.theme", "pictures/Lake.JPG",
                                     "pictures/snow.jpeg", "pictures/x.gif", "pictures/y.bmp"}));
    EXPECT_TRUE(state.Catalogue.front().IsTheme);
    EXPECT_FALSE(state.Catalogue.back().IsTheme);

    state.ResetCatalogue();
    state.Setup.FilesToUse = 1;
    state.Setup.UseWallpaperSubfolders = true;
    BuildCatalogue(state, false);
    EXPECT_EQ(Listed().last(), "pictures/Sub/w.jpg");
    EXPECT_EQ(Listed().size(), 5);
}

TEST_F(CatalogueTest, CapitalisedPicturesInTheWindowsFolderAreTheSystemsOwn) {
    state.Setup.FilesToUse = 1;
    state.Setup.WallpaperPath = R"(C:\WINDOWS\)";  // as Windows would name it
    Touch(sys.Home().WindowsDir + "SETUP.BMP");
    Touch(sys.Home().WindowsDir + "Winter Snow.bmp");
    Touch(Pictures() + "OTHER.BMP");
    BuildCatalogue(state, false);
    ASSERT_EQ(state.Catalogue.size(), 1u);
    EXPECT_EQ(state.Catalogue[0].FileName, sys.Home().WindowsDir + "Winter Snow.bmp");

    state.ResetCatalogue();
    state.Setup.WallpaperPath = Pictures();
    BuildCatalogue(state, false);
    ASSERT_EQ(state.Catalogue.size(), 1u);
    EXPECT_TRUE(state.Catalogue[0].FileName.endsWith("OTHER.BMP"));

    // Theme files named in capitals are always taken.
    state.ResetCatalogue();
    state.Setup.FilesToUse = 0;
    state.Setup.ThemePath = sys.Home().WindowsDir;
    Touch(sys.Home().WindowsDir + "CLASSIC.THEME");
    BuildCatalogue(state, false);
    ASSERT_EQ(state.Catalogue.size(), 1u);
}

TEST_F(CatalogueTest, ReadOnlyFoldersLinksAndBrokenEntriesAreHandled) {
    Touch(Themes() + "a.theme");
    Touch(Themes() + "Locked/b.theme");
    QFile::setPermissions(Themes() + "Locked", QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    Touch(Themes() + "Loop/c.theme");
    QFile::link(Themes() + "Loop", Themes() + "Loop/again");  // a link back up the tree
    QFile::link(Themes() + "Loop", Themes() + "Alias");       // the same folder by another name
    QFile::link(sys.Scratch("gone"), Themes() + "Dangling");
    QFile::link(sys.Scratch("gone.theme"), Themes() + "dangling.theme");
    BuildCatalogue(state, false);
    QFile::setPermissions(Themes() + "Locked",
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(Listed(), (QStringList{"themes/a.theme", "themes/Alias/c.theme"}));
}

TEST_F(CatalogueTest, MissingFoldersGiveNothing) {
    state.Setup.ThemePath = sys.Scratch("nowhere/");
    BuildCatalogue(state, false);
    EXPECT_TRUE(state.Catalogue.empty());
    state.Setup.ThemePath = "";
    BuildCatalogue(state, false);
    EXPECT_TRUE(state.Catalogue.empty());
    state.Setup.ThemePath = R"(D:\Themes\)";
    BuildCatalogue(state, false);
    EXPECT_TRUE(state.Catalogue.empty());
}

TEST_F(CatalogueTest, MoreThanFortyFilesAreKeptUntilReset) {
    for (int n : {40, 41}) {
        SCOPED_TRACE(n);
        QDir(Themes()).removeRecursively();
        state.ResetCatalogue();
        for (int i = 0; i < n; ++i) {
            Touch(Themes() + QString("t%1.theme").arg(i));
        }
        BuildCatalogue(state, false);
        Touch(Themes() + "added.theme");
        BuildCatalogue(state, false);
        EXPECT_EQ(state.Catalogue.size(), 41u);  // either rescanned with the new file, or kept at 41
        EXPECT_EQ(Listed().contains("themes/added.theme"), n == 40);
        state.ResetCatalogue();
        BuildCatalogue(state, false);
        EXPECT_TRUE(Listed().contains("themes/added.theme"));
    }
}

TEST_F(CatalogueTest, OverridesAndFavouritesAreReadIntoTheEntries) {
    Touch(Themes() + "Lake.theme");
    Touch(Themes() + "Christmas Snow.theme");
    WriteOverride(state.AppPath, "lake.THEME", {1, 7, "12/25"});
    sys.WriteFile(state.AppPath + "Merivane.fav", "christmas snow.theme\r\n");
    state.Events = ParseEventTable("Christmas\tx\t12\t25\t14\txmas\r\n");
    state.KeywordList = BuildKeywordIndex(state.Events);
    state.Matcher = KeywordMatcher(state.KeywordList);
    BuildCatalogue(state, false);
    ASSERT_EQ(state.Catalogue.size(), 2u);
    const FileEntry& xmas = state.Catalogue[0];
    const FileEntry& lake = state.Catalogue[1];
    EXPECT_TRUE(xmas.IsFavorite);
    EXPECT_EQ(DateOfSerial(xmas.StartDate), QDate(2026, 12, 12));
    EXPECT_EQ(lake.Priority, 1);
    EXPECT_EQ(lake.OverrideText, "12/25");
    EXPECT_EQ(DateOfSerial(lake.StartDate), QDate(2026, 12, 19));
    EXPECT_EQ(state.FavoriteCount, 1);
}

TEST_F(CatalogueTest, ProgressDotsComeEveryFiftyWhenAsked) {
    struct Dots : StatusSink {
        void ShowStatus(const QString& t) override { text = t; }
        void AppendStatus(const QString& t) override { text += t; }
        QString text;
    } dots;
    state.Status = &dots;
    for (int i = 0; i < 120; ++i) {
        Touch(Themes() + QString("t%1.theme").arg(i));
    }
    BuildCatalogue(state, false);
    EXPECT_TRUE(dots.text.isEmpty());
    state.ResetCatalogue();
    BuildCatalogue(state, true);
    EXPECT_EQ(dots.text, "..");
}

}  // namespace
}  // namespace merivane
