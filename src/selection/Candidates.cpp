#include "selection/Candidates.h"

#include "calendar/TimeWords.h"
#include "platform/Paths.h"
#include "platform/TextFile.h"

#include <cmath>
#include <functional>

namespace merivane {

namespace {

constexpr std::int16_t kOutsideWindowDays = 366;
constexpr std::int16_t kLongestPriorityEvent = 31;
const char* const kResolutions[] = {"640", "800", "1024", "1152", "1280"};

SerialDate Today(const SelectionState& state) {
    return std::floor(state.Sys.Time.Now());
}

// Removes every candidate for which `drop` holds; the last one fills each gap.
void RemoveWhere(SelectionState& state, const std::function<bool(const FileEntry&)>& drop) {
    for (int i = 0; i < static_cast<int>(state.Candidates.size());) {
        if (drop(state.Candidates[i])) {
            RemoveCandidate(state, i);
        } else {
            ++i;
        }
    }
}

bool ResolutionFits(const QString& path, const QString& width) {
    for (const char* resolution : kResolutions) {
        if (path.contains(QLatin1String(resolution))) {
            return path.contains(width);
        }
    }
    return true;
}

QString FirstLastDayFilter(SelectionState& state) {
    const SerialDate today = Today(state);
    bool any = false;
    for (const FileEntry& c : state.Candidates) {
        if (c.DaysShown < 365 && (c.StartDate == today || c.EndDate == today)) {
            any = true;
            break;
        }
    }
    if (!any) {
        return QStringLiteral("Regular event");
    }
    RemoveWhere(state, [&](const FileEntry& c) { return c.StartDate != today && c.EndDate != today; });
    return QStringLiteral("First/Last Day");
}

}  // namespace

void AddCandidate(SelectionState& state, int catalogueIndex) {
    state.Candidates.push_back(state.Catalogue[catalogueIndex]);
}

void RemoveCandidate(SelectionState& state, int candidateIndex) {
    state.Candidates[candidateIndex] = state.Candidates.back();
    state.Candidates.pop_back();
}

void BuildRegularList(SelectionState& state, std::int16_t& shortest, std::int16_t& longest) {
    state.Candidates.clear();
    shortest = 32760;
    longest = 0;
    const SerialDate today = Today(state);
    const int year = DateOfSerial(today).year();
    auto measure = [&](std::int16_t days) {
        shortest = std::min(shortest, days);
        longest = std::max(longest, days);
    };
    for (int i = 0; i < static_cast<int>(state.Catalogue.size()); ++i) {
        const FileEntry& entry = state.Catalogue[i];
        bool inWindow = entry.StartDate <= today && today <= entry.EndDate;
        if (entry.Priority != 0) {
            if (DateOfSerial(entry.StartDate).year() != year && DateOfSerial(entry.EndDate).year() != year) {
                continue;
            }
            AddCandidate(state, i);
            if (inWindow) {
                measure(entry.DaysShown);
            } else {
                state.Candidates.back().DaysShown = kOutsideWindowDays;
            }
        } else if (inWindow && entry.DaysShown > 0) {
            AddCandidate(state, i);
            measure(entry.DaysShown);
        }
    }
}

QString BuildCandidates(SelectionState& state) {
    const AppSettings& setup = state.Setup;
    const int wanted = setup.ChangesPerDay;
    auto tooFew = [&] { return wanted > static_cast<int>(state.Candidates.size()); };
    std::int16_t shortest = 0;
    std::int16_t longest = 0;
    BuildRegularList(state, shortest, longest);
    QString reason = QStringLiteral("Regular event");

    if (wanted > 1 && setup.UseTimeInTitle) {
        const int hour = SecondsOfDay(state.Sys.Time.Now()) / 3600;
        RemoveWhere(state, [&](const FileEntry& c) { return !MatchesTimeOfDay(c.FileName, hour); });
    }
    if (tooFew()) {
        return reason;
    }
    if (wanted > 1 && setup.DiscardBadResolutions) {
        const QString width = QString::number(ScreenWidthPixels(state.Sys.Display));
        RemoveWhere(state, [&](const FileEntry& c) { return !ResolutionFits(c.FileName, width); });
    }
    if (tooFew()) {
        return reason;
    }
    if (shortest <= kLongestPriorityEvent && longest > kLongestPriorityEvent) {
        reason = QStringLiteral("Priority event");
        RemoveWhere(state, [&](const FileEntry& c) { return c.DaysShown > kLongestPriorityEvent; });
        if (tooFew()) {
            return reason;
        }
        reason = QStringLiteral("Shortest event");
        RemoveWhere(state, [&](const FileEntry& c) { return c.DaysShown > shortest; });
        if (tooFew()) {
            return reason;
        }
    }
    if (setup.UseFavorites && state.FavoriteCount >= 1) {
        reason = QStringLiteral("Favorites");
        RemoveWhere(state, [&](const FileEntry& c) { return !c.IsFavorite; });
        if (tooFew()) {
            return reason;
        }
    }
    return FirstLastDayFilter(state);
}

void LoadFavorites(SelectionState& state) {
    state.FavoriteCount = 0;
    auto text = ReadTextFile(state.AppPath + kFavoritesFileName);
    if (!text) {
        return;
    }
    std::vector<QString> lowerNames;
    lowerNames.reserve(state.Catalogue.size());
    for (const FileEntry& entry : state.Catalogue) {
        lowerNames.push_back(entry.FileName.toLower());
    }
    for (const QString& raw : SplitLines(*text)) {
        QString line = raw.trimmed().toLower();
        if (line.isEmpty()) {
            continue;
        }
        for (std::size_t i = 0; i < lowerNames.size(); ++i) {
            if (lowerNames[i].contains(u'/' + line) || lowerNames[i].contains(u'\\' + line)) {
                state.Catalogue[i].IsFavorite = true;
                ++state.FavoriteCount;
                break;
            }
        }
    }
}

void SaveFavorites(SelectionState& state) {
    QString text;
    int count = 0;
    for (const FileEntry& entry : state.Catalogue) {
        if (entry.IsFavorite) {
            text += FileNameOf(entry.FileName) + QStringLiteral("\r\n");
            ++count;
        }
    }
    if (WriteFileAtomically(state.AppPath + kFavoritesFileName, text.toUtf8(), nullptr)) {
        state.FavoriteCount = count;
    }
}

}  // namespace merivane
