#include "calendar/EventTable.h"
#include "calendar/Overrides.h"
#include "platform/ProfileFile.h"
#include "selection/Candidates.h"
#include "support/TestPlatform.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <functional>
#include <random>

namespace merivane {
namespace {

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(no file)");
}

// A child saves the old and the new form in turn, telling the parent after each save; the
// parent kills it after a random number of saves, so the kill lands anywhere in a save.
// Each time the file must hold the old form or the new one, whole.
void KillWhileSaving(const QString& path, const std::function<void(bool)>& save, int rounds) {
    save(false);
    const QByteArray oldForm = Read(path);
    save(true);
    const QByteArray newForm = Read(path);
    ASSERT_NE(oldForm, newForm);
    std::mt19937 rng(20261209);
    for (int round = 0; round < rounds; ++round) {
        int done[2];
        ASSERT_EQ(pipe(done), 0);
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(done[0]);
            for (bool next = false;; next = !next) {
                save(next);
                char byte = 1;
                if (write(done[1], &byte, 1) != 1) {
                    _exit(0);
                }
            }
        }
        close(done[1]);
        int saves = static_cast<int>(rng() % 6);
        char byte = 0;
        for (int i = 0; i < saves && read(done[0], &byte, 1) == 1; ++i) {
        }
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        close(done[0]);
        QByteArray now = Read(path);
        ASSERT_TRUE(now == oldForm || now == newForm) << "round " << round << ": " << now.size() << " bytes";
    }
}

class CrashSafeSaveTest : public ::testing::Test {
  protected:
    CrashSafeSaveTest() { sys.clock.now = 46365.5; }
    test::TestPlatform sys;
};

TEST_F(CrashSafeSaveTest, TheEventTable) {
    CalendarState state(sys.Get());
    state.AppPath = sys.Home().Home;
    std::vector<EventRow> oldRows, newRows;
    for (int i = 0; i < 3000; ++i) {
        oldRows.push_back(
            {QStringLiteral("Old event %1").arg(i), "x", "1", QString::number(i % 28 + 1), "1", "old"});
        newRows.push_back(
            {QStringLiteral("New event %1").arg(i), "x", "2", QString::number(i % 28 + 1), "2", "new"});
    }
    KillWhileSaving(
        state.AppPath + kEventTableFileName,
        [&](bool next) { SaveEventTable(state, next ? newRows : oldRows); }, 60);
}

TEST_F(CrashSafeSaveTest, TheFavourites) {
    SelectionState state(sys.Get());
    state.AppPath = sys.Home().Home;
    for (int i = 0; i < 6000; ++i) {
        FileEntry e;
        e.FileName = QStringLiteral("/pictures/Picture number %1.jpg").arg(i);
        state.Catalogue.push_back(e);
    }
    KillWhileSaving(
        state.AppPath + kFavoritesFileName,
        [&](bool next) {
            for (std::size_t i = 0; i < state.Catalogue.size(); ++i) {
                state.Catalogue[i].IsFavorite = (i % 2 == 0) == next;
            }
            SaveFavorites(state);
        },
        60);
}

TEST_F(CrashSafeSaveTest, TheOverrides) {
    const QString app = sys.Home().Home;
    QByteArray others;
    for (int i = 0; i < 4000; ++i) {
        others += "[Picture " + QByteArray::number(i) + ".jpg]\r\nx=0 7 12/25\r\n";
    }
    sys.WriteFile(app + kOverrideFileName, others);
    KillWhileSaving(
        app + kOverrideFileName,
        [&](bool next) {
            WriteOverride(app, "Snow.jpg",
                          next ? OverrideEntry{1, 14, "dec 31"} : OverrideEntry{0, 7, "12/25"});
        },
        60);
}

}  // namespace
}  // namespace merivane
