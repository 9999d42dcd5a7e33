#include "platform/linux/LinuxAdapters.h"

#include "platform/HostPath.h"
#include "platform/Paths.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

#include <chrono>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

extern char** environ;

namespace merivane {

QString ProcessEnvironment::Get(const QString& name) const {
    return qEnvironmentVariable(name.toLocal8Bit().constData());
}

QList<QPair<QString, QString>> ProcessEnvironment::Entries() const {
    QList<QPair<QString, QString>> entries;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        QString text = QString::fromLocal8Bit(*entry);
        int eq = text.indexOf(u'=');
        entries.append({eq < 0 ? text : text.left(eq), eq < 0 ? QString() : text.mid(eq + 1)});
    }
    return entries;
}

namespace {
std::optional<QDateTime> ParseIsoLocal(const QString& text) {
    static const QRegularExpression form(
        QStringLiteral(R"(^(\d{4})-(\d{2})-(\d{2})(?:[T ](\d{2}):(\d{2})(?::(\d{2}))?)?$)"));
    auto match = form.match(text.trimmed());
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    QDate date(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
    QTime time(match.captured(4).toInt(), match.captured(5).toInt(), match.captured(6).toInt());
    if (!date.isValid() || !time.isValid()) {
        return std::nullopt;
    }
    return QDateTime(date, time);
}
}  // namespace

SystemClock::SystemClock(const Environment& env, QString* warning) {
    m_elapsed.start();
    QString now = env.Get(QStringLiteral("MERIVANE_NOW"));
    if (!now.isEmpty()) {
        if (auto start = ParseIsoLocal(now)) {
            m_start = SerialFromDateTime(*start);
            m_shifted = true;
        } else if (warning != nullptr) {
            *warning = QStringLiteral(
                           "MERIVANE_NOW=%1 is not a date and time such as 2026-12-24T08:30; "
                           "the real clock is used.")
                           .arg(now);
        }
    }
}

SerialDate SystemClock::Now() const {
    if (!m_shifted) {
        return SerialFromDateTime(QDateTime::currentDateTime());
    }
    return m_start + static_cast<double>(m_elapsed.elapsed()) / (kSecondsPerDay * 1000.0);
}

void MersenneRandom::SeedFromClock() {
    auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    m_engine.seed(static_cast<std::mt19937::result_type>(ticks ^ (ticks >> 32)));
}

double MersenneRandom::Next() {
    return std::uniform_real_distribution<double>(0.0, 1.0)(m_engine);
}

MessageResult ConsoleDialogs::MessageBox(const QString& text, const QString& title, MessageIcon icon,
                                         MessageButtons buttons, MessageResult defaultAnswer) {
    if (CanShowWindows()) {
        return m_windows->MessageBox(text, title, icon, buttons, defaultAnswer);
    }
    QString flat = text;
    flat.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_console.Err(title + QStringLiteral(": ") + flat + u'\n');
    return defaultAnswer;
}

std::optional<QString> ConsoleDialogs::InputBox(const QString& prompt, const QString& title,
                                                const QString& defaultText) {
    if (CanShowWindows()) {
        return m_windows->InputBox(prompt, title, defaultText);
    }
    m_console.Err(title + QStringLiteral(": ") + prompt + QStringLiteral(" [") + defaultText +
                  QStringLiteral("]\n"));
    return defaultText;
}

void StdConsole::Out(const QString& text) {
    QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}

void StdConsole::Err(const QString& text) {
    QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
    std::fflush(stderr);
}

LockFileInstanceGuard::LockFileInstanceGuard(const QString& folder)
    : m_folder(WithTrailingSeparator(folder)) {
    QDir().mkpath(m_folder);
    // Locked under a temporary name first and renamed into place, so a lock file that
    // others can see is always already locked.
    QString pid = QString::number(QCoreApplication::applicationPid());
    QString temp = m_folder + QStringLiteral(".starting-") + pid;
    m_fd = ::open(temp.toLocal8Bit().constData(), O_CREAT | O_RDWR | O_CLOEXEC, 0600);
    if (m_fd < 0) {
        return;
    }
    if (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(m_fd);
        m_fd = -1;
        return;
    }
    m_ownFile = m_folder + QStringLiteral("instance-") + pid + QStringLiteral(".lock");
    if (::rename(temp.toLocal8Bit().constData(), m_ownFile.toLocal8Bit().constData()) != 0) {
        ::close(m_fd);
        m_fd = -1;
        ::unlink(temp.toLocal8Bit().constData());
        m_ownFile.clear();
    }
}

LockFileInstanceGuard::~LockFileInstanceGuard() {
    if (m_fd >= 0) {
        ::unlink(m_ownFile.toLocal8Bit().constData());
        ::close(m_fd);
    }
}

bool LockFileInstanceGuard::AnotherInstanceRunning() {
    const QStringList files = QDir(m_folder).entryList({QStringLiteral("instance-*.lock")}, QDir::Files);
    bool found = false;
    for (const QString& name : files) {
        QString path = m_folder + name;
        if (path == m_ownFile) {
            continue;
        }
        int fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            found = true;
        } else {
            ::unlink(path.toLocal8Bit().constData());  // left by a process that did not end cleanly
        }
        ::close(fd);
        if (found) {
            break;
        }
    }
    return found;
}

