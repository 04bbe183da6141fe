#include "platform/TrustedPath.h"

#include "platform/ErrorText.h"

#include <QFile>
#include <QList>

#include <acl/libacl.h>
#include <sys/acl.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>

namespace {

// The most links followed from the path to the file, as the system allows.
constexpr int MaxLinks = 40;

// One step: opened as it stands, a link as the link, with no access asked of it.
constexpr int StepFlags = O_PATH | O_NOFOLLOW | O_CLOEXEC;

// A name still to walk.
struct Part
{
    QByteArray name;
    int link = -1;           // the followed link whose target names it; -1: the path itself
    bool lastFolder = false; // the folder the path names last
};

struct Followed
{
    QByteArray path, target;
};

QByteArray joined(const QByteArray &folder, const QByteArray &name)
{
    if (name == "..") {
        const qsizetype slash = folder.lastIndexOf('/');
        return slash <= 0 ? QByteArray("/") : folder.left(slash);
    }
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

// Puts the names of path on the walk, the next one last.
void pushParts(QList<Part> &todo, const QByteArray &path, int link)
{
    const QList<QByteArray> names = path.split('/');
    for (qsizetype i = names.size(); i-- > 0;)
        if (!names[i].isEmpty() && names[i] != ".")
            todo.append(Part{names[i], link});
}

QByteArray currentFolder()
{
    char *current = ::getcwd(nullptr, 0);
    const QByteArray folder = current ? QByteArray(current) : QByteArray(".");
    std::free(current);
    return folder;
}

QString groupText(gid_t gid)
{
    const group *entry = ::getgrgid(gid);
    return entry && entry->gr_name && *entry->gr_name ? QString::fromLocal8Bit(entry->gr_name) : QString::number(gid);
}

// Whether the player is the group's one member, as Debian's OpenSSH judges a
// group-writable key: a user's own group is the player's, a shared one is not.
bool playersOwnGroup(gid_t gid, uid_t player)
{
    const group *entry = ::getgrgid(gid);
    const passwd *user = ::getpwuid(player);
    if (!entry || !user)
        return false;
    const QByteArray name = user->pw_name;
    int members = 0;
    for (char **member = entry->gr_mem; *member; ++member, ++members)
        if (name != *member)
            return false;
    bool others = false;
    ::setpwent();
    while (!others && (user = ::getpwent()))
        if (user->pw_gid == gid) {
            others = user->pw_uid != player;
            ++members;
        }
    ::endpwent();
    return !others && members > 0;
}

// Who besides root and the player may write into a folder, as a message
// says it ("может писать группа staff"); empty where nobody may. False,
// with the reason, where its access list cannot be read.
bool othersWriting(int folder, const struct stat &info, QString &who, QString &error)
{
    const uid_t player = ::geteuid();
    if (info.st_mode & S_IWOTH) {
        who = QStringLiteral("могут писать все");
        return true;
    }
    // With an access list the group bits are its mask: without write there,
    // no entry of the list may write.
    if (!(info.st_mode & S_IWGRP))
        return true;
    const auto group = [&](gid_t gid) {
        if (!playersOwnGroup(gid, player))
            who = QStringLiteral("может писать группа %1").arg(groupText(gid));
    };
    acl_t list = ::acl_get_file(("/proc/self/fd/" + QByteArray::number(folder)).constData(), ACL_TYPE_ACCESS);
    if (!list) {
        if (errno != ENOTSUP) {
            error = errorText(errno);
            return false;
        }
        group(info.st_gid);
        return true;
    }
    acl_entry_t entry;
    for (int which = ACL_FIRST_ENTRY; who.isEmpty() && ::acl_get_entry(list, which, &entry) == 1; which = ACL_NEXT_ENTRY) {
        acl_tag_t tag;
        acl_permset_t permissions;
        if (::acl_get_tag_type(entry, &tag) != 0 || ::acl_get_permset(entry, &permissions) != 0
            || ::acl_get_perm(permissions, ACL_WRITE) != 1)
            continue;
        if (tag == ACL_GROUP_OBJ)
            group(info.st_gid);
        if (tag != ACL_USER && tag != ACL_GROUP)
            continue;
        void *qualifier = ::acl_get_qualifier(entry);
        const uint id = qualifier ? *static_cast<uint *>(qualifier) : 0;
        ::acl_free(qualifier);
        if (tag == ACL_GROUP)
            group(gid_t(id));
        else if (id != 0 && id != player)
            who = QStringLiteral("может писать пользователь %1").arg(userText(uid_t(id)));
    }
    ::acl_free(list);
    return true;
}

// Why the link, standing in `folder`, may not be followed; empty where it
// may. Anyone who can put a link where the game looks could make the
// player's game write over any of the player's files.
QString refusal(int folder, const struct stat &link, const QByteArray &path)
{
    const uid_t player = ::geteuid();
    const QString name = QFile::decodeName(path);
    struct stat holder;
    QString who, error;
    if (::fstat(folder, &holder) != 0)
        return errorText(errno);
    // Another name of a link could be put anywhere by anyone.
    if (link.st_nlink > 1)
        return QStringLiteral("У символической ссылки %1 есть и другие имена (жёсткие ссылки на неё); "
                              "по такой ссылке игра не переходит")
            .arg(name);
    if (holder.st_uid != 0 && holder.st_uid != player)
        return QStringLiteral("Символическая ссылка %1 лежит в папке пользователя %2; "
                              "по ссылкам в чужих папках игра не переходит")
            .arg(name, userText(holder.st_uid));
    if (!othersWriting(folder, holder, who, error))
        return error;
    if (who.isEmpty())
        return {};
    // In a sticky folder the others may add links but not replace these, as
    // the system's own look-ups judge.
    if (holder.st_mode & S_ISVTX) {
        if (link.st_uid == player || link.st_uid == holder.st_uid)
            return {};
        return QStringLiteral("Символическую ссылку %1 создал другой пользователь (%2) в папке, куда %3; "
                              "по чужим ссылкам в такой папке игра не переходит")
            .arg(name, userText(link.st_uid), who);
    }
    return QStringLiteral("Символическая ссылка %1 лежит в папке, куда %2; по ссылкам в такой папке игра не переходит")
        .arg(name, who);
}

QString foreignFolder(const QByteArray &path, uid_t owner)
{
    return QStringLiteral("Папка %1 принадлежит другому пользователю (%2)").arg(QFile::decodeName(path), userText(owner));
}

// Makes folder `name` inside the open `folder`, for the player alone.
bool makeFolder(int folder, const QByteArray &walked, const QByteArray &name, QString &error)
{
    struct stat holder;
    if (::fstat(folder, &holder) != 0) {
        error = errorText(errno);
        return false;
    }
    if (holder.st_uid != ::geteuid()) {
        error = foreignFolder(walked, holder.st_uid) + QStringLiteral("; игра ничего в ней не создаёт");
        return false;
    }
    // Another game may have made it a moment ago.
    if (::mkdirat(folder, name.constData(), 0700) == 0 || errno == EEXIST)
        return true;
    error = errorText(errno);
    return false;
}

} // namespace

QString Place::shown(const QByteArray &entry) const
{
    return QFile::decodeName(joined(walked, entry));
}

PathEnd walkTo(const QByteArray &path, Place &place, QString &error, WalkRules rules)
{
    const uid_t player = ::geteuid();
    const bool absolute = path.startsWith('/');
    Fd at(::open(absolute ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC));
    QByteArray walked = absolute ? QByteArray("/") : currentFolder();
    QList<Part> todo;
    QList<Followed> links;
    pushParts(todo, path, -1);
    if (todo.size() > 1)
        todo[1].lastFolder = true;
    const auto found = [&](const QByteArray &name) {
        place.folder = std::move(at);
        place.walked = walked;
        place.name = name;
        return PathEnd::Found;
    };
    while (at && !todo.isEmpty()) {
        const Part part = todo.takeLast();
        const bool last = todo.isEmpty();
        const QByteArray here = joined(walked, part.name);
        Fd next(::openat(at.get(), part.name.constData(), StepFlags));
        // Folders the path names are made inside the folder held, never
        // where a link leads.
        if (!next && errno == ENOENT && !last && rules.makeFolders && part.link < 0) {
            if (!makeFolder(at.get(), walked, part.name, error))
                return PathEnd::Failed;
            next = Fd(::openat(at.get(), part.name.constData(), StepFlags));
        }
        struct stat info;
        if (!next || ::fstat(next.get(), &info) != 0) {
            const int code = errno;
            if (code == ENOENT && last)
                return found(part.name); // not there yet: the save makes it here
            if (code == ENOENT && !rules.makeFolders)
                return PathEnd::FolderMissing;
            error = code == ENOENT && part.link >= 0
                        ? QStringLiteral("Символическая ссылка %1 ведёт в %2, а такой папки нет")
                              .arg(QFile::decodeName(links[part.link].path), QFile::decodeName(links[part.link].target))
                        : errorText(code);
            return PathEnd::Failed;
        }
        if (rules.ownFolder && part.lastFolder && info.st_uid != player) {
            error = foreignFolder(here, info.st_uid) + QStringLiteral("; игра не читает и не пишет рекорды в чужой папке");
            return PathEnd::Failed;
        }
        if (S_ISLNK(info.st_mode)) {
            char target[PATH_MAX];
            const ssize_t size = ::readlinkat(next.get(), "", target, sizeof target);
            error = refusal(at.get(), info, here);
            if (error.isEmpty() && (links.size() == MaxLinks || size < 0 || size == ssize_t(sizeof target)))
                error = errorText(links.size() == MaxLinks ? ELOOP : size < 0 ? errno : ENAMETOOLONG);
            if (!error.isEmpty())
                return PathEnd::Failed;
            links.append(Followed{here, QByteArray(target, size)});
            if (size > 0 && target[0] == '/') {
                at = Fd(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
                walked = "/";
            }
            pushParts(todo, links.last().target, int(links.size() - 1));
            continue;
        }
        if (last)
            return found(part.name); // whatever stands there: its opening judges it
        if (!S_ISDIR(info.st_mode)) {
            error = errorText(ENOTDIR);
            return PathEnd::Failed;
        }
        at = std::move(next);
        walked = here;
    }
    if (!at) {
        error = errorText(errno);
        return PathEnd::Failed;
    }
    return found("."); // the path names a folder
}

int openOrdinary(int folder, const QByteArray &name, int flags, mode_t mode, QString &error, struct stat &there)
{
    there = {};
    error.clear();
    const int fd = ::openat(folder, name.constData(), flags | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, mode);
    if (fd < 0) {
        const int code = errno;
        if (::fstatat(folder, name.constData(), &there, AT_SYMLINK_NOFOLLOW) != 0) {
            there = {};
            if (code == ENOENT && !(flags & O_CREAT))
                return -1;
        }
        // A socket cannot be opened at all: say what it is, not ENXIO.
        error = there.st_mode && !S_ISREG(there.st_mode) ? notAFileText(there.st_mode) : errorText(code);
        return -1;
    }
    if (::fstat(fd, &there) != 0)
        error = errorText(errno);
    else if (!S_ISREG(there.st_mode))
        error = notAFileText(there.st_mode);
    else
        return fd;
    ::close(fd);
    return -1;
}
