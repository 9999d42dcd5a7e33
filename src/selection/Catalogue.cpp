#include "selection/Catalogue.h"

#include "calendar/Matching.h"
#include "calendar/Overrides.h"
#include "platform/FolderListing.h"
#include "platform/HostPath.h"
#include "platform/Paths.h"
#include "selection/Candidates.h"

#include <QSet>

#include <deque>

namespace merivane {

namespace {

constexpr int kProgressEvery = 50;
constexpr int kRefreshEventsEvery = 250;

struct Kind {
    bool IsTheme;
    QStringList Extensions;
};

const Kind kThemes{true, {QStringLiteral(".theme")}};
const Kind kPictures{
    false, {QStringLiteral(".bmp"), QStringLiteral(".gif"), QStringLiteral(".jpg"), QStringLiteral(".jpeg")}};

void ReportProgress(SelectionState& state, bool showProgress) {
    if (showProgress && state.Status != nullptr) {
        state.Status->AppendStatus(QStringLiteral("."));
        state.Sys.Events.ProcessEvents();
    }
}

QString BaseFolder(const SelectionState& state, const QString& setting) {
    if (setting.trimmed().isEmpty()) {
        return QString();
    }
    QString host = HostPath(state.Sys.Home, setting.trimmed());
    return host.isEmpty() ? QString() : WithTrailingSeparator(host);
}

// Each readable folder of the tree with its listing: the base, then its subfolders level by
// level (when asked for), each folder once however many links lead to it.
std::vector<std::pair<QString, FolderListing>> ListTree(SelectionState& state, const QString& base,
                                                        bool subfolders, bool showProgress) {
    std::vector<std::pair<QString, FolderListing>> tree;
    std::deque<QString> pending{WithTrailingSeparator(base)};
    QSet<QPair<quint64, quint64>> seen;
    int visited = 0;
    while (!pending.empty()) {
        QString folder = pending.front();
        pending.pop_front();
        auto listing = ListFolder(folder);
        if (!listing || seen.contains({listing->Device, listing->Inode})) {
            continue;
        }
        seen.insert({listing->Device, listing->Inode});
        if (subfolders) {
            for (const QString& sub : listing->Folders) {
                pending.push_back(folder + sub + u'/');
            }
        }
        tree.emplace_back(folder, std::move(*listing));
        if (++visited % kProgressEvery == 0) {
            ReportProgress(state, showProgress);
        }
    }
    return tree;
}

using Tree = std::vector<std::pair<QString, FolderListing>>;

// The trees listed during one build: themes and pictures kept in one tree (the usual
// collection) are listed once, not once for each kind.
class TreeCache {
  public:
    const Tree& Get(SelectionState& state, const QString& base, bool subfolders, bool showProgress) {
        for (const auto& [key, tree] : m_trees) {
            if (key.first == base && key.second == subfolders) {
                return tree;
            }
        }
        m_trees.emplace_back(std::make_pair(base, subfolders),
                             ListTree(state, base, subfolders, showProgress));
        return m_trees.back().second;
    }

  private:
    std::deque<std::pair<std::pair<QString, bool>, Tree>> m_trees;
};

void ScanKind(SelectionState& state, const Kind& kind, const QString& setting, bool subfolders,
              bool showProgress, const OverrideReader& overrides, TreeCache& trees,
              std::vector<FileEntry>& catalogue) {
    const QString base = BaseFolder(state, setting);
    if (base.isEmpty()) {
        return;
    }
    for (const auto& [folder, listing] : trees.Get(state, base, subfolders, showProgress)) {
        // Capitalised pictures in the Windows folder are the system's own, not wallpapers.
        const bool insideWindows = state.WindowsDir.startsWith(folder, Qt::CaseInsensitive);
        for (const QString& name : listing.Files) {
            if (!HasExtension(name, kind.Extensions)) {
                continue;
            }
            if (!kind.IsTheme && insideWindows && name.toUpper() == name) {
                continue;
            }
            FileEntry entry;
            entry.FileName = folder + name;
            entry.IsTheme = kind.IsTheme;
            OverrideEntry override = overrides.Read(name);
            entry.Priority = override.Priority;
            entry.DaysShown = override.DaysShown;
            entry.OverrideText = override.OverrideText;
            ComputeFileWindow(state, entry);
            catalogue.push_back(std::move(entry));
            if (catalogue.size() % kProgressEvery == 0) {
                ReportProgress(state, showProgress);
            }
        }
    }
}

}  // namespace

QStringList AddSubfolders(SelectionState& state, const QString& base, bool showProgress) {
    QStringList folders;
    for (const auto& [folder, listing] : ListTree(state, base, true, showProgress)) {
        folders << folder;
    }
    return folders;
}

void BuildCatalogue(SelectionState& state, bool showProgress) {
    if (static_cast<int>(state.Catalogue.size()) > kCatalogueReuseAbove || state.Scanning) {
        return;
    }
    state.Scanning = true;
    std::vector<FileEntry> catalogue;
    const OverrideReader overrides(state.AppPath);
    TreeCache trees;
    const AppSettings& setup = state.Setup;
    if (setup.FilesToUse == 0 || setup.FilesToUse == 2) {
        ScanKind(state, kThemes, setup.ThemePath, setup.UseThemeSubfolders, showProgress, overrides, trees,
                 catalogue);
    }
    if (setup.FilesToUse == 1 || setup.FilesToUse == 2) {
        ScanKind(state, kPictures, setup.WallpaperPath, setup.UseWallpaperSubfolders, showProgress, overrides,
                 trees, catalogue);
    }
    state.Catalogue = std::move(catalogue);
    LoadFavorites(state);
    state.Scanning = false;
}

void RefreshFileWindows(SelectionState& state) {
    for (std::size_t i = 0; i < state.Catalogue.size(); ++i) {
        ComputeFileWindow(state, state.Catalogue[i]);
        if ((i + 1) % kRefreshEventsEvery == 0) {
            state.Sys.Events.ProcessEvents();
        }
    }
}

int FindCatalogueEntry(const SelectionState& state, const QString& fileName, Qt::CaseSensitivity cs) {
    const auto& catalogue = state.Catalogue;
    for (size_t i = 0; i < catalogue.size(); ++i) {
        if (catalogue[i].FileName.compare(fileName, cs) == 0) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace merivane
