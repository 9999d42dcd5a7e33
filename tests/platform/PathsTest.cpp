#include "platform/Paths.h"
#include "platform/TextFile.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace merivane {
namespace {

struct PathCase {
    QString Path;
    QString Folder;
    QString Name;
    QString WithoutExtension;
    QString Extension;
};

TEST(PathPieces, SplitFolderNameAndExtension) {
    const PathCase cases[] = {
        {R"(C:\Themes\Xmas.theme)", R"(C:\Themes\)", "Xmas.theme", R"(C:\Themes\Xmas)", ".theme"},
        {"/home/u/Pictures/Easter egg.jpg", "/home/u/Pictures/", "Easter egg.jpg",
         "/home/u/Pictures/Easter egg", ".jpg"},
        {R"(C:\x.bmp)", R"(C:\)", "x.bmp", R"(C:\x)", ".bmp"},
        {"bare.theme", "bare.theme", "bare.theme", "bare", ".theme"},
        {R"(\rooted)", R"(\rooted)", "rooted", R"(\rooted)", ""},
        {R"(C:\my.folder\noext)", R"(C:\my.folder\)", "noext", R"(C:\my.folder\noext)", ""},
        {".hidden", ".hidden", ".hidden", ".hidden", ""},
        {R"(C:\Themes\)", R"(C:\Themes\)", R"(C:\Themes\)", R"(C:\Themes\)", ""},
        {R"(C:\Themes/mixed\a.b.c)", R"(C:\Themes/mixed\)", "a.b.c", R"(C:\Themes/mixed\a.b)", ".c"},
        {R"(C:\dir\  spaced.jpg  )", R"(C:\dir\)", "spaced.jpg", R"(C:\dir\  spaced)", ".jpg  "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Path.toStdString());
        EXPECT_EQ(FolderOf(c.Path), c.Folder);
        EXPECT_EQ(FileNameOf(c.Path), c.Name);
        EXPECT_EQ(PathWithoutExtension(c.Path), c.WithoutExtension);
        EXPECT_EQ(ExtensionOf(c.Path), c.Extension);
    }
}

TEST(PathPieces, CutAtNulOnlyCutsFilledBuffers) {
    QString nul(QChar(0));
    EXPECT_EQ(CutAtNul(" C:\\WINDOWS" + nul + nul + nul), "C:\\WINDOWS");
    EXPECT_EQ(CutAtNul("C:\\WINDOWS" + nul + "junk" + nul + "  "), "C:\\WINDOWS");
    // No NUL at the end: the text stays exactly as it was, blanks and inner NULs included.
    EXPECT_EQ(CutAtNul(" a" + nul + "b "), " a" + nul + "b ");
    EXPECT_EQ(CutAtNul(""), "");
}

}  // namespace
}  // namespace merivane

namespace merivane {
namespace {

TEST(MessageText, LongTokensAreCutAroundTheirLength) {
    EXPECT_EQ(CutForMessage("short"), "short");
    const QString hex = QString(1 << 20, u'a') + "END";
    const QString cut = CutForMessage(hex);
    EXPECT_LT(cut.size(), 200);
    EXPECT_TRUE(cut.startsWith("aaaa"));
    EXPECT_TRUE(cut.endsWith("END"));
    EXPECT_TRUE(cut.contains(QString::number(hex.size()) + " characters"));
}

TEST(MessageText, LowerCaseIsQtsLowerCase) {
    for (const QString& text : {QString(), QString("/Home/U/Christmas Snow 2026.JPG"), QString("ÄÖÜ Straße"),
                                QString("İstanbul"), QString::fromUtf8("ΣΟΦΙΑ.theme"), QString("@[`{")}) {
        SCOPED_TRACE(text.toStdString());
        EXPECT_EQ(LowerCase(text), text.toLower());
    }
}

}  // namespace
}  // namespace merivane
