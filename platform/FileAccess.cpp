#include "platform/FileAccess.h"

#include "platform/ErrorText.h"
#include "platform/SaveLock.h"
#include "platform/TrustedPath.h"

#include <QIODevice>
#include <QRandomGenerator>

#include <sys/acl.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// How long a save waits for another game's save to end.
constexpr int LockWaitMs = 2000;

QString tooLargeText()
{
    return QStringLiteral("Файл слишком велик для таблицы рекордов: в нём больше %1 байт").arg(MaxFileBytes);
}

// An open file as an unbuffered device whose failures carry the system's
// reason in Russian; closes the file with it.
class FileDevice : public QIODevice
{
public:
    FileDevice(int fd, OpenMode mode) : m_fd(fd) { open(mode | Unbuffered); }
    ~FileDevice() override
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }

    int handle() const { return m_fd; }
    bool seek(qint64 pos) override
    {
        if (::lseek(m_fd, pos, SEEK_SET) >= 0)
            return QIODevice::seek(pos);
        failed();
        return false;
    }
    // Closes the file: false, with the reason, if the system reports a
    // failure that only showed now.
    bool closeFile(QString &error)
    {
        const int fd = std::exchange(m_fd, -1);
        if (::close(fd) == 0 || errno == EINTR)
            return true;
        error = errorText(errno);
        return false;
    }

protected:
    qint64 readData(char *data, qint64 size) override
    {
        ssize_t got;
        while ((got = ::read(m_fd, data, size_t(size))) < 0 && errno == EINTR) {
        }
        return got < 0 ? failed() : got;
    }
    qint64 writeData(const char *data, qint64 size) override
    {
        ssize_t put;
        while ((put = ::write(m_fd, data, size_t(size))) < 0 && errno == EINTR) {
        }
        return put < 0 ? failed() : put;
    }

private:
    qint64 failed()
    {
        setErrorString(errorText(errno));
        return -1;
    }

    int m_fd;
};

