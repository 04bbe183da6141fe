#pragma once

#include "platform/TrustedPath.h"

#include <QByteArray>
#include <QString>

// The lock every game takes to save a file: an exclusive lock on
// ".<name>.pyatnashki-lock" beside it. The system drops the lock with the
// process that holds it, so a game killed while saving never holds up the next
// save; the lock file itself goes when the lock is let go, and one a killed
// game left is simply reused. Only an ordinary file serves as the lock, never
// one reached through a link, and opening it never waits.
class SaveLock
{
public:
    // The lock of the file at place, taken in place's folder, which must stay
    // open while the lock lives.
    explicit SaveLock(const Place &place);
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
    // Who alone may remove what is in the way, where the player may not (a
    // file of another user's in a sticky folder); empty otherwise.
    QString removableBy() const { return m_removableBy; }
    // The lock file's path.
    QString path() const { return m_path; }

private:
    // Whether fd is still the file at the lock's name.
    bool atName(int fd) const;

    int m_folder;
    QByteArray m_name;
    QString m_path;
    Fd m_held;
    bool m_inTheWay = false;
    QString m_removableBy;
};
