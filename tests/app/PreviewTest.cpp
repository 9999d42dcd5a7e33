#include "app/Preview.h"
#include "app/Program.h"
#include "app/ReadOnlyProgram.h"
#include "calendar/EventTable.h"
#include "selection/Choice.h"
#include "support/TestPlatform.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <gtest/gtest.h>

namespace merivane {
namespace {

const char* const kTable =
    "Christmas\tx\t12\t25\t14\txmas\r\n"
    "Halloween\tx\t10\t31\t3\t\r\n"
    "Leap Day\tx\t2\t29\t1\t\r\n";

// A home whose settings name a wallpaper folder, and the preview of it.
class PreviewTest : public ::testing::Test {
  protected:
    PreviewTest() {
        sys.clock.now = *SerialFromYmd(2026, 6, 1) + 0.5;
        sys.WriteFile(sys.Home().Home + kEventTableFileName, kTable);
        pictures = sys.Scratch("pictures/");
        QDir().mkpath(pictures);
        Program program(sys.Get());
        sys.PlaceIn(program);
        LoadSettings(program);
        program.Setup.WallpaperPath = pictures;
        program.Setup.FilesToUse = 1;
        program.Setup.UseRandomMethod = false;
        SaveSettings(program, true, true, false);
    }
    void Picture(const QString& name) { sys.WriteFile(pictures + name, "x"); }
    void Setup(const std::function<void(AppSettings&)>& change) {
        Program program(sys.Get());
        sys.PlaceIn(program);
        LoadSettings(program);
        change(program.Setup);
        SaveSettings(program, false, true, false);
    }
    std::vector<PreviewChange> Preview(int year, unsigned month, unsigned day, int days) {
        return PreviewChanges(sys.Get(), *SerialFromYmd(year, month, day), days);
    }
    // Every file of the scratch folder (the home and the store with it) by its content; not
    // SQLite's shared-memory index, which any reader of the store touches.
    QMap<QString, QByteArray> Snapshot() {
        QMap<QString, QByteArray> files;
        QDirIterator it(sys.Scratch(""), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            if (file.fileName().endsWith("-shm")) {
                continue;
            }
            file.open(QIODevice::ReadOnly);
            files[file.fileName()] = QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1);
        }
        return files;
    }

    test::TestPlatform sys;
    QString pictures;
};

TEST_F(PreviewTest, EachChoiceIsOneOfTheCandidatesExplainGivesThatDay) {
    for (const char* name : {"Christmas Tree.jpg", "Christmas Snow.jpg", "Lake.jpg", "Halloween.jpg"}) {
        Picture(name);
    }
    Setup([](AppSettings& s) { s.UseRandomMethod = true; });
    const auto changes = Preview(2026, 10, 25, 70);
    ASSERT_EQ(changes.size(), 70U);
    for (size_t i = 0; i < changes.size(); i += 7) {
        sys.clock.now = changes[i].When;
        ReadOnlyProgram explain(sys.Get());
        const ChangeRecord record = DecideChange(explain.Get());
        QStringList candidates;
        for (const FileEntry& entry : explain.Get().Candidates) {
            candidates << entry.FileName;
        }
        EXPECT_TRUE(candidates.contains(changes[i].FileName)) << changes[i].FileName.toStdString();
        EXPECT_EQ(changes[i].Candidates, candidates.size());
        EXPECT_EQ(changes[i].Reason.section(" - ", 0, 0), record.Reason.section(" - ", 0, 0));
    }
}

TEST_F(PreviewTest, ASequentialCollectionWalksItsFilesInTurn) {
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) {
        Picture(name);
    }
    const auto changes = Preview(2026, 6, 1, 6);
    QStringList walked;
    for (const PreviewChange& change : changes) {
        walked << QFileInfo(change.FileName).fileName();
        EXPECT_EQ(change.Reason, "Regular event - Next");
        EXPECT_FALSE(change.OwnFile);
    }
    EXPECT_EQ(walked, (QStringList{"a.jpg", "b.jpg", "c.jpg", "a.jpg", "b.jpg", "c.jpg"}));
}

TEST_F(PreviewTest, APreviewChangesNothingAndRepeatsItself) {
    for (const char* name : {"Christmas Tree.jpg", "Christmas Snow.jpg", "Lake.jpg", "Sea.jpg"}) {
        Picture(name);
    }
    Setup([](AppSettings& s) { s.UseRandomMethod = true; });
    const auto before = Snapshot();
    const QString first = PreviewText(Preview(2026, 1, 1, 365));
    const auto after = Snapshot();
    EXPECT_EQ(after.keys(), before.keys());
    for (const QString& name : before.keys()) {
        EXPECT_EQ(after.value(name), before.value(name)) << name.toStdString();
    }
    EXPECT_EQ(PreviewText(Preview(2026, 1, 1, 365)), first);
    EXPECT_TRUE(first.contains("\t00:30\t"));  // the first-run scheduled time
}

TEST_F(PreviewTest, YearsDaysAndDaysWithNothingInSeason) {
    Picture("Halloween Night.jpg");
    // A leap year has its 29 February, and the event only a leap year has.
    const auto leap = Preview(2028, 1, 1, QDate(2028, 1, 1).daysInYear());
    EXPECT_EQ(leap.size(), 366U);
    EXPECT_EQ(PreviewText(leap).count('\n'), 367);
    const PreviewChange& halloween = leap[static_cast<size_t>(QDate(2028, 10, 31).dayOfYear() - 1)];
    EXPECT_TRUE(halloween.OwnFile);
    EXPECT_EQ(halloween.Event, "Halloween");
    const PreviewChange& june = leap[160];
    EXPECT_TRUE(june.FileName.isEmpty());
    EXPECT_EQ(june.Reason, "No Choices");
    EXPECT_EQ(june.Candidates, 0);
    EXPECT_TRUE(PreviewText({june}).contains("\t-\tNo Choices\t0"));
}

TEST_F(PreviewTest, TimedMethodsChangeSeveralTimesADay) {
    Picture("Lake.jpg");
    Setup([](AppSettings& s) {
        s.TypeOfScheduling = 2;
        s.ChangesPerDay = 4;
        s.ScheduledTime = 21.0 / 24;
    });
    const auto changes = Preview(2026, 6, 1, 2);
    ASSERT_EQ(changes.size(), 8U);
    QStringList times;
    for (size_t i = 0; i < 4; ++i) {
        times << DateTimeOfSerial(changes[i].When).toString("yyyy-MM-dd HH:mm");
    }
    EXPECT_EQ(times,
              (QStringList{"2026-06-01 03:00", "2026-06-01 09:00", "2026-06-01 15:00", "2026-06-01 21:00"}));
}

}  // namespace
}  // namespace merivane
