#pragma once

#include "calendar/EventTable.h"
#include "platform/WorkFiles.h"
#include "settings/ChangeRecord.h"

#include <memory>

namespace merivane {

// This process's turn to change, among all the processes of one home: waits (events run
// meanwhile, about a minute at most) for a change that runs in another process, then
// reads the statistics again, so that no change is lost or counted twice. A turn taken
// inside another of the same process shares it.
class ChangeTurn {
  public:
    explicit ChangeTurn(CalendarState& state);
    ~ChangeTurn();
    ChangeTurn(const ChangeTurn&) = delete;
    ChangeTurn& operator=(const ChangeTurn&) = delete;
    bool Granted() const { return m_granted; }

  private:
    CalendarState& m_state;
    std::unique_ptr<ChangeLock> m_lock;
    bool m_granted = false;
};

// What became of one change; `Why` says what went wrong when it failed.
struct ApplyResult {
    bool Applied = false;
    QString Why;
};

// Applies one chosen file: records the change and saves the statistics first, then brings
// the file to the desktop through a working copy of its own. The change stays recorded
// when it fails later (so a sequential turn moves on), and the result says why.
ApplyResult ApplyChange(CalendarState& state, const ChangeRecord& record, bool showProgress);

}  // namespace merivane
