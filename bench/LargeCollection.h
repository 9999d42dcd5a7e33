#pragma once
// The large collection of the benchmarks: 25,000 files in 2,500 folders, six levels deep,
// named after events, and a program whose settings scan it with the shipped event table.
#include "app/Main.h"
#include "platform/linux/HostPlatform.h"
#include "settings/Settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>
#include <random>

namespace merivane::bench {

inline constexpr int kFolders = 2500;
inline constexpr int kFilesPerFolder = 10;

inline const char* const kWords[] = {"Christmas", "Snow",    "Halloween", "Night",        "Spring",
                                     "Garden",    "Easter",  "Beach",     "Summer",       "Lake",
                                     "Forest",    "Autumn",  "Leaves",    "Hanukkah",     "Valentine",
                                     "Hearts",    "Morning", "Winter",    "Thanksgiving", "Fireworks"};

struct Collection {
    QTemporaryDir Dir;
    QString Root() const { return Dir.path() + "/collection/"; }
    QString Home() const { return Dir.path() + "/home"; }
};

inline const Collection& Tree() {
    static Collection* collection = [] {
        auto* c = new Collection;
        std::mt19937 rng(5);
        for (int i = 0; i < kFolders; ++i) {
            // Folder i by its digits in base 5: six levels below the root.
            QString folder = c->Root();
            for (int level = 0, n = i; level < 5; ++level, n /= 5) {
                folder += QStringLiteral("L%1-%2/").arg(level).arg(n % 5);
            }
            folder += QStringLiteral("F%1/").arg(i);
            QDir().mkpath(folder);
            for (int f = 0; f < kFilesPerFolder; ++f) {
                QString name = QStringLiteral("%1 %2 %3%4")
                                   .arg(kWords[rng() % 20], kWords[rng() % 20])
                                   .arg(f)
                                   .arg(f % 3 == 0 ? ".theme" : ".jpg");
                QFile(folder + name).open(QIODevice::WriteOnly);
            }
        }
        return c;
    }();
    return *collection;
}

// A program whose home holds the shipped table and whose settings scan the collection.
struct Setup {
    std::unique_ptr<HostPlatform> Host;
    std::unique_ptr<Program> State;
};

inline Setup MakeProgram() {
    const Collection& tree = Tree();
    qputenv("MERIVANE_HOME", tree.Home().toUtf8());
    qputenv("MERIVANE_NOW", "2026-12-20T10:00");
    Setup s;
    s.Host = HostPlatform::Create(HostPlatform::Use::Tool, QStringLiteral("merivane_bench"));
    s.State = std::make_unique<Program>(s.Host->Get());
    SetStartupGlobals(*s.State);
    LoadSettings(*s.State);
    LoadEventTable(*s.State);
    AppSettings& setup = s.State->Setup;
    setup.ThemePath = tree.Root();
    setup.WallpaperPath = tree.Root();
    setup.UseThemeSubfolders = true;
    setup.UseWallpaperSubfolders = true;
    setup.FilesToUse = 2;
    SaveSettings(*s.State, false, true, false);
    return s;
}

}  // namespace merivane::bench
