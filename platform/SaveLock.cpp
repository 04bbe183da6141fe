#include "platform/SaveLock.h"

#include "platform/ErrorText.h"

#include <QDeadlineTimer>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

// Hidden, and marked as the game's own, as the save's new files are: no
// person and no other program names a file so, so the game never takes
// another's file for its lock, nor removes one.
QByteArray lockPathFor(const QByteArray &file)
{
    const qsizetype slash = file.lastIndexOf('/');
    return file.left(slash + 1) + '.' + file.mid(slash + 1) + ".pyatnashki-lock";
}

} // namespace

SaveLock::SaveLock(const QByteArray &file, int folder)
    : m_lockPath(lockPathFor(file)), m_folder(folder),
      m_at(folder == AT_FDCWD ? m_lockPath : m_lockPath.mid(m_lockPath.lastIndexOf('/') + 1))
{
}

SaveLock::~SaveLock()
{
    if (m_fd < 0)
        return;
    // Removed while still held, so a game that opens it afterwards finds the
    // file gone from the path and starts again with a new one; only the file
    // this game holds, never one put in its place.
    struct stat held, atPath;
    if (::fstat(m_fd, &held) == 0 && ::fstatat(m_folder, m_at.constData(), &atPath, AT_SYMLINK_NOFOLLOW) == 0
        && held.st_dev == atPath.st_dev && held.st_ino == atPath.st_ino)
        ::unlinkat(m_folder, m_at.constData(), 0);
    ::close(m_fd);
}

int SaveLock::open(QString &error)
{
    // Not through a link (it could make a file anywhere), and without waiting
    // (a named pipe would block the game for good).
    const int fd = ::openat(m_folder, m_at.constData(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
    struct stat info;
    if (fd < 0) {
        const int code = errno;
        // Something there that cannot be opened is in the way; with nothing
        // there, the folder itself refused the new file.
        m_inTheWay = ::fstatat(m_folder, m_at.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0;
        error = m_inTheWay && !S_ISREG(info.st_mode) ? notAFileText(info.st_mode) : errorText(code);
        return -1;
    }
    if (::fstat(fd, &info) != 0)
        error = errorText(errno);
    else if (!S_ISREG(info.st_mode))
        error = notAFileText(info.st_mode);
    else
        return fd;
    m_inTheWay = true;
    ::close(fd);
    return -1;
}

bool SaveLock::acquire(int timeoutMs, QString &error)
{
    const QDeadlineTimer deadline(timeoutMs);
    m_inTheWay = false;
    for (;;) {
        const int fd = open(error);
        if (fd < 0)
            return false;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            // The game before may have removed the file as it let go: only a
            // lock on the file still at the path counts.
            struct stat held, atPath;
            if (::fstat(fd, &held) == 0 && ::fstatat(m_folder, m_at.constData(), &atPath, AT_SYMLINK_NOFOLLOW) == 0
                && held.st_dev == atPath.st_dev && held.st_ino == atPath.st_ino) {
                m_fd = fd;
                return true;
            }
        } else if (errno != EWOULDBLOCK) {
            error = errorText(errno);
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
