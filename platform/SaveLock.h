#pragma once

#include <QByteArray>
#include <QString>

// The lock every game takes to save a file: an exclusive lock on "<file>.lock"
// beside it. The system drops the lock with the process that holds it, so a
// game killed while saving never holds up the next save; the lock file itself
// goes when the lock is let go, and one a killed game left is simply reused.
class SaveLock
{
public:
    explicit SaveLock(const QString &path);
    ~SaveLock();
    SaveLock(const SaveLock &) = delete;
    SaveLock &operator=(const SaveLock &) = delete;

    // Waits up to timeoutMs for the lock. False, with the system's reason, or
    // with the other game named when it keeps the lock all that time.
    bool acquire(int timeoutMs, QString &error);

private:
    QByteArray m_lockPath;
    int m_fd = -1;
};
