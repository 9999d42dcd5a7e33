#include "platform/linux/LinuxAdapters.h"

#include <QDir>
#include <QTemporaryDir>

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <csignal>

namespace merivane {
namespace {

// Starts a child that registers as an instance in `folder`, tells the parent through a
// pipe, and then waits to be killed (or leaves when told to).
pid_t StartInstance(const QString& folder) {
    int ready[2];
    if (pipe(ready) != 0) {
        return -1;
    }
    pid_t pid = fork();
    if (pid == 0) {
        close(ready[0]);
        LockFileInstanceGuard guard(folder);
        char byte = 1;
        (void)!write(ready[1], &byte, 1);
        pause();
        _exit(0);
    }
    close(ready[1]);
    char byte = 0;
    (void)!read(ready[0], &byte, 1);
    close(ready[0]);
    return pid;
}

TEST(InstanceGuard, AProcessDoesNotCountItself) {
    QTemporaryDir dir;
    LockFileInstanceGuard self(dir.path());
    EXPECT_FALSE(self.AnotherInstanceRunning());
}

TEST(InstanceGuard, SeesARunningInstanceAndForgetsACrashedOne) {
    QTemporaryDir dir;
    pid_t child = StartInstance(dir.path());
    ASSERT_GT(child, 0);
    LockFileInstanceGuard self(dir.path());
    EXPECT_TRUE(self.AnotherInstanceRunning());

    // Killed without cleaning up, as in a crash: its lock file stays, but counts no more.
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    EXPECT_FALSE(self.AnotherInstanceRunning());
    EXPECT_EQ(QDir(dir.path()).entryList({"instance-*.lock"}, QDir::Files).size(), 1);  // only our own
}

TEST(InstanceGuard, AnInstanceThatEndsCleanlyLeavesNoFile) {
    QTemporaryDir dir;
    { LockFileInstanceGuard passing(dir.path()); }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

}  // namespace
}  // namespace merivane
