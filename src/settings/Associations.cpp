#include "settings/Associations.h"

#include "platform/HostPath.h"
#include "platform/Paths.h"
#include "settings/RegOp.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace merivane {

namespace {

QString DefaultValueOf(Platform& platform, RegRoot root, const QString& key) {
    RegOp reg(platform);
    reg.SetRoot(root);
    reg.SetKey(key);
    return reg.Value(QString()).ToText();
}

QString ProgramOfCommand(QString command) {
    if (command.startsWith(u'"')) {
        command = command.mid(1).trimmed();
        int quote = command.indexOf(u'"');
        if (quote >= 0) {
            command = command.left(quote);
        }
    }
    int percent = command.indexOf(QStringLiteral("\"%"));
    if (percent < 0) {
        percent = command.indexOf(u'%');
    }
    if (percent > 0) {
        command = command.left(percent).trimmed();
    }
    return command;
}

int CountThemeFiles(const QDir& dir) {
    return static_cast<int>(dir.entryList({QStringLiteral("*.theme")}, QDir::Files, QDir::NoSort).size());
}

bool UnderTemp(const HomeLayout& home, const QString& folder) {
    QString seen = GuestView(home, folder);
    seen.replace(u'/', u'\\');
    return seen.contains(QStringLiteral("\\temp"), Qt::CaseInsensitive);
}

std::pair<int, QString> Search(Platform& platform, const QString& folder, QSet<QString>& visited) {
    if (UnderTemp(platform.Home, folder)) {
        return {0, QString()};
    }
    QString host = HostPath(platform.Home, folder);
    QFileInfo info(host);
    if (host.isEmpty() || !info.isDir() || visited.contains(info.canonicalFilePath())) {
        return {0, QString()};
    }
    visited.insert(info.canonicalFilePath());
    QDir dir(host);
    std::pair<int, QString> best{CountThemeFiles(dir), WithTrailingSeparator(host)};
    // Names first, then deeper: the listing is taken before any subfolder is searched.
    const QStringList subfolders =
        dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : subfolders) {
        auto found = Search(platform, WithTrailingSeparator(host) + name, visited);
        if (found.first > best.first) {
            best = {found.first, WithTrailingSeparator(found.second)};
        }
        platform.Events.ProcessEvents();
    }
    return best;
}

}  // namespace

QString FindFileType(Platform& platform, const QString& extension) {
    QString type = DefaultValueOf(platform, RegRoot::ClassesRoot, extension.toLower());
    return type.isEmpty() ? QStringLiteral("(none)") : type;
}

QString FindOpenCommand(Platform& platform, const QString& extension) {
    const QString ext = extension.toLower();
    const QString openCommand = QStringLiteral("\\shell\\open\\command");
    QString command = DefaultValueOf(platform, RegRoot::ClassesRoot, ext + openCommand).trimmed();
    if (command.isEmpty()) {
        QString type = DefaultValueOf(platform, RegRoot::ClassesRoot, ext);
        if (!type.isEmpty()) {
            command = DefaultValueOf(platform, RegRoot::ClassesRoot, type + openCommand);
        }
    }
    if (command.isEmpty()) {
        return QStringLiteral("(none)");
    }
    command = ProgramOfCommand(command);
    QString host = HostPath(platform.Home, command);
    if (host.isEmpty() || !QFileInfo(host).isFile()) {
        return QString();
    }
    return command;
}

std::pair<int, QString> SearchThemeFolder(Platform& platform, const QString& folder) {
    QSet<QString> visited;
    return Search(platform, folder, visited);
}

QString FindThemeFolder(SettingsState& state) {
    QString folder;
    if (state.ThemeOpenCommand.toLower().contains(QStringLiteral("da.exe"))) {
        RegOp reg(state.Sys);
        reg.SetKey(QStringLiteral("Software\\Desktop Architect\\Settings"));
        folder = reg.Value(QStringLiteral("ThemeDir")).ToText();
    } else {
        QString current = DefaultValueOf(state.Sys, RegRoot::CurrentUser,
                                         QStringLiteral("Software\\Microsoft\\Plus!\\Themes\\Current"));
        if (!current.isEmpty()) {
            folder = FolderOf(current);
        }
    }
    if (folder.isEmpty()) {
        QString start = state.WindowsVersion >= 4 ? state.WindowsDir + QStringLiteral("resources\\themes\\")
                                                  : QStringLiteral("c:\\program files\\plus!\\themes\\");
        folder = SearchThemeFolder(state.Sys, start).second;
    }
    if (folder.isEmpty()) {
        folder = SearchThemeFolder(state.Sys, QStringLiteral("c:\\")).second;
    }
    return folder;
}

}  // namespace merivane
