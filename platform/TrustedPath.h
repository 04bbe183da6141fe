#pragma once

#include <QByteArray>
#include <QString>

#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>
#include <utility>

// An open file descriptor, closed when it goes.
class Fd
{
public:
    Fd() = default;
    explicit Fd(int fd) : m_fd(fd) {}
    Fd(Fd &&other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    Fd &operator=(Fd &&other) noexcept
    {
        std::swap(m_fd, other.m_fd);
        return *this;
    }
    ~Fd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int get() const { return m_fd; }
    explicit operator bool() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

// What a walk may do beyond following the links it trusts.
struct WalkRules
{
    // Make the missing folders the path names (not those a link names), for
    // the player alone, and only inside folders of the player's own.
    bool makeFolders = false;
    // The folder the path names last must be the player's own as it stands:
    // a folder of the player's, or a link of the player's.
    bool ownFolder = false;
};

enum class PathEnd { Found, FolderMissing, Failed };

// Where a path leads: the folder that holds the file, held open, and the
// file's name in it. Everything done to the file is done in that folder,
// whatever is put on the path meanwhile.
struct Place
{
    Fd folder;
    QByteArray name;
    QByteArray walked; // the folder's path as walked: for messages only

    // How messages name an entry of the folder.
    QString shown(const QByteArray &entry) const;
};

// Walks path to the file it names (which may not be there yet), one step at a
// time from an open folder, never following a link by name: each link is
// read from the link opened, and followed only where nobody but root and the
// player can have put it: it has one name, and its folder is root's or the
// player's and nobody else may write there (through the group, unless the
// player is its only member, an access list or the other bits), but for the
// player's and the folder owner's links in a sticky folder.
// FolderMissing when a folder on the way is not there; Failed, with the
// reason in Russian (a refused link named, and why), otherwise.
PathEnd walkTo(const QByteArray &path, Place &place, QString &error, WalkRules rules = {});

// Opens name in folder with flags, never through a link, never waiting, and
// only as an ordinary file: anything else standing there is refused at once,
// saying what it is. Returns the descriptor, or -1 with the reason in error;
// error stays empty where nothing is there and nothing was to be made.
// `there` gets what stands at name (st_mode 0 where nothing does).
int openOrdinary(int folder, const QByteArray &name, int flags, mode_t mode, QString &error, struct stat &there);
