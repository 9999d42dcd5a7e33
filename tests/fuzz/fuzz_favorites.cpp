// The favourites file: reading marks at most one file a line; saving and reading again
// gives the same marks.
#include "FuzzSupport.h"

#include "selection/Candidates.h"
#include "support/TestPlatform.h"

#include <QFile>

using namespace merivane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static test::TestPlatform* sys = new test::TestPlatform();
    SelectionState state(sys->Get());
    state.AppPath = sys->Home().Home;
    for (const char* name :
         {"/p/Snow.jpg", "/p/a/Snow.jpg", "/p/Lake.JPG", "/p/Christmas Eve.theme", "/p/é.bmp"}) {
        FileEntry e;
        e.FileName = name;
        state.Catalogue.push_back(e);
    }
    {
        QFile file(state.AppPath + kFavoritesFileName);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(fuzz::Bytes(data, size));
    }
    LoadFavorites(state);
    int marked = 0;
    for (const FileEntry& e : state.Catalogue) {
        marked += e.IsFavorite;
    }
    FUZZ_CHECK(marked <= state.FavoriteCount);
    std::vector<bool> marks;
    for (const FileEntry& e : state.Catalogue) {
        marks.push_back(e.IsFavorite);
    }
    SaveFavorites(state);
    for (FileEntry& e : state.Catalogue) {
        e.IsFavorite = false;
    }
    LoadFavorites(state);
    // Marks come back, except that of two files with one name only the first keeps it.
    for (std::size_t i = 0; i < marks.size(); ++i) {
        if (i != 1) {
            FUZZ_CHECK(state.Catalogue[i].IsFavorite == (marks[i] || (i == 0 && marks[1])));
        }
    }
    return 0;
}
