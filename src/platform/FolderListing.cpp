#include "platform/FolderListing.h"

#include <QFile>

#include <algorithm>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace merivane {

namespace {
void SortIgnoringCase(QStringList& names) {
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
}
}  // namespace

std::optional<FolderListing> ListFolder(const QString& folder) {
    QByteArray path = QFile::encodeName(folder);
    DIR* dir = ::opendir(path.constData());
    if (dir == nullptr) {
        return std::nullopt;
    }
    FolderListing listing;
    struct stat self {};
    if (::fstat(::dirfd(dir), &self) == 0) {
        listing.Device = static_cast<std::uint64_t>(self.st_dev);
        listing.Inode = static_cast<std::uint64_t>(self.st_ino);
    }
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.') {
            continue;  // hidden, and "." and ".."
        }
        unsigned char type = entry->d_type;
        struct stat info {};
        bool needStat = type == DT_UNKNOWN || type == DT_LNK || type == DT_DIR;
        if (needStat && ::fstatat(::dirfd(dir), entry->d_name, &info, 0) != 0) {
            continue;  // a dangling link or an entry that vanished
        }
        QString name = QFile::decodeName(entry->d_name);
        bool isDir = needStat ? S_ISDIR(info.st_mode) : false;
        bool isFile = needStat ? S_ISREG(info.st_mode) : type == DT_REG;
        if (isDir) {
            if ((info.st_mode & S_IWUSR) != 0) {
                listing.Folders << name;
            }
        } else if (isFile) {
            listing.Files << name;
        }
    }
    ::closedir(dir);
    SortIgnoringCase(listing.Files);
    SortIgnoringCase(listing.Folders);
    return listing;
}

bool TouchFolder(const QString& folder) {
    return ::utimensat(AT_FDCWD, QFile::encodeName(folder).constData(), nullptr, 0) == 0;
}

bool HasExtension(const QString& name, const QStringList& extensions) {
    for (const QString& extension : extensions) {
        if (name.size() > extension.size() && name.endsWith(extension, Qt::CaseInsensitive)) {
            return true;
        }
    }
    return false;
}

}  // namespace merivane
