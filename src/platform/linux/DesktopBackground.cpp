#include "platform/linux/DesktopBackground.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QUrl>

#include <csignal>

namespace merivane {

namespace {

constexpr int kCommandTimeoutMs = 10000;
constexpr int kSwayOverlapMs = 1000;
constexpr const char* kOwnerVariable = "MERIVANE_STARTED_BY";

QString GnomeOption(WallpaperMode mode) {
    switch (mode) {
        case WallpaperMode::Tiled:
            return QStringLiteral("wallpaper");
        case WallpaperMode::Scaled:
            return QStringLiteral("scaled");
        case WallpaperMode::Stretched:
            return QStringLiteral("stretched");
        case WallpaperMode::Centered:
            break;
    }
    return QStringLiteral("centered");
}

QString TextOf(const QByteArray& data) {
    QString text = QString::fromUtf8(data);
    int nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

}  // namespace

bool DesktopNamed(const Environment& env, std::initializer_list<const char*> names) {
    const QStringList desktops =
        (env.Get(QStringLiteral("XDG_CURRENT_DESKTOP")) + u':' + env.Get(QStringLiteral("DESKTOP_SESSION")))
            .split(u':', Qt::SkipEmptyParts);
    for (const QString& desktop : desktops) {
        for (const char* name : names) {
            if (desktop.contains(QLatin1String(name), Qt::CaseInsensitive)) {
                return true;
            }
        }
    }
    return false;
}

WallpaperMode WallpaperModeOf(const QString& tile, const QString& style) {
    if (tile.trimmed() == QLatin1String("1")) {
        return WallpaperMode::Tiled;
    }
    if (style.trimmed() == QLatin1String("2")) {
        return WallpaperMode::Stretched;
    }
    if (style.trimmed() == QLatin1String("1")) {
        return WallpaperMode::Scaled;
    }
    return WallpaperMode::Centered;
}

bool ProcessRunner::Exists(const QString& program) const {
    return !QStandardPaths::findExecutable(program).isEmpty();
}

bool ProcessRunner::Run(const QString& program, const QStringList& arguments, int timeoutMs,
                        QString* output) {
    return RunCollecting(program, arguments, timeoutMs, output, nullptr) == 0;
}

int ProcessRunner::RunCollecting(const QString& program, const QStringList& arguments, int timeoutMs,
                                 QString* output, QString* errors) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(timeoutMs)) {
        return -1;
    }
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        return -1;
    }
    if (output != nullptr) {
        *output = QString::fromUtf8(process.readAllStandardOutput());
    }
    if (errors != nullptr) {
        *errors = QString::fromUtf8(process.readAllStandardError());
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

qint64 ProcessRunner::StartDetached(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kOwnerVariable), m_owner);
    process.setProcessEnvironment(env);
    qint64 pid = 0;
    return process.startDetached(&pid) ? pid : 0;
}

void ProcessRunner::End(qint64 processId, const QString& program) {
    // After a reboot or a while, the id may belong to anything of the user's.
    if (IsStartedBy(processId, program, m_owner)) {
        ::kill(static_cast<pid_t>(processId), SIGTERM);
    }
}

