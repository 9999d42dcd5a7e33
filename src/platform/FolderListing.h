#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace merivane {

// One folder's contents as the program's file lists show them: names that begin with "."
// are hidden and left out; files (and links to files) and plain subfolders (and links to
// folders) each sorted by name without regard to case. A subfolder its owner may not write
// counts as read-only and is left out, like a read-only folder on Windows.
struct FolderListing {
    QStringList Files;
    QStringList Folders;
    std::uint64_t Device = 0;  // the folder's identity, to scan a folder reached twice only once
    std::uint64_t Inode = 0;
};

// Nothing when the folder does not exist or cannot be read.
std::optional<FolderListing> ListFolder(const QString& folder);

// Sets the folder's modification time to now (a cache that watches the folder reads it
// again); false when it cannot.
bool TouchFolder(const QString& folder);

// True when the file name ends in one of the extensions (".bmp" ...) without regard to case.
bool HasExtension(const QString& name, const QStringList& extensions);

}  // namespace merivane