EnvironmentWindowsVersion::EnvironmentWindowsVersion(const Environment& env) {
    // One representative version record per code, so the version rules see what that system reports.
    static constexpr OsVersionRecord kRecords[] = {{4, 0, 1},  {4, 0, 2}, {4, 10, 1},
                                                   {4, 90, 1}, {5, 0, 2}, {5, 1, 2}};
    bool ok = false;
    int code = env.Get(QStringLiteral("MERIVANE_WINDOWS_VERSION")).trimmed().toInt(&ok);
    m_record = (ok && code >= 0 && code <= 5) ? kRecords[code] : kRecords[5];
}

std::optional<std::pair<QString, QStringList>> HostProcesses::Resolve(const QString& commandLine) const {
    QStringList args = SplitWindowsCommandLine(commandLine);
    if (args.isEmpty()) {
        return std::nullopt;
    }
    const QString line = commandLine.trimmed();
    if (!line.startsWith(u'"')) {
        // An unquoted program whose path holds blanks ("/opt/My Tools/thm x"), found as
        // Windows finds it: the shortest run of the line up to a blank that names a file.
        QList<int> ends;
        for (int blank = line.indexOf(u' '); blank > 0; blank = line.indexOf(u' ', blank + 1)) {
            ends << blank;
        }
        ends << line.size();
        for (int end : ends) {
            const QString host = HostPath(m_home, line.left(end));
            if (!host.isEmpty() && QFileInfo(host).isFile()) {
                if (end == args.first().size()) {
                    break;  // the first word itself: split as usual
                }
                return std::make_pair(host,
                                      SplitWindowsCommandLine(QStringLiteral("x") + line.mid(end)).mid(1));
            }
        }
    }
    QString program = args.takeFirst();
    QString host = HostPath(m_home, program);
    if (LastSeparator(program) < 0) {
        QString found = QStandardPaths::findExecutable(program);
        if (!found.isEmpty()) {
            host = found;
        }
    }
    if (host.isEmpty()) {
        return std::nullopt;
    }
    return std::make_pair(host, args);
}

bool HostProcesses::StartDetached(const QString& commandLine, WindowStyle) {
    QStringList args = SplitWindowsCommandLine(commandLine);
    if (args.isEmpty()) {
        return false;
    }
    QString name = FileNameOf(args.first()).toLower();
    // Registering the companion component is part of the program on Linux: nothing to run.
    if (name == QLatin1String("regsvr32.exe") || name == QLatin1String("regsvr32")) {
        return true;
    }
    if (name == QLatin1String("explorer.exe") || name == QLatin1String("explorer")) {
        QStringList folders;
        for (const QString& arg : args.mid(1)) {
            folders << HostPath(m_home, arg);
        }
        return QProcess::startDetached(QStringLiteral("xdg-open"), folders);
    }
    auto resolved = Resolve(commandLine);
    return resolved && QProcess::startDetached(resolved->first, resolved->second);
}

