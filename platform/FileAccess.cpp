#include "platform/FileAccess.h"

#include <QFile>
#include <QSaveFile>

namespace {

bool writeAll(QIODevice &out, const char *data, qint64 size, QString &error)
{
    while (size > 0) {
        const qint64 written = out.write(data, size);
        if (written <= 0) {
            error = out.errorString();
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

} // namespace

bool readHead(const QString &path, qint64 maxBytes, QByteArray &head, QString &error)
{
    head.clear();
    QFile file(path);
    if (!file.exists()) {
        // Reading creates the file, as the game always has; where the folder
        // cannot be written there is simply no table yet.
        (void)file.open(QIODevice::WriteOnly | QIODevice::NewOnly);
        return true;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return false;
    }
    head = file.read(maxBytes);
    if (file.error() != QFileDevice::NoError) {
        error = file.errorString();
        return false;
    }
    return true;
}

bool writeHeadKeepingTail(QIODevice &out, const QByteArray &head, QIODevice *old, QString &error)
{
    if (!writeAll(out, head.constData(), head.size(), error))
        return false;
    if (!old)
        return true;
    if (!old->seek(head.size())) {
        error = old->errorString();
        return false;
    }
    char buffer[16384];
    for (;;) {
        const qint64 got = old->read(buffer, sizeof buffer);
        if (got < 0) {
            error = old->errorString();
            return false;
        }
        if (got == 0)
            return true;
        if (!writeAll(out, buffer, got, error))
            return false;
    }
}

bool replaceHead(const QString &path, const QByteArray &head, QString &error)
{
    QFile old(path);
    const bool hasOld = old.exists();
    if (hasOld && !old.open(QIODevice::ReadOnly)) {
        error = old.errorString();
        return false;
    }
    // QSaveFile writes beside the target, syncs it to disk and renames it over
    // the target on commit; dropped uncommitted, it removes what it wrote.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return false;
    }
    if (!writeHeadKeepingTail(file, head, hasOld ? &old : nullptr, error)) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}
