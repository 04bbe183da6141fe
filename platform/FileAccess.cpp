#include "platform/FileAccess.h"

#include "platform/ErrorText.h"
#include "platform/SaveLock.h"
#include "platform/TrustedPath.h"

#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// How long a save waits for another game's save to end.
constexpr int LockWaitMs = 2000;

// Letters that end the name of a save's new file.
constexpr char NameLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr int NameEnding = 6;

enum class Found { File, Missing, Failed };

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

// Opens the file at path for reading; its links are already followed, and a
// link that appears there since is not. Non-blocking, so a FIFO or device in
// its place is turned away at once instead of hanging the game; only "no such
// file" counts as missing.
Found openOrdinary(int folder, const QByteArray &name, std::unique_ptr<FileDevice> &file, QString &error)
{
    struct stat info;
    const int fd = ::openat(folder, name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        const int code = errno;
        if (code == ENOENT)
            return Found::Missing;
        // A socket cannot be opened at all: say what it is, not ENXIO.
        error = ::fstatat(folder, name.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISREG(info.st_mode)
                    ? notAFileText(info.st_mode)
                    : errorText(code);
        return Found::Failed;
    }
    if (::fstat(fd, &info) != 0) {
        error = errorText(errno);
    } else if (!S_ISREG(info.st_mode)) {
        error = notAFileText(info.st_mode);
    } else {
        file = std::make_unique<FileDevice>(fd, QIODevice::ReadOnly);
        return Found::File;
    }
    ::close(fd);
    return Found::Failed;
}

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

// Where the file a path leads to stands: its folder, held open so that the
// save works there whatever is put on the path since the links were checked,
// and its name in it.
struct Place
{
    QByteArray path;
    QByteArray name;
    int folder = -1;
    ~Place()
    {
        if (folder >= 0)
            ::close(folder);
    }
};

PathEnd findPlace(const QString &path, Place &place, QString &error)
{
    const PathEnd end = followTrustedLinks(QFile::encodeName(path), place.path, error);
    if (end != PathEnd::Found)
        return end;
    const qsizetype slash = place.path.lastIndexOf('/');
    place.name = place.path.mid(slash + 1);
    place.folder = openResolvedFolder(slash == 0 ? QByteArray("/") : place.path.left(slash));
    if (place.folder >= 0)
        return PathEnd::Found;
    error = errorText(errno);
    return PathEnd::Failed;
}

// The start of the name of a save's new file: hidden, and marked as the
// game's own, so that no person's copy of the file and no other program's
// temporary file is ever taken for one.
QByteArray newFilePrefix(const QByteArray &name)
{
    return '.' + name + ".pyatnashki-save-";
}

// Creates the save's new file beside the file; -1, with the reason, if it cannot.
int createNewFile(const Place &place, mode_t mode, QByteArray &created, QString &error)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        // Drawn from the system each time: a process forked from another
        // must not draw the same names.
        quint64 bits = QRandomGenerator::system()->generate64();
        created = newFilePrefix(place.name);
        for (int i = 0; i < NameEnding; ++i, bits /= sizeof NameLetters - 1)
            created += NameLetters[bits % (sizeof NameLetters - 1)];
        const int fd = ::openat(place.folder, created.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0)
            return fd;
        if (errno != EEXIST)
            break;
    }
    error = errorText(errno);
    return -1;
}

