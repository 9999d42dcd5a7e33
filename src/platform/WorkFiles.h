#pragma once

#include "platform/EventLoop.h"

#include <QString>

#include <memory>
#include <optional>

namespace merivane {

// The lock that keeps the changes of different processes of one home apart: an exclusive
// lock on a file in the home, held for as long as the object lives and dropped by the
// system when the process dies.
class ChangeLock {
  public:
    // Tries `tries` times, pausing `pauseMs` between tries (events run meanwhile); empty
    // when the lock did not come, or the lock file cannot be made.
    static std::unique_ptr<ChangeLock> Acquire(const QString& file, EventLoop& events, int tries,
                                               int pauseMs);
    ~ChangeLock();
    ChangeLock(const ChangeLock&) = delete;
    ChangeLock& operator=(const ChangeLock&) = delete;

  private:
    explicit ChangeLock(int fd) : m_fd(fd) {}
    int m_fd;
};

// Marks this process as the home's resident program while the object lives: a file
// holding the process id, locked (the system drops the lock when the process dies).
class ResidentMark {
  public:
    // Empty when another process holds the mark, or the file cannot be made.
    static std::unique_ptr<ResidentMark> Take(const QString& file);
    ~ResidentMark();
    ResidentMark(const ResidentMark&) = delete;
    ResidentMark& operator=(const ResidentMark&) = delete;

  private:
    explicit ResidentMark(int fd) : m_fd(fd) {}
    int m_fd;
};
// The process id of the running resident program of `file`, if one runs.
std::optional<qint64> RunningResident(const QString& file);

// The working copy of this process: a hidden name (the file lists leave it out) that holds
// the process id, so it is never a user's file and never shared by two processes.
QString WorkingCopyName();
// Whether a file name is a working copy that some process of ours made.
bool IsWorkingCopyName(const QString& fileName);

// Working copies are noted in the home's folder `notes` while they exist, so that a copy
// left behind by a process that died is found and removed by the next change.
bool NoteWorkingCopy(const QString& notes, const QString& path);
// Removes the copy and its note.
void RemoveWorkingCopy(const QString& notes, const QString& path);
// Removes the copies of processes that ended without removing theirs; only files whose
// names are working-copy names are ever removed.
void ClearStaleWorkingCopies(const QString& notes);

}  // namespace merivane
