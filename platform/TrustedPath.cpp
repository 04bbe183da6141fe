#include "platform/TrustedPath.h"

#include "platform/ErrorText.h"

#include <QFile>
#include <QList>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The most links followed from the path to the file, as the system allows.
constexpr int MaxLinks = 40;

// A link being followed, until the walk has reached where it leads.
struct Link
{
    QByteArray path;
    uid_t owner;
    struct stat folder; // the folder it sits in
    qsizetype endsAt;   // parts left to walk once its target is walked
};

QByteArray joined(const QByteArray &folder, const QByteArray &name)
{
    return folder == "/" ? "/" + name : folder + '/' + name;
}

QByteArray parentOf(const QByteArray &folder)
{
    const qsizetype slash = folder.lastIndexOf('/');
    return slash <= 0 ? QByteArray("/") : folder.left(slash);
}

// The parts of a path still to walk, the next one last.
void pushParts(QList<QByteArray> &todo, const QByteArray &path)
{
    QList<QByteArray> parts = path.split('/');
    parts.removeIf([](const QByteArray &part) { return part.isEmpty() || part == "."; });
    std::reverse(parts.begin(), parts.end());
    todo += parts;
}

// Why the link may not lead into the folder `into`; empty where it may. Only
// root, the player and the folder's own owner are trusted with a folder: a
// link that someone else may change could make the player's game write
// there, and the player would never know.
QString refusal(const Link &link, const QByteArray &into)
{
    const uid_t player = ::geteuid();
    const struct stat &folder = link.folder;
    const QString name = QFile::decodeName(link.path);
    if ((folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH) && link.owner != player && link.owner != folder.st_uid)
        return QStringLiteral("Символическую ссылку %1 создал другой пользователь (%2) в папке, куда могут писать все; "
                              "по чужим ссылкам в такой папке игра не переходит")
            .arg(name, userText(link.owner));
    struct stat target;
    if (::stat(into.constData(), &target) != 0)
        return errorText(errno);
    for (const uid_t user : {link.owner, folder.st_uid}) {
        if (user != 0 && user != player && user != target.st_uid)
            return QStringLiteral("Символическая ссылка %1 (её владелец — %2, владелец её папки — %3) ведёт в папку %4, "
                                  "владелец которой — %5; по такой ссылке игра не переходит")
                .arg(name, userText(link.owner), userText(folder.st_uid), QFile::decodeName(into),
                     userText(target.st_uid));
    }
    return {};
}

// Checks every link whose target has now been walked, ending in folder `into`.
bool settle(QList<Link> &links, qsizetype left, const QByteArray &into, QString &error)
{
    while (!links.isEmpty() && links.last().endsAt >= left) {
        error = refusal(links.takeLast(), into);
        if (!error.isEmpty())
            return false;
    }
    return true;
}

} // namespace

PathEnd followTrustedLinks(const QByteArray &path, QByteArray &file, QString &error)
{
    QByteArray done = "/"; // the folder reached so far, with no link in it
    if (!path.startsWith('/')) {
        char *current = ::getcwd(nullptr, 0);
        if (!current) {
            error = errorText(errno);
            return PathEnd::Failed;
        }
        done = current;
        std::free(current);
    }
    QList<QByteArray> todo;
    pushParts(todo, path);
    QList<Link> links;
    int followed = 0;
    while (!todo.isEmpty()) {
        const QByteArray part = todo.takeLast();
        if (part == "..") {
            done = parentOf(done);
            if (!settle(links, todo.size(), done, error))
                return PathEnd::Failed;
            continue;
        }
        const QByteArray next = joined(done, part);
        struct stat info;
        if (::lstat(next.constData(), &info) != 0) {
            const int code = errno;
            if (code == ENOENT && !todo.isEmpty())
                return PathEnd::FolderMissing;
            if (code != ENOENT) {
                error = errorText(code);
                return PathEnd::Failed;
            }
            // The file is not there yet: the save makes it here.
            file = next;
            return settle(links, 0, done, error) ? PathEnd::Found : PathEnd::Failed;
        }
        if (S_ISLNK(info.st_mode)) {
            char target[PATH_MAX];
            const ssize_t size = ::readlink(next.constData(), target, sizeof target);
            if (++followed > MaxLinks || size < 0 || size == ssize_t(sizeof target)) {
                error = errorText(followed > MaxLinks ? ELOOP : size < 0 ? errno : ENAMETOOLONG);
                return PathEnd::Failed;
            }
            Link link{next, info.st_uid, {}, todo.size()};
            if (::stat(done.constData(), &link.folder) != 0) {
                error = errorText(errno);
                return PathEnd::Failed;
            }
            links << link;
            if (target[0] == '/')
                done = "/";
            pushParts(todo, QByteArray(target, size));
            continue;
        }
        if (todo.isEmpty()) {
            // The last part is the file itself, whatever stands there.
            file = next;
            return settle(links, 0, done, error) ? PathEnd::Found : PathEnd::Failed;
        }
        if (!S_ISDIR(info.st_mode)) {
            error = errorText(ENOTDIR);
            return PathEnd::Failed;
        }
        done = next;
        if (!settle(links, todo.size(), done, error))
            return PathEnd::Failed;
    }
    file = done;
    return settle(links, 0, done, error) ? PathEnd::Found : PathEnd::Failed;
}

int openResolvedFolder(const QByteArray &folder)
{
    int fd = ::open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const QList<QByteArray> parts = folder.split('/');
    for (qsizetype i = 0; i < parts.size() && fd >= 0; ++i) {
        if (parts[i].isEmpty())
            continue;
        // Only the folder itself is read (for its entries, and to flush it).
        const int how = O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
        int next = ::openat(fd, parts[i].constData(), (i == parts.size() - 1 ? O_RDONLY : O_PATH) | how);
        if (next < 0 && errno == EACCES)
            next = ::openat(fd, parts[i].constData(), O_PATH | how);
        const int code = errno;
        ::close(fd);
        fd = next;
        errno = code;
    }
    return fd;
}
