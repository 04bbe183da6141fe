#include "platform/FileAccess.h"

#include "platform/SaveLock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// How long a save waits for another game's save to end.
constexpr int LockWaitMs = 2000;

enum class Found { File, Missing, Failed };

// Why what stands at a path cannot be read as a file.
QString notAFile(mode_t mode)
{
    if (S_ISDIR(mode))
        return QCoreApplication::translate("QIODevice", "file to open is a directory");
    if (S_ISFIFO(mode))
        return QStringLiteral("Это не обычный файл, а именованный канал");
    if (S_ISSOCK(mode))
        return QStringLiteral("Это не обычный файл, а сокет");
    return QStringLiteral("Это не обычный файл, а устройство");
}

// Opens the file at path for reading, following links. Non-blocking, so a FIFO
// or device in its place is turned away at once instead of hanging the game;
// only "no such file" counts as missing.
Found openOrdinary(const QString &path, QFile &file, QString &error)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info;
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int code = errno;
        if (code == ENOENT)
            return Found::Missing;
        // A socket cannot be opened at all: say what it is, not ENXIO.
        error = ::stat(name.constData(), &info) == 0 && !S_ISREG(info.st_mode) ? notAFile(info.st_mode)
                                                                                : qt_error_string(code);
        return Found::Failed;
    }
    if (::fstat(fd, &info) != 0)
        error = qt_error_string(errno);
    else if (!S_ISREG(info.st_mode))
        error = notAFile(info.st_mode);
    else if (file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return Found::File;
    else
        error = file.errorString();
    ::close(fd);
    return Found::Failed;
}

bool readFrom(QFile &file, qint64 maxBytes, QByteArray &head, QString &error)
{
    head = file.read(maxBytes);
    if (file.error() == QFileDevice::NoError)
        return true;
    error = file.errorString();
    return false;
}

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

// Syncs what was written to disk: commit() does too, but ignores a failure.
bool syncToDisk(QFileDevice &file, QString &error)
{
    if (::fdatasync(file.handle()) == 0 || errno == EINVAL)
        return true;
    error = qt_error_string(errno);
    return false;
}

bool saveReplacing(const QString &path, const QByteArray &head, QIODevice *old, QString &error)
{
    // QSaveFile writes beside the target and renames it over the target on
    // commit; dropped uncommitted, it removes what it wrote. Its commit()
    // reports success even when bytes it still buffered could not be written
    // (a full disk left an empty table), and a buffered write the disk cuts
    // short loses the system's reason; unbuffered, every write is checked.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        error = file.errorString();
        return false;
    }
    if (!writeHeadKeepingTail(file, head, old, error) || !syncToDisk(file, error)) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

// A save killed between naming its new file and the rename leaves it behind as
// "<name>.XXXXXX" beside the file the path leads to; under the lock no other
// save is using one.
void removeStrays(const QString &path)
{
    const QString target = QFileInfo(path).canonicalFilePath();
    const QFileInfo file(target.isEmpty() ? path : target);
    const QRegularExpression stray(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(file.fileName()) + QStringLiteral("\\.[A-Za-z0-9]{6}")));
    const QFileInfoList found = file.dir().entryInfoList({file.fileName() + QStringLiteral(".??????")},
                                                         QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    for (const QFileInfo &entry : found)
        if (stray.match(entry.fileName()).hasMatch())
            QFile::remove(entry.filePath());
}

} // namespace

bool readHead(const QString &path, qint64 maxBytes, QByteArray &head, QString &error)
{
    head.clear();
    QFile file;
    switch (openOrdinary(path, file, error)) {
    case Found::File:
        return readFrom(file, maxBytes, head, error);
    case Found::Missing:
        // Reading creates the file, as the game always has; where the folder
        // cannot be written there is simply no table yet.
        (void)QFile(path).open(QIODevice::WriteOnly | QIODevice::NewOnly);
        return true;
    case Found::Failed:
        break;
    }
    return false;
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

bool updateHead(const QString &path, qint64 maxBytes, const Runtime::HeadUpdate &update, QString &error)
{
    SaveLock lock(path);
    if (!lock.acquire(LockWaitMs, error))
        return false;
    QFile old;
    QByteArray current;
    const Found found = openOrdinary(path, old, error);
    if (found == Found::Failed || (found == Found::File && !readFrom(old, maxBytes, current, error)))
        return false;
    const std::optional<QByteArray> head = update(current);
    if (!head)
        return true;
    removeStrays(path);
    return saveReplacing(path, *head, found == Found::File ? &old : nullptr, error);
}