// A save killed between creating its new file and the rename leaves that file
// behind; under the lock no other save is writing one. Only ordinary files
// named as the game names its new files are removed, never through a link.
void removeStrays(const Place &place)
{
    const QByteArray start = newFilePrefix(place.name);
    const int fd = ::openat(place.folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR *folder = fd >= 0 ? ::fdopendir(fd) : nullptr;
    if (!folder) {
        if (fd >= 0)
            ::close(fd);
        return;
    }
    while (const dirent *entry = ::readdir(folder)) {
        const QByteArray name(entry->d_name);
        const QByteArray ending = name.mid(start.size());
        struct stat info;
        if (name.startsWith(start) && ending.size() == NameEnding
            && std::all_of(ending.begin(), ending.end(), [](char c) { return std::strchr(NameLetters, c); })
            && ::fstatat(::dirfd(folder), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode))
            ::unlinkat(::dirfd(folder), entry->d_name, 0);
    }
    ::closedir(folder);
}

// The new file takes the old one's owner, group and mode: all three as root
// (a game once started with sudo must not take the file from its owner), the
// group where the player may and the mode otherwise.
void keepOwnerAndMode(int fd, const struct stat &old)
{
    if (::fchown(fd, old.st_uid, old.st_gid) != 0 && ::fchown(fd, uid_t(-1), old.st_gid) != 0) {
        // Neither the owner's nor the group's to give: the player's own, as any new file.
    }
    if (::fchmod(fd, old.st_mode & 07777) != 0) {
        // A file system without modes keeps its own.
    }
}

// Writes head and old's bytes beyond it into a new file beside file, checks
// every write, syncs it to disk and renames it over file.
bool saveReplacing(const Place &place, const QByteArray &head, FileDevice *old, QString &error)
{
    struct stat was;
    const bool replacing = old && ::fstat(old->handle(), &was) == 0;
    QByteArray created;
    // Private until it has the old file's owner and mode; a first file gets the usual mode.
    const int fd = createNewFile(place, replacing ? 0600 : 0666, created, error);
    if (fd < 0)
        return false;
    FileDevice out(fd, QIODevice::WriteOnly);
    bool saved = writeHeadKeepingTail(out, head, old, error);
    if (saved && ::fdatasync(fd) != 0 && errno != EINVAL) {
        error = errorText(errno);
        saved = false;
    }
    if (saved && replacing)
        keepOwnerAndMode(fd, was);
    saved = saved && out.closeFile(error);
    if (saved && ::renameat(place.folder, created.constData(), place.folder, place.name.constData()) != 0) {
        error = errorText(errno);
        saved = false;
    }
    if (!saved) {
        ::unlinkat(place.folder, created.constData(), 0);
        return false;
    }
    // The rename itself on disk too. A folder the player may not read
    // cannot be flushed, and keeps the system's own pace.
    ::fsync(place.folder);
    return true;
}

} // namespace

bool readHead(const QString &path, qint64 maxBytes, QByteArray &head, QString &error)
{
    head.clear();
    Place place;
    switch (findPlace(path, place, error)) {
    case PathEnd::Found:
        break;
    case PathEnd::FolderMissing:
        return true;
    case PathEnd::Failed:
        return false;
    }
    std::unique_ptr<FileDevice> opened;
    switch (openOrdinary(place.folder, place.name, opened, error)) {
    case Found::File:
        return readFrom(*opened, maxBytes, head, error);
    case Found::Missing: {
        // Reading creates the file, as the game always has; where the folder
        // cannot be written there is simply no table yet.
        const int fd = ::openat(place.folder, place.name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0)
            ::close(fd);
        return true;
    }
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

bool updateHead(const QString &path, qint64 maxBytes, const Runtime::HeadUpdate &update, QString &error,
                QString *lockInTheWay)
{
    Place place;
    switch (findPlace(path, place, error)) {
    case PathEnd::Found:
        break;
    case PathEnd::FolderMissing:
        error = errorText(ENOENT);
        return false;
    case PathEnd::Failed:
        return false;
    }
    SaveLock lock(place.path, place.folder);
    if (!lock.acquire(LockWaitMs, error)) {
        if (lock.inTheWay() && lockInTheWay)
            *lockInTheWay = lock.path();
        return false;
    }
    std::unique_ptr<FileDevice> old;
    QByteArray current;
    const Found found = openOrdinary(place.folder, place.name, old, error);
    if (found == Found::Failed || (found == Found::File && !readFrom(*old, maxBytes, current, error)))
        return false;
    // Checked before anything is written: copying a huge (or sparse) file's
    // bytes beyond the table would fill the disk.
    struct stat info;
    if (old && ::fstat(old->handle(), &info) == 0 && info.st_size > MaxFileBytes) {
        error = tooLargeText();
        return false;
    }
    const std::optional<QByteArray> head = update(current);
    if (!head)
        return true;
    removeStrays(place);
    return saveReplacing(place, *head, old.get(), error);
}
