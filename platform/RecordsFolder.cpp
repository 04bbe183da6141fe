#include "platform/RecordsFolder.h"

#include "platform/ErrorText.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <climits>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Whether a folder named by the environment may be used: an absolute path
// that is not another user's (one not there yet is made on the first save).
bool usable(const QString &path)
{
    struct stat info;
    return QDir::isAbsolutePath(path)
           && (::stat(QFile::encodeName(path).constData(), &info) != 0 || info.st_uid == ::geteuid());
}

QString homeFolder()
{
    const QString home = qEnvironmentVariable("HOME");
    if (usable(home))
        return home;
    const passwd *entry = ::getpwuid(::geteuid());
    if (entry && entry->pw_dir && entry->pw_dir[0] == '/')
        return QString::fromLocal8Bit(entry->pw_dir);
    // Nothing better is known: HOME as it stands, named in full.
    return QDir::current().absoluteFilePath(home);
}

QString ownerText(const QString &folder, uid_t owner)
{
    return QStringLiteral("Папка %1 принадлежит другому пользователю (%2)").arg(folder, userText(owner));
}

// Why path cannot be made where it exists as something other than a folder.
QString notAFolderText(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info;
    char target[PATH_MAX];
    ssize_t size;
    if (::lstat(name.constData(), &info) == 0 && S_ISLNK(info.st_mode)
        && (size = ::readlink(name.constData(), target, sizeof target - 1)) >= 0)
        return QStringLiteral("Символическая ссылка %1 ведёт в %2, а такой папки нет")
            .arg(path, QFile::decodeName(QByteArray(target, size)));
    return errorText(ENOTDIR);
}

} // namespace

QString playerDataFolder()
{
    // A relative XDG_DATA_HOME is invalid and ignored, as the XDG rules say.
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    const QString base = usable(dataHome) ? dataHome : homeFolder() + QStringLiteral("/.local/share");
    return QDir::cleanPath(base + QStringLiteral("/pyatnashki"));
}

bool makeFolder(const QString &folder, QString &error)
{
    const QString clean = QDir::cleanPath(folder);
    if (QFileInfo(clean).isDir())
        return true;
    const QString parent = QFileInfo(clean).path();
    if (parent != clean && !makeFolder(parent, error))
        return false;
    struct stat info;
    if (::stat(QFile::encodeName(parent).constData(), &info) == 0 && info.st_uid != ::geteuid()) {
        error = ownerText(parent, info.st_uid) + QStringLiteral("; игра ничего в ней не создаёт");
        return false;
    }
    if (::mkdir(QFile::encodeName(clean).constData(), 0700) == 0)
        return true;
    const int code = errno;
    // Another game may have made it a moment ago.
    if (code == EEXIST && QFileInfo(clean).isDir())
        return true;
    error = code == EEXIST ? notAFolderText(clean) : errorText(code);
    return false;
}

bool isOwnFolder(const QString &folder, QString &error)
{
    // A link of the player's own is the player's choice; where it leads is
    // then the links' rules' to judge.
    struct stat info;
    if (::lstat(QFile::encodeName(folder).constData(), &info) != 0 || info.st_uid == ::geteuid())
        return true;
    error = ownerText(folder, info.st_uid) + QStringLiteral("; игра не читает и не пишет рекорды в чужой папке");
    return false;
}