qint64 HostProcesses::Start(const QString& commandLine) {
    auto resolved = Resolve(commandLine);
    if (!resolved) {
        return 0;
    }
    auto process = std::make_unique<QProcess>();
    process->start(resolved->first, resolved->second);
    if (!process->waitForStarted(5000)) {
        return 0;
    }
    qint64 handle = process->processId();
    m_running[handle] = std::move(process);
    return handle;
}

bool HostProcesses::WaitFor(qint64 handle, int milliseconds) {
    auto it = m_running.find(handle);
    if (it == m_running.end()) {
        return true;
    }
    if (it->second->state() == QProcess::NotRunning || it->second->waitForFinished(milliseconds)) {
        m_running.erase(it);
        return true;
    }
    return false;
}

void HostProcesses::Terminate(qint64 handle) {
    auto it = m_running.find(handle);
    if (it != m_running.end()) {
        it->second->kill();
        it->second->waitForFinished(1000);
        m_running.erase(it);
    }
}

namespace {
bool CanMovePointer() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr &&
           QGuiApplication::platformName() == QLatin1String("xcb");
}
}  // namespace

std::optional<QPoint> HostPointer::Position() {
    if (!CanMovePointer()) {
        return std::nullopt;
    }
    return QCursor::pos();
}

void HostPointer::MoveTo(QPoint position) {
    if (CanMovePointer()) {
        QCursor::setPos(position);
    }
}

void HostPointer::EndScreenSaver() {
    if (!QStandardPaths::findExecutable(QStringLiteral("xdg-screensaver")).isEmpty()) {
        QProcess::startDetached(QStringLiteral("xdg-screensaver"), {QStringLiteral("reset")});
    }
}

void HostSound::PlayFile(const QString& file) {
    if (!QFileInfo(file).isFile()) {
        return;
    }
    for (const char* player : {"pw-play", "paplay", "aplay"}) {
        const QString program = QStandardPaths::findExecutable(QString::fromLatin1(player));
        if (!program.isEmpty()) {
            QProcess::startDetached(program, {file});
            return;
        }
    }
}

bool DisplayReachable(const Environment& env) {
    const QString platform = env.Get(QStringLiteral("QT_QPA_PLATFORM"));
    if (platform.startsWith(QLatin1String("offscreen")) || platform.startsWith(QLatin1String("minimal"))) {
        return true;
    }
    const QString wayland = env.Get(QStringLiteral("WAYLAND_DISPLAY"));
    if (!wayland.isEmpty()) {
        const QString socket =
            wayland.startsWith(u'/') ? wayland : env.Get(QStringLiteral("XDG_RUNTIME_DIR")) + u'/' + wayland;
        if (QFileInfo::exists(socket)) {
            return true;
        }
    }
    // ":N", ":N.S" or "unix:N": the local socket of display N must take a connection.
    static const QRegularExpression local(QStringLiteral(R"(^(?:unix)?:(\d+)(?:\.\d+)?$)"));
    const QString display = env.Get(QStringLiteral("DISPLAY"));
    if (display.isEmpty()) {
        return false;
    }
    const auto match = local.match(display);
    if (!match.hasMatch()) {
        return true;  // a display over the network: only Qt can tell
    }
    const QByteArray path = QFile::encodeName(QStringLiteral("/tmp/.X11-unix/X") + match.captured(1));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.constData(), sizeof(address.sun_path) - 1);
    const bool answered = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    ::close(fd);
    return answered;
}

void QtEventLoop::ProcessEvents() {
    if (QCoreApplication::instance() != nullptr) {
        QCoreApplication::processEvents();
    }
}

void QtEventLoop::Pause(int milliseconds) {
    QDeadlineTimer deadline(milliseconds);
    while (!deadline.hasExpired()) {
        ProcessEvents();
        QThread::msleep(
            static_cast<unsigned long>(qMin<qint64>(10, qMax<qint64>(1, deadline.remainingTime()))));
    }
}

}  // namespace merivane
