#include "platform/HostPath.h"

#include "support/TestPlatform.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace merivane {
namespace {

class HostPathTest : public ::testing::Test {
  protected:
    test::TestPlatform sys;
    const HomeLayout& home() { return sys.Home(); }
};

TEST_F(HostPathTest, DriveCMapsIntoTheHomeAndMatchesWithoutCase) {
    sys.WriteFile(home().WindowsDir + "Media/Ding.wav");
    EXPECT_EQ(HostPath(home(), R"(C:\WINDOWS\Media\Ding.wav)"), home().WindowsDir + "Media/Ding.wav");
    EXPECT_EQ(HostPath(home(), R"(c:\windows\media\DING.WAV)"), home().WindowsDir + "Media/Ding.wav");
    EXPECT_EQ(HostPath(home(), home().WindowsDir + R"(media\ding.wav)"),
              home().WindowsDir + "Media/Ding.wav");
}

TEST_F(HostPathTest, MissingPartsKeepTheirSpellingSoNewFilesGoWhereNamed) {
    EXPECT_EQ(HostPath(home(), R"(C:\windows\New Folder\x.bmp)"), home().WindowsDir + "New Folder/x.bmp");
}

TEST_F(HostPathTest, OtherDrivesMapNowhere) {
    EXPECT_EQ(HostPath(home(), R"(D:\Themes\x.theme)"), "");
    EXPECT_FALSE(QFileInfo::exists(HostPath(home(), R"(\\server\share\x.theme)")));
}

TEST_F(HostPathTest, FoldersKeepTheirTrailingSeparator) {
    EXPECT_EQ(HostPath(home(), R"(c:\windows\)"), home().WindowsDir);
    EXPECT_EQ(HostPath(home(), "C:\\"), home().DriveC);
}

TEST_F(HostPathTest, WindowsFormAndHostFormOfOneFolderCompareEqual) {
    EXPECT_TRUE(SameHostPath(home(), R"(C:\WINDOWS\)", home().WindowsDir));
    EXPECT_TRUE(SameHostPath(home(), R"(c:\windows)", home().WindowsDir));
    EXPECT_FALSE(SameHostPath(home(), R"(C:\WINDOWS\SYSTEM\)", home().WindowsDir));
    EXPECT_FALSE(SameHostPath(home(), R"(D:\)", R"(D:\)"));
}

TEST_F(HostPathTest, GuestViewShowsTheVirtualDrive) {
    EXPECT_EQ(GuestView(home(), home().WindowsDir + "Resources/Themes/"), R"(c:\WINDOWS\Resources\Themes\)");
    EXPECT_EQ(GuestView(home(), "/srv/pictures"), "/srv/pictures");
}

}  // namespace
}  // namespace merivane
