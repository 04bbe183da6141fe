#include "platform/SaveLock.h"

#include <QDeadlineTimer>
#include <QFile>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

SaveLock::SaveLock(const QString &path) : m_lockPath(QFile::encodeName(path + QStringLiteral(".lock"))) {}

SaveLock::~SaveLock()
{
    if (m_fd < 0)
        return;
    // Removed while still held, so a game that opens it afterwards finds the
    // file gone from the path and starts again with a new one.
    ::unlink(m_lockPath.constData());
    ::close(m_fd);
}

bool SaveLock::acquire(int timeoutMs, QString &error)
{
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        const int fd = ::open(m_lockPath.constData(), O_RDONLY | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0) {
            error = qt_error_string(errno);
            return false;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            // The game before may have removed the file as it let go: only a
            // lock on the file still at the path counts.
            struct stat held, atPath;
            if (::fstat(fd, &held) == 0 && ::stat(m_lockPath.constData(), &atPath) == 0
                && held.st_dev == atPath.st_dev && held.st_ino == atPath.st_ino) {
                m_fd = fd;
                return true;
            }
        } else if (errno != EWOULDBLOCK) {
            error = qt_error_string(errno);
            ::close(fd);
            return false;
        }
        ::close(fd);
        if (deadline.hasExpired()) {
            error = QStringLiteral("Файл сохраняет другая запущенная игра");
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}
