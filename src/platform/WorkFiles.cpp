#include "platform/WorkFiles.h"

#include "platform/Paths.h"
#include "platform/TextFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <cerrno>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

namespace merivane {

namespace {

const QRegularExpression& WorkingCopyPattern() {
    static const QRegularExpression pattern(QStringLiteral(R"(^\.merivane-(\d+)-temp\.theme$)"));
    return pattern;
}

bool ProcessAlive(qint64 pid) {
    return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

QString NoteFile(const QString& notes, qint64 pid) {
    return WithTrailingSeparator(notes) + QString::number(pid);
}

}  // namespace

std::unique_ptr<ChangeLock> ChangeLock::Acquire(const QString& file, EventLoop& events, int tries,
                                                int pauseMs) {
    const int fd = ::open(QFile::encodeName(file).constData(), O_CREAT | O_RDWR | O_CLOEXEC, 0600);
    if (fd < 0) {
        return nullptr;
    }
    for (int attempt = 0; attempt < tries; ++attempt) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            return std::unique_ptr<ChangeLock>(new ChangeLock(fd));
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            break;
        }
        events.Pause(pauseMs);
    }
    ::close(fd);
    return nullptr;
}

ChangeLock::~ChangeLock() {
    ::close(m_fd);  // the lock goes with the descriptor
}

std::unique_ptr<ResidentMark> ResidentMark::Take(const QString& file) {
    int fd = ::open(QFile::encodeName(file).constData(), O_CREAT | O_RDWR | O_CLOEXEC, 0600);
    if (fd < 0) {
        return nullptr;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return nullptr;
    }
    QByteArray pid = QByteArray::number(QCoreApplication::applicationPid()) + '\n';
    if (::ftruncate(fd, 0) != 0 || ::write(fd, pid.constData(), pid.size()) != pid.size()) {
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<ResidentMark>(new ResidentMark(fd));
}

ResidentMark::~ResidentMark() {
    ::ftruncate(m_fd, 0);
    ::close(m_fd);
}

std::optional<qint64> RunningResident(const QString& file) {
    int fd = ::open(QFile::encodeName(file).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    std::optional<qint64> pid;
    if (::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        char buffer[32] = {};
        ssize_t got = ::read(fd, buffer, sizeof(buffer) - 1);
        bool ok = false;
        qint64 value = QByteArray(buffer, got > 0 ? static_cast<int>(got) : 0).trimmed().toLongLong(&ok);
        if (ok && value > 0) {
            pid = value;
        }
    }
    ::close(fd);
    return pid;
}

QString WorkingCopyName() {
    return QStringLiteral(".merivane-%1-temp.theme").arg(QCoreApplication::applicationPid());
}

bool IsWorkingCopyName(const QString& fileName) {
    return WorkingCopyPattern().match(fileName).hasMatch();
}

bool NoteWorkingCopy(const QString& notes, const QString& path) {
    return QDir().mkpath(notes) &&
           WriteFileAtomically(NoteFile(notes, QCoreApplication::applicationPid()), path.toUtf8(), nullptr);
}

void RemoveWorkingCopy(const QString& notes, const QString& path) {
    QFile::remove(path);
    QFile::remove(NoteFile(notes, QCoreApplication::applicationPid()));
}

void ClearStaleWorkingCopies(const QString& notes) {
    const QDir dir(notes);
    const QStringList entries = dir.entryList(QDir::Files | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool ok = false;
        const qint64 pid = entry.toLongLong(&ok);
        if (!ok || ProcessAlive(pid)) {
            continue;
        }
        QFile note(dir.filePath(entry));
        const QString path = note.open(QIODevice::ReadOnly) ? QString::fromUtf8(note.readAll()) : QString();
        note.close();
        auto match = WorkingCopyPattern().match(FileNameOf(path));
        if (match.hasMatch() && match.captured(1).toLongLong() == pid) {
            QFile::remove(path);
        }
        QFile::remove(dir.filePath(entry));
    }
}

}  // namespace merivane