bool IsStartedBy(qint64 processId, const QString& program, const QString& owner) {
    if (processId <= 0) {
        return false;
    }
    const QString proc = QStringLiteral("/proc/%1/").arg(processId);
    QFile comm(proc + QStringLiteral("comm"));
    if (!comm.open(QIODevice::ReadOnly)) {
        return false;
    }
    // The kernel keeps the first 15 bytes of the program's name.
    const QByteArray name = QFile::encodeName(QFileInfo(program).fileName()).left(15);
    if (comm.readAll().trimmed() != name) {
        return false;
    }
    QFile environ(proc + QStringLiteral("environ"));
    if (!environ.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray mark = QByteArray(kOwnerVariable) + '=' + owner.toUtf8();
    return environ.readAll().split('\0').contains(mark);
}

bool DesktopBackground::Run(const QString& program, const QStringList& arguments, QString* output) {
    return m_runner.Run(program, arguments, kCommandTimeoutMs, output);
}

bool DesktopBackground::Gnome(const QString& schema, bool darkToo, const QString& path, WallpaperMode mode) {
    const QString uri = path.isEmpty() ? QString() : QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
    bool ok =
        Run(QStringLiteral("gsettings"), {QStringLiteral("set"), schema, QStringLiteral("picture-uri"), uri});
    // GNOME 42 and later show this one in dark mode; an older GNOME has no such key.
    if (ok && darkToo) {
        Run(QStringLiteral("gsettings"),
            {QStringLiteral("set"), schema, QStringLiteral("picture-uri-dark"), uri});
    }
    return ok && Run(QStringLiteral("gsettings"),
                     {QStringLiteral("set"), schema, QStringLiteral("picture-options"), GnomeOption(mode)});
}

bool DesktopBackground::Mate(const QString& path, WallpaperMode mode) {
    const QString schema = QStringLiteral("org.mate.background");
    return Run(QStringLiteral("gsettings"),
               {QStringLiteral("set"), schema, QStringLiteral("picture-filename"), path}) &&
           Run(QStringLiteral("gsettings"),
               {QStringLiteral("set"), schema, QStringLiteral("picture-options"), GnomeOption(mode)});
}

bool DesktopBackground::Plasma(const QString& path, WallpaperMode mode) {
    if (path.isEmpty()) {
        return true;
    }
    // Plasma does not reload a picture whose name did not change: it gets a copy under a
    // fresh name, and the copy handed over last time goes.
    const QDir dir(m_home);
    for (const QString& old : dir.entryList({QStringLiteral("plasma-wallpaper-*")}, QDir::Files)) {
        QFile::remove(m_home + old);
    }
    QString copy = m_home + QStringLiteral("plasma-wallpaper-%1.%2")
                                .arg(QDateTime::currentMSecsSinceEpoch())
                                .arg(QFileInfo(path).suffix().isEmpty() ? QStringLiteral("bmp")
                                                                        : QFileInfo(path).suffix());
    if (!QFile::copy(path, copy)) {
        copy = path;
    }
    const char* modes[] = {"tile", "pad", "preserveAspectFit", "stretch"};
    return Run(QStringLiteral("plasma-apply-wallpaperimage"),
               {QStringLiteral("-f"), QString::fromLatin1(modes[static_cast<int>(mode)]), copy});
}

bool DesktopBackground::Xfce(const QString& path, WallpaperMode mode) {
    QString list;
    if (!Run(QStringLiteral("xfconf-query"),
             {QStringLiteral("-c"), QStringLiteral("xfce4-desktop"), QStringLiteral("-l")}, &list)) {
        return false;
    }
    QStringList images;
    for (const QString& property : list.split(u'\n', Qt::SkipEmptyParts)) {
        if (property.startsWith(QLatin1String("/backdrop/screen")) &&
            property.endsWith(QLatin1String("/last-image"))) {
            images << property.trimmed();
        }
    }
    const QString style = QString::number(mode == WallpaperMode::Centered    ? 1
                                          : mode == WallpaperMode::Tiled     ? 2
                                          : mode == WallpaperMode::Stretched ? 3
                                                                             : 4);
    if (images.isEmpty()) {
        images << QStringLiteral("/backdrop/screen0/monitor0/workspace0/last-image");
    }
    bool ok = true;
    for (const QString& image : images) {
        const QString prefix = image.left(image.size() - QStringLiteral("last-image").size());
        ok = Run(QStringLiteral("xfconf-query"),
                 {QStringLiteral("-c"), QStringLiteral("xfce4-desktop"), QStringLiteral("-p"), image,
                  QStringLiteral("-n"), QStringLiteral("-t"), QStringLiteral("string"), QStringLiteral("-s"),
                  path}) &&
             ok;
        Run(QStringLiteral("xfconf-query"),
            {QStringLiteral("-c"), QStringLiteral("xfce4-desktop"), QStringLiteral("-p"),
             prefix + QStringLiteral("image-style"), QStringLiteral("-n"), QStringLiteral("-t"),
             QStringLiteral("int"), QStringLiteral("-s"), style});
    }
    return ok;
}

bool DesktopBackground::Sway(const QString& path, WallpaperMode mode) {
    const QString pidFile = m_home + QStringLiteral("swaybg.pid");
    QFile old(pidFile);
    qint64 previous = old.open(QIODevice::ReadOnly) ? old.readAll().trimmed().toLongLong() : 0;
    old.close();
    qint64 started = 0;
    if (!path.isEmpty()) {
        const char* modes[] = {"tile", "center", "fit", "stretch"};
        started = m_runner.StartDetached(
            QStringLiteral("swaybg"),
            {QStringLiteral("-o"), QStringLiteral("*"), QStringLiteral("-i"), path, QStringLiteral("-m"),
             QString::fromLatin1(modes[static_cast<int>(mode)])});
        if (started == 0) {
            return false;
        }
        // The old picture goes only once the new one can be drawn; ending it first flashes grey.
        m_events.Pause(kSwayOverlapMs);
    }
    m_runner.End(previous, QStringLiteral("swaybg"));
    QFile pid(pidFile);
    if (pid.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        pid.write(QByteArray::number(started));
    }
    return true;
}

bool DesktopBackground::Feh(const QString& path, WallpaperMode mode) {
    if (path.isEmpty()) {
        return true;
    }
    const char* modes[] = {"--bg-tile", "--bg-center", "--bg-max", "--bg-scale"};
    return Run(QStringLiteral("feh"), {QString::fromLatin1(modes[static_cast<int>(mode)]), path});
}

bool DesktopBackground::Set(const QString& path, WallpaperMode mode) {
    struct Candidate {
        bool Matches;
        const char* Command;
        std::function<bool()> Apply;
    };
    const bool wayland = !m_env.Get(QStringLiteral("SWAYSOCK")).isEmpty() ||
                         !m_env.Get(QStringLiteral("WAYLAND_DISPLAY")).isEmpty();
    const Candidate candidates[] = {
        {DesktopNamed(m_env, {"gnome", "ubuntu", "budgie", "unity"}), "gsettings",
         [&] { return Gnome(QStringLiteral("org.gnome.desktop.background"), true, path, mode); }},
        {DesktopNamed(m_env, {"cinnamon"}), "gsettings",
         [&] { return Gnome(QStringLiteral("org.cinnamon.desktop.background"), false, path, mode); }},
        {DesktopNamed(m_env, {"mate"}), "gsettings", [&] { return Mate(path, mode); }},
        {DesktopNamed(m_env, {"kde"}), "plasma-apply-wallpaperimage", [&] { return Plasma(path, mode); }},
        {DesktopNamed(m_env, {"xfce"}), "xfconf-query", [&] { return Xfce(path, mode); }},
        {wayland, "swaybg", [&] { return Sway(path, mode); }},
        {!m_env.Get(QStringLiteral("DISPLAY")).isEmpty(), "feh", [&] { return Feh(path, mode); }},
    };
    for (const Candidate& c : candidates) {
        if (c.Matches && m_runner.Exists(QString::fromLatin1(c.Command)) && c.Apply()) {
            return true;
        }
    }
    return false;
}

int LinuxSystemSettings::ParametersInfo(int action, int, const QString& text, const QByteArray&, int) {
    if (action != kSetDeskWallpaper) {
        return 0;
    }
    auto read = [&](const char* name) {
        auto value = m_store.QueryValue(RegRoot::CurrentUser, QStringLiteral("Control Panel\\Desktop"),
                                        QString::fromLatin1(name));
        return value ? TextOf(value->Data) : QString();
    };
    if (!m_desktop.Set(text, WallpaperModeOf(read("TileWallpaper"), read("WallpaperStyle")))) {
        m_console.Err(
            QStringLiteral("merivane: no desktop could be told to show %1; the picture is kept there.\n")
                .arg(text.isEmpty() ? QStringLiteral("(no picture)") : text));
    }
    return 0;
}

}  // namespace merivane