bool readFrom(QIODevice &file, qint64 maxBytes, QByteArray &head, QString &error)
{
    head.resize(maxBytes);
    qint64 done = 0;
    while (done < maxBytes) {
        const qint64 got = file.read(head.data() + done, maxBytes - done);
        if (got < 0) {
            error = file.errorString();
            return false;
        }
        if (got == 0)
            break;
        done += got;
    }
    head.truncate(done);
    return true;
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

// A save's new file: hidden, and marked as the game's own and the player's,
// so that no person's copy of the file and no other program's temporary file
// is ever taken for one, and a save killed before its rename leaves a file
// the next save finds by name, however many others the folder holds. Where
// another user's file holds that name (the player may not remove it from a
// sticky folder), any free name does. -1, with the reason, if none can be made.
int createNewFile(const Place &place, mode_t mode, QByteArray &created, QString &error)
{
    const int folder = place.folder.get();
    const uid_t player = ::geteuid();
    const QByteArray own = '.' + place.name + ".pyatnashki-save-" + QByteArray::number(player);
    struct stat left;
    if (::fstatat(folder, own.constData(), &left, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(left.st_mode)
        && (left.st_uid == player || player == 0))
        ::unlinkat(folder, own.constData(), 0);
    created = own;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const int fd = ::openat(folder, created.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0)
            return fd;
        if (errno != EEXIST)
            break;
        // Drawn from the system each time: a process forked from another
        // must not draw the same names.
        created = own + '-' + QByteArray::number(QRandomGenerator::system()->generate64(), 36);
    }
    error = errorText(errno);
    return -1;
}

// The new file takes the old one's owner, group, mode and access list, so
// that a save gives nobody more than the old file did: all as root (a game
// once started with sudo must not take the file from its owner), the group
// where the player may. Never a set-id bit, which no table needs.
bool keepAccess(int fd, FileDevice &old, const struct stat &was, QString &error)
{
    if (::fchown(fd, was.st_uid, was.st_gid) != 0 && ::fchown(fd, uid_t(-1), was.st_gid) != 0) {
        // Neither the owner's nor the group's to give: the player's own, as any new file.
    }
    if (::fchmod(fd, was.st_mode & 0777) != 0) {
        // A file system without modes keeps its own.
    }
    // After the mode, which would change the list's mask.
    acl_t list = ::acl_get_fd(old.handle());
    const bool kept = list ? ::acl_set_fd(fd, list) == 0 : errno == ENOTSUP;
    if (!kept)
        error = errorText(errno);
    ::acl_free(list);
    return kept;
}

// Writes head and old's bytes beyond it into a new file beside the file,
// checks every write, syncs it to disk and renames it over the file.
bool saveReplacing(const Place &place, const QByteArray &head, FileDevice *old, const struct stat &was, QString &error)
{
    QByteArray created;
    // Private until it has the old file's access; a first file gets the usual mode.
    const int fd = createNewFile(place, old ? 0600 : 0666, created, error);
    if (fd < 0)
        return false;
    const int folder = place.folder.get();
    FileDevice out(fd, QIODevice::WriteOnly);
    bool saved = writeHeadKeepingTail(out, head, old, error);
    if (saved && ::fdatasync(fd) != 0 && errno != EINVAL) {
        error = errorText(errno);
        saved = false;
    }
    saved = saved && (!old || keepAccess(fd, *old, was, error)) && out.closeFile(error);
    if (saved && ::renameat(folder, created.constData(), folder, place.name.constData()) != 0) {
        error = errorText(errno);
        saved = false;
    }
    if (!saved) {
        ::unlinkat(folder, created.constData(), 0);
        return false;
    }
    // The rename itself on disk too. A folder the player may not read
    // cannot be flushed, and keeps the system's own pace.
    const Fd flush(::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (flush)
        ::fsync(flush.get());
    return true;
}

} // namespace

bool readHeadMakingFile(const QByteArray &path, qint64 maxBytes, QByteArray &head, QString &error, WalkRules rules)
{
    head.clear();
    Place place;
    switch (walkTo(path, place, error, rules)) {
    case PathEnd::Found:
        break;
    case PathEnd::FolderMissing:
        return true;
    case PathEnd::Failed:
        return false;
    }
    struct stat info;
    const int fd = openOrdinary(place.folder.get(), place.name, O_RDONLY, 0, error, info);
    if (fd >= 0) {
        FileDevice file(fd, QIODevice::ReadOnly);
        return readFrom(file, maxBytes, head, error);
    }
    if (!error.isEmpty())
        return false;
    // Reading creates the file, as the game always has; where the folder
    // cannot be written there is simply no table yet.
    const Fd made(::openat(place.folder.get(), place.name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
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
    for (qint64 size = head.size();;) {
        // One byte past the bound is enough to know the file is too large.
        const qint64 got = old->read(buffer, std::min<qint64>(sizeof buffer, MaxFileBytes - size + 1));
        if (got < 0) {
            error = old->errorString();
            return false;
        }
        if (got == 0)
            return true;
        size += got;
        if (size > MaxFileBytes) {
            error = tooLargeText();
            return false;
        }
        if (!writeAll(out, buffer, got, error))
            return false;
    }
}

bool updateHead(const QByteArray &path, qint64 maxBytes, const Runtime::HeadUpdate &update, QString &error,
                Runtime::InTheWay *inTheWay, WalkRules rules)
{
    Place place;
    switch (walkTo(path, place, error, rules)) {
    case PathEnd::Found:
        break;
    case PathEnd::FolderMissing:
        error = errorText(ENOENT);
        return false;
    case PathEnd::Failed:
        return false;
    }
    SaveLock lock(place);
    if (!lock.acquire(LockWaitMs, error)) {
        if (lock.inTheWay() && inTheWay)
            *inTheWay = {lock.path(), lock.removableBy()};
        return false;
    }
    struct stat was;
    const int fd = openOrdinary(place.folder.get(), place.name, O_RDONLY, 0, error, was);
    if (fd < 0 && !error.isEmpty())
        return false;
    const std::unique_ptr<FileDevice> old(fd >= 0 ? new FileDevice(fd, QIODevice::ReadOnly) : nullptr);
    QByteArray current;
    if (old && !readFrom(*old, maxBytes, current, error))
        return false;
    // Checked before anything is written: copying a huge (or sparse) file's
    // bytes beyond the table would fill the disk.
    if (old && was.st_size > MaxFileBytes) {
        error = tooLargeText();
        return false;
    }
    const std::optional<QByteArray> head = update(current);
    return !head || saveReplacing(place, *head, old.get(), was, error);
}
