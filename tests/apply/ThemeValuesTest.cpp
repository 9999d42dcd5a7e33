#include "apply/ThemeValues.h"

#include "support/TestPlatform.h"

#include <gtest/gtest.h>

namespace merivane {
namespace {

TEST(ThemeValues, LeadingTokensExpandToTheirFolders) {
    const QString theme = "/themes/Winter/";
    const QString windows = "/home/u/.merivane/drive_c/WINDOWS/";
    const QString system = windows + "SYSTEM/";
    const std::pair<QString, QString> cases[] = {
        {"%ThemeDir%Snow.jpg", "/themes/Winter/Snow.jpg"},
        {"%THEMEDIR%Snow.jpg", "/themes/Winter/Snow.jpg"},
        {"%WinDir%\\Media\\Ding.wav", windows + "Media\\Ding.wav"},  // no doubled separator
        {"%windir%media\\ding.wav", windows + "media\\ding.wav"},
        {"%SysDir%shell32.dll", system + "shell32.dll"},
        {"C:\\x\\%ThemeDir%y.jpg", "C:\\x\\%ThemeDir%y.jpg"},    // a token in the middle stays
        {"\\\\server\\share\\a.bmp", "\\server\\share\\a.bmp"},  // a network path loses one backslash
        {"a\\\\\\b", "a\\\\b"},                                  // three become two: one pass
        {"%ThemeDir%%WinDir%x", "/themes/Winter/%WinDir%x"},     // only one token can apply
        {QString("Snow.jpg") + QChar(0) + "junk" + QChar(0), "Snow.jpg"},
        {"  %ThemeDir%x ", "  %ThemeDir%x "},  // not at the very start; not trimmed
        {"", ""},
    };
    for (const auto& [value, expected] : cases) {
        SCOPED_TRACE(value.toStdString());
        EXPECT_EQ(ExpandThemePath(value, theme, windows, system), expected);
    }
}

TEST(ThemeValues, ReadingCutsAtTheBufferAndTrims) {
    test::TestPlatform sys;
    QString file =
        sys.WriteFile(sys.Scratch("t.theme"), "[Control Panel\\Desktop]\r\nWallpaper=  %ThemeDir%" +
                                                  QByteArray(600, 'a') + "\r\nTileWallpaper= 1 \r\n");
    EXPECT_EQ(ReadThemeValue(file, "control panel\\desktop", "TileWallpaper"), "1");
    EXPECT_EQ(ReadThemeValue(file, "Control Panel\\Desktop", "Wallpaper", kThemePictureBuffer).size(), 511);
    EXPECT_EQ(ReadThemeValue(file, "Control Panel\\Desktop", "Wallpaper").size(), 255);
    EXPECT_EQ(ReadThemeValue(file, "Missing", "Wallpaper"), "");
    EXPECT_EQ(ReadThemeValue(sys.Scratch("none.theme"), "A", "B"), "");
}

}  // namespace
}  // namespace merivane
