#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <fcntl.h>

// The lock every game takes to save a file: an exclusive lock on
// ".<name>.pyatnashki-lock" beside it. The system drops the lock with the
// process that holds it, so a game killed while saving never holds up the next
// save; the lock file itself goes when the lock is let go, and one a killed
// game left is simply reused. Only an ordinary file serves as the lock, never
// one reached through a link, and opening it never waits.
class SaveLock
{
public:
    // file: the encoded path of the file to be saved, links already resolved;
    // folder (if given): its folder, open, in which the lock is then taken
    // whatever is put on the path since.
    explicit SaveLock(const QByteArray &file, int folder = AT_FDCWD);
    ~SaveLock();
    SaveLock(const SaveLock &) = delete;
    SaveLock &operator=(const SaveLock &) = delete;

    // Waits up to timeoutMs for the lock. False, with the reason: the system's,
    // the other game named when it keeps the lock all that time, or what stands
    // at the lock's path when that cannot serve as the lock (see inTheWay).
    bool acquire(int timeoutMs, QString &error);

    // Whether the last acquire failed on what stands at the lock's path, so
    // that removing it lets saves go on.
    bool inTheWay() const { return m_inTheWay; }
    // The lock file's path.
    QString path() const { return QFile::decodeName(m_lockPath); }

private:
    // Opens the lock file, creating it; -1, with the reason, if it cannot serve.
    int open(QString &error);

    QByteArray m_lockPath;
    int m_folder;
    QByteArray m_at; // the lock's name in m_folder
    int m_fd = -1;
    bool m_inTheWay = false;
};
