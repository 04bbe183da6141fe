#include "platform/RecordsFolder.h"

#include "platform/ErrorText.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The user's home: $HOME, or the password database's entry where HOME is not
// a usable path, so root's records stay in root's own home too.
QString homeFolder()
{
    const QString home = qEnvironmentVariable("HOME");
    if (QDir::isAbsolutePath(home))
        return home;
    const passwd *entry = ::getpwuid(::geteuid());
    return entry && entry->pw_dir ? QString::fromLocal8Bit(entry->pw_dir) : QDir::homePath();
}

} // namespace

QString playerDataFolder()
{
    // A relative XDG_DATA_HOME is invalid and ignored, as the XDG rules say.
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    const QString base = QDir::isAbsolutePath(dataHome) ? dataHome : homeFolder() + QStringLiteral("/.local/share");
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
    if (::mkdir(QFile::encodeName(clean).constData(), 0700) == 0)
        return true;
    const int code = errno;
    // Another game may have made it a moment ago.
    if (code == EEXIST && QFileInfo(clean).isDir())
        return true;
    error = errorText(code);
    return false;
}
