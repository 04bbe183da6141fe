#include "platform/RecordsFolder.h"

#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Whether a folder named by the environment may be used: an absolute path
// that is not another user's (one not there yet is made on the first save).
bool usable(const QByteArray &path)
{
    struct stat info;
    return path.startsWith('/') && (::stat(path.constData(), &info) != 0 || info.st_uid == ::geteuid());
}

QByteArray homeFromPasswords()
{
    const passwd *entry = ::getpwuid(::geteuid());
    return entry && entry->pw_dir && entry->pw_dir[0] == '/' ? QByteArray(entry->pw_dir) : QByteArray();
}

// folder/name, whatever separators folder ends with.
QByteArray inside(QByteArray folder, const char *name)
{
    while (folder.endsWith('/'))
        folder.chop(1);
    return folder + '/' + name;
}

QByteArray homeFolder()
{
    const QByteArray home = qgetenv("HOME");
    if (usable(home))
        return home;
    if (const QByteArray own = homeFromPasswords(); !own.isEmpty())
        return own;
    // Nothing better is known: HOME as it stands, named in full.
    if (home.startsWith('/'))
        return home;
    char *current = ::getcwd(nullptr, 0);
    const QByteArray full = inside(current ? current : "", home.constData());
    std::free(current);
    return full;
}

} // namespace

QByteArray playerDataFolder()
{
    // A relative XDG_DATA_HOME is invalid and ignored, as the XDG rules say.
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    return inside(usable(dataHome) ? dataHome : inside(homeFolder(), ".local/share"), "pyatnashki");
}

void keepRootInItsOwnHome()
{
    const QByteArray home = qgetenv("HOME"), own = homeFromPasswords();
    if (::geteuid() != 0 || own.isEmpty() || usable(home) || !home.startsWith('/'))
        return;
    for (const char *name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
        if (const QByteArray folder = qgetenv(name); folder == home || folder.startsWith(home + '/'))
            qunsetenv(name);
    qputenv("HOME", own);
}
