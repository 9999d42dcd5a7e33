#include "platform/HostPath.h"

#include "platform/Home.h"

#include <QDir>
#include <QFileInfo>

namespace merivane {

namespace {

bool HasDriveLetter(const QString& path) {
    return path.size() >= 2 && path[1] == u':' && path[0].isLetter() && path[0].unicode() < 128;
}

// Finds an entry of `folder` whose name equals `name` without regard to case.
QString FindEntryIgnoringCase(const QString& folder, const QString& name) {
    QDir dir(folder.isEmpty() ? QStringLiteral("/") : folder);
    const QStringList entries =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0) {
            return entry;
        }
    }
    return QString();
}

QString MatchComponents(const QString& path) {
    const bool absolute = path.startsWith(u'/');
    const bool trailing = path.endsWith(u'/');
    const QStringList parts = path.split(u'/', Qt::SkipEmptyParts);
    QString built = absolute ? QStringLiteral("/") : QString();
    bool exists = true;
    for (int i = 0; i < parts.size(); ++i) {
        QString part = parts[i];
        if (exists && part != "." && part != "..") {
            QString candidate = built + part;
            if (!QFileInfo::exists(candidate)) {
                QString found = FindEntryIgnoringCase(built.isEmpty() ? QStringLiteral(".") : built, part);
                if (found.isEmpty()) {
                    exists = false;
                } else {
                    part = found;
                }
            }
        }
        built += part;
        if (i + 1 < parts.size()) {
            built += u'/';
        }
    }
    if (trailing && !built.endsWith(u'/')) {
        built += u'/';
    }
    return built;
}

}  // namespace

QString HostPath(const HomeLayout& home, const QString& path) {
    QString p = path;
    p.replace(u'\\', u'/');
    if (HasDriveLetter(p)) {
        if (p[0].toLower() != u'c') {
            return QString();
        }
        QString rest = p.mid(2);
        while (rest.startsWith(u'/')) {
            rest.remove(0, 1);
        }
        p = home.DriveC + rest;
    }
    if (p.isEmpty() || QFileInfo::exists(p)) {
        return p;
    }
    return MatchComponents(p);
}

bool SameHostPath(const HomeLayout& home, const QString& a, const QString& b) {
    QString left = QDir::cleanPath(HostPath(home, a));
    QString right = QDir::cleanPath(HostPath(home, b));
    return !left.isEmpty() && left.compare(right, Qt::CaseInsensitive) == 0;
}

QString GuestView(const HomeLayout& home, const QString& hostPath) {
    QString p = hostPath;
    p.replace(u'\\', u'/');
    QString drive = home.DriveC;
    if (p.startsWith(drive, Qt::CaseInsensitive)) {
        return QStringLiteral("c:\\") + p.mid(drive.size()).replace(u'/', u'\\');
    }
    if (p + u'/' == drive) {
        return QStringLiteral("c:\\");
    }
    return p;
}

}  // namespace merivane
