#include "selection/Choice.h"

#include "platform/ScopedFlag.h"

#include "apply/ApplyDriver.h"
#include "calendar/Matching.h"
#include "platform/Paths.h"
#include "selection/Candidates.h"
#include "selection/Catalogue.h"

#include <algorithm>

namespace merivane {

namespace {
constexpr int kSortAtMost = 40;
constexpr int kRandomTriesAtMost = 100000;

}  // namespace

void SortCandidates(SelectionState& state) {
    const int count = static_cast<int>(state.Candidates.size());
    if (state.Setup.UseRandomMethod || count < 2 || count > kSortAtMost) {
        return;
    }
    // At most 40 files: the keys are made as they are compared.
    std::stable_sort(state.Candidates.begin(), state.Candidates.end(),
                     [](const FileEntry& a, const FileEntry& b) { return SortKeyOf(a) < SortKeyOf(b); });
}

ChangeRecord ChooseCandidate(SelectionState& state, const QString& listName) {
    const int count = static_cast<int>(state.Candidates.size());
    if (count < 1) {
        return ChangeRecord{QString(), false, QStringLiteral("No Choices"), 0, 0};
    }
    const QString last = state.LastChange.FileName.toLower();
    int chosen = 0;
    QString reason = listName;
    if (count > 1 && !last.isEmpty() && !state.Setup.UseRandomMethod) {
        auto it = std::find_if(state.Candidates.begin(), state.Candidates.end(),
                               [&](const FileEntry& c) { return c.FileName.toLower() == last; });
        int k = static_cast<int>(it - state.Candidates.begin());
        chosen = (it == state.Candidates.end() || k == count - 1) ? 0 : k + 1;
        reason += QStringLiteral(" - Next");
    } else if (count > 1) {
        // Another file than the last one; a list that holds nothing else ends the search.
        for (int tries = 0; tries < kRandomTriesAtMost; ++tries) {
            chosen = std::clamp(static_cast<int>(state.Sys.Rng.Next() * count), 0, count - 1);
            if (state.Candidates[chosen].FileName.toLower() != last) {
                break;
            }
        }
        reason += QStringLiteral(" - Random");
    }
    const FileEntry& c = state.Candidates[chosen];
    return ChangeRecord{c.FileName, c.IsTheme, reason, 0, 0};
}

ChangeRecord DecideChange(SelectionState& state) {
    const AppSettings& setup = state.Setup;
    const ChangeRecord& last = state.LastChange;
    if (DateOfSerial(last.ChangeDate) == DateOfSerial(state.Sys.Time.Now()) && last.WallpapersInTheme > 1 &&
        setup.KeepThemeIfMultiPaper) {
        ChangeRecord again = last;
        again.IsTheme = true;
        again.Reason = QStringLiteral("Multi-Wallpaper Theme");
        return again;
    }
    BuildCatalogue(state, false);
    QString listName = BuildCandidates(state);
    SortCandidates(state);
    return ChooseCandidate(state, listName);
}

namespace {

// Why a catalogue is empty: the folders that were looked in.
QString EmptyCatalogueText(const SelectionState& state) {
    const AppSettings& setup = state.Setup;
    QStringList folders;
    if (setup.FilesToUse == 0 || setup.FilesToUse == 2) {
        folders << QStringLiteral("no theme files in %1").arg(setup.ThemePath);
    }
    if (setup.FilesToUse == 1 || setup.FilesToUse == 2) {
        folders << QStringLiteral("no pictures in %1").arg(setup.WallpaperPath);
    }
    return QStringLiteral("Nothing changed: ") + folders.join(QStringLiteral(" and ")) + u'.';
}

ChangeOutcome Nothing(const QString& message) {
    return ChangeOutcome{ChangeOutcome::Kind::Nothing, ChangeRecord{}, message};
}

}  // namespace

ChangeOutcome OutcomeOf(const ChangeRecord& record, const ApplyResult& result) {
    const QString name = FileNameOf(record.FileName);
    if (result.Applied) {
        return {ChangeOutcome::Kind::Changed, record,
                QStringLiteral("Changed to %1 (%2)").arg(name, record.Reason)};
    }
    return {ChangeOutcome::Kind::Failed, record,
            QStringLiteral("Could not change to %1: %2.").arg(name, result.Why)};
}

ChangeOutcome CheckAndChange(SelectionState& state, bool showProgress) {
    if (state.ChangeInProgress) {
        return Nothing(QStringLiteral("Nothing changed: another change is still running."));
    }
    ScopedFlag running(state.ChangeInProgress);
    // The decision too is made in this home's turn: a sequential choice follows the change
    // that another process has just made.
    ChangeTurn turn(state);
    if (!turn.Granted()) {
        return {ChangeOutcome::Kind::Failed, ChangeRecord{},
                QStringLiteral("Could not change: another change of this home did not end within a minute.")};
    }
    ChangeRecord record = DecideChange(state);
    if (record.FileName.isEmpty()) {
        return Nothing(state.Catalogue.empty()
                           ? EmptyCatalogueText(state)
                           : QStringLiteral("Nothing changed: no file is in season now."));
    }
    return OutcomeOf(record, ApplyChange(state, record, showProgress));
}

}  // namespace merivane
