#include "platform/SaveLock.h"

#include "platform/ErrorText.h"

#include <QDeadlineTimer>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>

// Hidden, and marked as the game's own, as the save's new files are: no
// person and no other program names a file so, so the game never takes
// another's file for its lock, nor removes one.
SaveLock::SaveLock(const Place &place)
    : m_folder(place.folder.get()), m_name('.' + place.name + ".pyatnashki-lock"), m_path(place.shown(m_name))
{
}

SaveLock::~SaveLock()
{
    // Removed while still held, so a game that opens it afterwards finds the
    // file gone from the path and starts again with a new one; only the file
    // this game holds, never one put in its place.
    if (m_held && atName(m_held.get()))
        ::unlinkat(m_folder, m_name.constData(), 0);
}

bool SaveLock::atName(int fd) const
{
    struct stat held, atPath;
    return ::fstat(fd, &held) == 0 && ::fstatat(m_folder, m_name.constData(), &atPath, AT_SYMLINK_NOFOLLOW) == 0
           && held.st_dev == atPath.st_dev && held.st_ino == atPath.st_ino;
}

bool SaveLock::acquire(int timeoutMs, QString &error)
{
    const QDeadlineTimer deadline(timeoutMs);
    m_inTheWay = false;
    for (;;) {
        struct stat there;
        Fd fd(openOrdinary(m_folder, m_name, O_RDONLY | O_CREAT, 0644, error, there));
        if (!fd) {
            // With nothing there, the folder itself refused the new file.
            m_inTheWay = there.st_mode != 0;
            struct stat folder;
            const uid_t player = ::geteuid();
            if (m_inTheWay && there.st_uid != player && player != 0 && ::fstat(m_folder, &folder) == 0
                && (folder.st_mode & S_ISVTX) && folder.st_uid != player)
                m_removableBy = userText(there.st_uid);
            return false;
        }
        // The game before may have removed the file as it let go: only a
        // lock on the file still at the path counts.
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) == 0) {
            if (atName(fd.get())) {
                m_held = std::move(fd);
                return true;
            }
        } else if (errno != EWOULDBLOCK) {
            error = errorText(errno);
            return false;
        }
        if (deadline.hasExpired()) {
            error = QStringLiteral("Файл сохраняет другая запущенная игра");
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}
