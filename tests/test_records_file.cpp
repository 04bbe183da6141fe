#include "platform/FileAccess.h"
#include "platform/SaveLock.h"
#include "platform/ScriptedRuntime.h"
#include "records/RecordFormat.h"
#include "support/Processes.h"
#include "support/TableFile.h"

#include <QBuffer>
#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>

#include <sys/acl.h>

#include <csignal>
#include <cstdarg>
#include <dirent.h>
#include <functional>
#include <sched.h>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

// What a save asks of the disk, as the system sees it: this test binary takes
// these calls over (-Wl,--wrap) and, while noting, notes each with the inode
// of the file it is about.
static QList<QByteArray> diskCalls;
static bool notingDiskCalls = false;
// A save dies here, at its rename, as if killed there.
static bool killAtRename = false;

// Two folders side by side, exchanged (renameat2) by another user right
// after the code under test first looks up the first of them by name: one
// use, and the folder is emptied.
struct Exchange
{
    QByteArray folder, name, with;
};
static Exchange exchange;

static void exchangeAfterLookup(const char *path)
{
    const QByteArray looked(path);
    if (exchange.folder.isEmpty() || (looked != exchange.name && !looked.endsWith('/' + exchange.name)))
        return;
    const Exchange now = std::exchange(exchange, {});
    ::renameat2(AT_FDCWD, now.folder + '/' + now.name, AT_FDCWD, now.folder + '/' + now.with, RENAME_EXCHANGE);
}

static void noteDiskCall(const char *call, int code, const struct stat &info)
{
    if (notingDiskCalls && code == 0)
        diskCalls << QByteArray(call) + ' ' + QByteArray::number(quint64(info.st_ino));
}

extern "C" {
int __real_openat(int folder, const char *path, int flags, ...);
DIR *__real_fdopendir(int fd);
DIR *__real_opendir(const char *path);
int __real_fdatasync(int fd);
int __real_fsync(int fd);
int __real_renameat(int fromFolder, const char *from, int toFolder, const char *to);
ssize_t __real_write(int fd, const void *data, size_t size);

int __wrap_openat(int folder, const char *path, int flags, ...)
{
    va_list rest;
    va_start(rest, flags);
    const mode_t mode = flags & (O_CREAT | O_TMPFILE) ? mode_t(va_arg(rest, int)) : 0;
    va_end(rest);
    const int fd = __real_openat(folder, path, flags, mode);
    exchangeAfterLookup(path);
    return fd;
}
// A save reads no folder: a flood of names there would slow every save.
DIR *__wrap_fdopendir(int fd)
{
    struct stat info;
    noteDiskCall("folder read", ::fstat(fd, &info), info);
    return __real_fdopendir(fd);
}
DIR *__wrap_opendir(const char *path)
{
    struct stat info;
    noteDiskCall("folder read", ::stat(path, &info), info);
    return __real_opendir(path);
}
int __wrap_fdatasync(int fd)
{
    struct stat info;
    noteDiskCall("fdatasync", ::fstat(fd, &info), info);
    return __real_fdatasync(fd);
}
int __wrap_fsync(int fd)
{
    struct stat info;
    noteDiskCall("fsync", ::fstat(fd, &info), info);
    return __real_fsync(fd);
}
int __wrap_renameat(int fromFolder, const char *from, int toFolder, const char *to)
{
    struct stat info;
    noteDiskCall("rename", ::fstatat(fromFolder, from, &info, AT_SYMLINK_NOFOLLOW), info);
    if (killAtRename)
        ::raise(SIGKILL);
    return __real_renameat(fromFolder, from, toFolder, to);
}
ssize_t __wrap_write(int fd, const void *data, size_t size)
{
    struct stat info;
    noteDiskCall("write", ::fstat(fd, &info), info);
    return __real_write(fd, data, size);
}
}

namespace {

const QString NoName(NameLength, QChar(u'\0'));

RecordEntry entry(const QString &name, int16_t moves)
{
    return RecordEntry{fixedName(name), moves};
}

QByteArray recordBytes(const QString &name, int16_t moves)
{
    RecordTable table;
    table(1) = entry(name, moves);
    return encodeTable(table).left(RecordSize);
}

// A device that takes `room` bytes and then fails, as a full disk does.
class FullDevice : public QIODevice
{
public:
    explicit FullDevice(qint64 room) : m_room(room) { open(QIODevice::WriteOnly); }
    QByteArray written;

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        const qint64 taken = qMin(size, m_room - written.size());
        if (taken <= 0) {
            setErrorString(QStringLiteral("На устройстве не осталось свободного места"));
            return -1;
        }
        written.append(data, taken);
        return taken;
    }

private:
    qint64 m_room;
};

// Everything in a folder, hidden files, pipes and sockets too.
QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden | QDir::System);
}

QByteArray inodeOf(const QByteArray &path)
{
    struct stat info;
    return ::stat(path.constData(), &info) == 0 ? QByteArray::number(quint64(info.st_ino)) : "none";
}

QByteArray contents(const QByteArray &path)
{
    QFile f(QFile::decodeName(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(no file)");
}

struct Folder
{
    ScriptedRuntime runtime;
    QByteArray path = recordsPath(runtime);

    QByteArray file() const { return contents(path); }
    void put(const QByteArray &bytes) const
    {
        QFile f(QFile::decodeName(path));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    RecordTable read()
    {
        RecordTable table;
        QString error;
        if (!readTable(runtime, path, table, error))
            qWarning("read failed: %s", qPrintable(error));
        return table;
    }
    QStringList entries() const { return entriesOf(runtime.programFolder); }
};

// A table elsewhere that two game folders reach through links: the first
// folder's link is relative, the second leads through the first's.
struct LinkedFolders
{
    Folder a, b;
    QTemporaryDir elsewhere;
    QByteArray real = QFile::encodeName(elsewhere.filePath(QStringLiteral("real.dat")));

    bool make() const
    {
        const QByteArray relative = QFile::encodeName(QDir(a.runtime.programFolder).relativeFilePath(QFile::decodeName(real)));
        return relative.startsWith("../") && ::symlink(relative.constData(), a.path.constData()) == 0
               && ::symlink(a.path.constData(), b.path.constData()) == 0;
    }
    bool linksKept() const
    {
        const QFileInfo first(QFile::decodeName(a.path));
        return first.isSymLink() && QFileInfo(QFile::decodeName(b.path)).symLinkTarget() == first.filePath()
               && first.canonicalFilePath() == QFileInfo(QFile::decodeName(real)).canonicalFilePath();
    }
};

// Exit statuses of a child that could not make the disk it was to fill: in
// general, for want of a mount namespace, and because / is no mount point
// whose mounts could be kept private (as in a chroot).
constexpr int NoDisk = 77, NoNamespace = 78, NoPrivateRoot = 79;

bool writeText(const char *path, const QByteArray &text)
{
    QFile file(QString::fromLatin1(path));
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

// A small file system of this process's own over folder: as root, or as
// anyone where user namespaces are allowed. Returns 0 or the exit status
// that says why not.
int mountSmallDisk(const QString &folder)
{
    const uid_t uid = ::getuid();
    const gid_t gid = ::getgid();
    if (::geteuid() != 0) {
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0 || !writeText("/proc/self/setgroups", "deny")
            || !writeText("/proc/self/uid_map", QByteArray::number(uid) + " " + QByteArray::number(uid) + " 1")
            || !writeText("/proc/self/gid_map", QByteArray::number(gid) + " " + QByteArray::number(gid) + " 1"))
            return NoNamespace;
    } else if (::unshare(CLONE_NEWNS) != 0) {
        return NoNamespace;
    }
    // Else the small disk would show in every other namespace sharing these mounts.
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        return NoPrivateRoot;
    return ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, "size=256k") == 0 ? 0 : NoDisk;
}

// Fills the disk under folder until only `room` bytes are left.
bool fillUpTo(const QString &folder, qint64 room)
{
    QFile filler(folder + QStringLiteral("/filler"));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray block(4096, 'f');
    while (filler.write(block) == block.size()) {
    }
    return filler.resize(filler.size() - room);
}

// A file's access list as getfacl shows it.
QByteArray accessListOf(const QByteArray &path)
{
    const acl_t list = ::acl_get_file(path.constData(), ACL_TYPE_ACCESS);
    char *text = list ? ::acl_to_text(list, nullptr) : nullptr;
    const QByteArray shown = text ? QByteArray(text) : QByteArray("(none)");
    ::acl_free(text);
    ::acl_free(list);
    return shown;
}

// Shows this process, in a mount namespace of its own, a user database in
// which user uid's group (of the same number) has no other member; the
// files are made in folder. False where it cannot.
bool knowOnly(const QString &folder, const QByteArray &uid)
{
    const QByteArray users = QFile::encodeName(folder + "/passwd"), groups = QFile::encodeName(folder + "/group");
    return writeText(users, "root:x:0:0::/root:/bin/sh\nplayer:x:" + uid + ':' + uid + "::/nonexistent:/bin/false\n")
           && writeText(groups, "root:x:0:\nplayer:x:" + uid + ":\n") && ::unshare(CLONE_NEWNS) == 0
           && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0
           && ::mount(users, "/etc/passwd", nullptr, MS_BIND, nullptr) == 0
           && ::mount(groups, "/etc/group", nullptr, MS_BIND, nullptr) == 0;
}

} // namespace

// The records file's bytes, and reading and storing it safely. The reasons
// are checked in Russian with no Qt translation loaded, under LANG=C.
class TestRecordsFile : public QObject
{
    Q_OBJECT

private slots:
    void placesAreStoredAsTwelveBytesInWindows1251()
    {
        QCOMPARE(recordBytes("abc", 123), QByteArray::fromHex("616263202020202020207B00"));
        QCOMPARE(recordBytes("", 32767), QByteArray::fromHex("20202020202020202020FF7F"));
        QCOMPARE(recordBytes("abcdefghijKLM", -2), QByteArray("abcdefghij") + QByteArray::fromHex("FEFF"));
        QCOMPARE(recordBytes("Ёжик Щука", 1), QByteArray::fromHex("A8E6E8EA20D9F3EAE0200100"));
        // No counterpart: one "?" per character, a character beyond the basic plane included.
        QCOMPARE(recordBytes(QStringLiteral("€😀ẞ№ДЯЎ🎲🎲Zq"), 7), QByteArray::fromHex("883F3FB9C4DFA13F3F5A0700"));
        QCOMPARE(fixedName(QStringLiteral("😀😀😀😀😀😀😀😀😀😀😀")).size(), 20);
        // An empty place is twelve zero bytes, unlike an empty name.
        QCOMPARE(encodeTable(RecordTable{}), QByteArray(TableSize, '\0'));
    }

    void everyByteReadsBackAsItselfButTheUndefinedOne()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all += char(b);
        for (int at = 0; at < 256; at += NameLength) {
            const QByteArray bytes = all.mid(at, NameLength).leftJustified(NameLength, ' ');
            QByteArray expected = bytes;
            expected.replace('\x98', '?');
            QCOMPARE(encodeName(decodeName(bytes)), expected);
        }
        QCOMPARE(decodeName(QByteArray::fromHex("C8E2E0ED00000000980A")), QStringLiteral("Иван\0\0\0\0?\n"));
    }

    void missingFileReadsAsFiveEmptyPlacesAndIsCreatedEmpty()
    {
        Folder f;
        const RecordTable table = f.read();
        for (int16_t place = 1; place <= 5; ++place)
            QCOMPARE(table(place), (RecordEntry{NoName, 0}));
        QCOMPARE(f.file(), QByteArray());
        QCOMPARE(f.entries(), QStringList{QStringLiteral("Records.dat")});

        // Where it cannot be created it is no error: there is no table yet.
        QByteArray head("stale");
        QString error;
        QVERIFY(readHeadMakingFile(f.runtime.appPath() + "/gone/Records.dat", TableSize, head, error));
        QCOMPARE(head, QByteArray());
    }

    void aReadOnlyFolderReadsAsEmptyAndRefusesTheStore()
    {
        Folder f;
        QVERIFY(::chown(QFile::encodeName(f.runtime.programFolder).constData(), playingUser(), gid_t(-1)) == 0);
        QFile::setPermissions(f.runtime.programFolder, QFile::ReadOwner | QFile::ExeOwner);
        int status = 0;
        const QByteArray report = asUser(playingUser(), [&] {
            QString error;
            const bool stored = writeTable(f.runtime, f.path, RecordTable{}, error);
            return packed(stored, error, f.read() == RecordTable{});
        }, status);
        QFile::setPermissions(f.runtime.programFolder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(status, 0);
        bool stored = true, empty = false;
        QString error;
        unpack(report, stored, error, empty);
        QVERIFY(!stored);
        QCOMPARE(error, QStringLiteral("Доступ запрещён"));
        QVERIFY(empty);
        QCOMPARE(f.entries(), QStringList{});
    }

    void shortFilesReadTheirMissingBytesAsZeros()
    {
        const QByteArray whole = QByteArray("Alexander!") + QByteArray::fromHex("0102") + "Bo        " +
                                 QByteArray::fromHex("FF7F") + QByteArray(36, 'z') + "Extra bytes";
        for (int length = 0; length <= whole.size(); ++length) {
            Folder f;
            f.put(whole.left(length));
            const RecordTable table = f.read();
            const QByteArray padded = whole.left(qMin(length, TableSize)).leftJustified(TableSize, '\0');
            for (int16_t place = 1; place <= 5; ++place) {
                const QByteArray record = padded.mid((place - 1) * RecordSize, RecordSize);
                QCOMPARE(table(place).Name, QString::fromLatin1(record.left(NameLength)));
                QCOMPARE(table(place).Hod, int16_t(uchar(record[10]) | uchar(record[11]) << 8));
            }
        }
    }

    void storingReplacesFiveRecordsAndKeepsTheTail()
    {
        Folder f;
        RecordTable table;
        table(1) = entry("abc", 123);
        QString error;
        QVERIFY(writeTable(f.runtime, f.path, table, error));
        QCOMPARE(f.file(), QByteArray::fromHex("616263202020202020207B00") + QByteArray(48, '\0'));

        f.put(QByteArray(TableSize, 'x') + "tail kept");
        table(2) = entry("Юра", 9);
        diskCalls.clear();
        notingDiskCalls = true;
        QVERIFY(writeTable(f.runtime, f.path, table, error));
        notingDiskCalls = false;
        QCOMPARE(f.file(), encodeTable(table) + "tail kept");
        QCOMPARE(f.entries(), QStringList{QStringLiteral("Records.dat")});
        // On disk before the rename, and the rename on disk after it: a power
        // cut at any moment leaves one whole table, the record in it once saved.
        const QByteArray file = ' ' + inodeOf(f.path);
        diskCalls.removeAll("write" + file);
        QCOMPARE(diskCalls, QList<QByteArray>({"fdatasync" + file, "rename" + file, "fsync " + inodeOf(f.runtime.appPath())}));

        // Up to the bound a file saves, its tail kept; a byte more, and it is refused.
        for (const qint64 size : {MaxFileBytes, MaxFileBytes + 1}) {
            QVERIFY(::truncate(f.path.constData(), size) == 0);
            QCOMPARE(writeTable(f.runtime, f.path, table, error), size == MaxFileBytes);
        }

        // A file far larger than any table still reads, but a save refuses it
        // at once, before writing a byte.
        constexpr qint64 Huge = qint64(100) << 30;
        QVERIFY(::truncate(f.path.constData(), Huge) == 0);
        diskCalls.clear();
        notingDiskCalls = true;
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!writeTable(f.runtime, f.path, RecordTable{}, error));
        notingDiskCalls = false;
        QVERIFY(clock.elapsed() < 1000);
        QCOMPARE(error, QStringLiteral("Файл слишком велик для таблицы рекордов: в нём больше 65536 байт"));
        QCOMPARE(diskCalls, QList<QByteArray>{});
        QCOMPARE(f.read(), table);
        QCOMPARE(QFileInfo(QFile::decodeName(f.path)).size(), Huge);
        QCOMPARE(f.entries(), QStringList{QStringLiteral("Records.dat")});
    }

    void aWriteThatFailsPartWayIsReportedAtOnce()
    {
        QBuffer old;
        old.setData(QByteArray(TableSize, 'o') + QByteArray(20000, 't'));
        old.open(QIODevice::ReadOnly);
        const QByteArray head(TableSize, 'n');
        const qint64 total = TableSize + 20000;
        for (const qint64 room : {qint64(0), qint64(1), qint64(59), qint64(60), qint64(61), total - 1, total}) {
            FullDevice out(room);
            QString error;
            QCOMPARE(writeHeadKeepingTail(out, head, &old, error), room >= total);
            QCOMPARE(error.isEmpty(), room >= total);
            QCOMPARE(out.written, (head + QByteArray(20000, 't')).left(room));
        }
        // Nor is more written than a records file may hold, whatever the old one holds.
        for (const qint64 size : {MaxFileBytes, MaxFileBytes + 1}) {
            QBuffer large;
            large.setData(QByteArray(size, 'l'));
            large.open(QIODevice::ReadOnly);
            FullDevice out(2 * MaxFileBytes);
            QString error;
            QCOMPARE(writeHeadKeepingTail(out, head, &large, error), size == MaxFileBytes);
            QVERIFY(out.written.size() <= MaxFileBytes);
            QCOMPARE(error, size == MaxFileBytes ? QString() : QStringLiteral("Файл слишком велик для таблицы рекордов: в нём больше 65536 байт"));
        }
    }

    void aFailedStoreLeavesTheFolderAsItWas()
    {
        Folder f;
        QVERIFY(QDir(f.runtime.programFolder).mkdir(QStringLiteral("Records.dat")));
        QString error;
        QVERIFY(!writeTable(f.runtime, f.path, RecordTable{}, error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(f.entries(), QStringList{QStringLiteral("Records.dat")});
        QVERIFY(QFileInfo(QFile::decodeName(f.path)).isDir());

        // A folder that is gone cannot be written either, and nothing appears.
        QVERIFY(!writeTable(f.runtime, f.runtime.appPath() + "/gone/Records.dat", RecordTable{}, error));
        QVERIFY(!error.isEmpty());
    }

    void whatIsNoOrdinaryFileIsRefusedAtOnceWithTheReason_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        const QString folder = QStringLiteral("открываемый файл является каталогом");
        const QString pipe = QStringLiteral("Это не обычный файл, а именованный канал");
        const QString link = QStringLiteral("Это не обычный файл, а символическая ссылка");
        QTest::newRow("folder") << "Records.dat" << "folder" << folder;
        QTest::newRow("named pipe") << "Records.dat" << "pipe" << pipe;
        QTest::newRow("a table the player may not read") << "Records.dat" << "unreadable" << QStringLiteral("Доступ запрещён");
        // Only a file that is not there reads as empty, not one that cannot be looked up.
        QTest::newRow("link to itself") << "Records.dat" << "loop"
                                        << QStringLiteral("Слишком много уровней символических ссылок");
        // The lock is never waited on nor followed through a link, and the
        // save names it: removing it lets the game save again.
        QTest::newRow("lock: folder") << ".Records.dat.pyatnashki-lock" << "folder" << folder;
        QTest::newRow("lock: named pipe") << ".Records.dat.pyatnashki-lock" << "pipe" << pipe;
        QTest::newRow("lock: socket") << ".Records.dat.pyatnashki-lock" << "socket" << QStringLiteral("Это не обычный файл, а сокет");
        QTest::newRow("lock: link to nowhere") << ".Records.dat.pyatnashki-lock" << "link to nowhere" << link;
        QTest::newRow("lock: link to a named pipe") << ".Records.dat.pyatnashki-lock" << "link to a pipe" << link;
        QTest::newRow("lock: a file the player may not read") << ".Records.dat.pyatnashki-lock" << "unreadable"
                                                              << QStringLiteral("Доступ запрещён");
        // ... which only its owner may remove: the save says whose it is.
        QTest::newRow("lock: another user's, in a sticky folder") << ".Records.dat.pyatnashki-lock" << "another's, sticky"
                                                                  << QStringLiteral("Доступ запрещён");
    }
    void whatIsNoOrdinaryFileIsRefusedAtOnceWithTheReason()
    {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        Folder f;
        QTemporaryDir elsewhere;
        const QByteArray outside = QFile::encodeName(elsewhere.filePath(QStringLiteral("made")));
        const QString at = QDir(f.runtime.programFolder).filePath(name);
        const QByteArray path = QFile::encodeName(at);
        const bool lock = name.endsWith(QLatin1String("-lock"));
        const bool sticky = kind == "another's, sticky";
        if (sticky && ::geteuid() != 0)
            QSKIP("only root can plant files as two users here");
        RecordTable table;
        table(1) = entry("kept", 5);
        if (lock)
            f.put(encodeTable(table));
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        qstrncpy(address.sun_path, path.constData(), sizeof address.sun_path);
        const int socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
        const bool made = kind == "folder"            ? ::mkdir(path.constData(), 0755) == 0
                          : kind == "pipe"            ? ::mkfifo(path.constData(), 0644) == 0
                          : kind == "loop"            ? ::symlink("Records.dat", path.constData()) == 0
                          : kind == "socket"          ? ::bind(socket, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0
                          : kind == "link to nowhere" ? ::symlink(outside.constData(), path.constData()) == 0
                          : kind == "unreadable"      ? writeText(path.constData(), "") && ::chmod(path.constData(), 0) == 0
                          : sticky ? writeText(path.constData(), "") && ::chown(path.constData(), Intruder, Intruder) == 0
                                         && ::chmod(path.constData(), 0600) == 0
                                                      : ::mkfifo(outside.constData(), 0644) == 0
                                                            && ::symlink(outside.constData(), path.constData()) == 0;
        ::close(socket);
        QVERIFY(made);
        const QStringList before = f.entries();

        // Modes do not bind root: as root, another user plays.
        const uid_t player = kind == "unreadable" || sticky ? playingUser() : ::geteuid();
        const QByteArray folder = f.runtime.appPath();
        QVERIFY(sticky ? ::chmod(folder.constData(), 01777) == 0 : ::chown(folder.constData(), player, gid_t(-1)) == 0);
        int status = 0;
        const QByteArray report = asUser(player, [&] {
            QString readError, saveError;
            Runtime::InTheWay blocked;
            QElapsedTimer clock;
            clock.start();
            RecordTable read = table;
            const WaitLimit limit(1000);
            const bool readOk = readTable(f.runtime, f.path, read, readError);
            const bool saved = writeTable(f.runtime, f.path, RecordTable{}, saveError, &blocked);
            return packed(readOk, saved, clock.elapsed(), readError, saveError, blocked.path, blocked.removableBy,
                          read(1) == entry("kept", 5));
        }, status);
        QCOMPARE(status, 0);
        bool readOk = !lock, saved = true, kept = false;
        qint64 elapsed = 0;
        QString readError, saveError, lockFile, removableBy;
        unpack(report, readOk, saved, elapsed, readError, saveError, lockFile, removableBy, kept);
        QCOMPARE(readOk, lock);
        QVERIFY(!saved);
        QVERIFY(elapsed < 1000);
        QCOMPARE(readError, lock ? QString() : reason);
        QCOMPARE(saveError, reason);
        QCOMPARE(lockFile, lock ? at : QString());
        QCOMPARE(removableBy, sticky ? QStringLiteral("61002") : QString());
        QVERIFY(kept);
        if (lock)
            QCOMPARE(f.file(), encodeTable(table));
        QCOMPARE(f.entries(), before);
        QCOMPARE(entriesOf(elsewhere.path()), kind == "link to a pipe" ? QStringList{"made"} : QStringList{});
    }

    void aFullDiskFailsTheSaveAndKeepsTheOldFile_data()
    {
        QTest::addColumn<bool>("sizeLimit"); // a file-size limit instead of a full disk
        QTest::addColumn<int>("room");
        QTest::addColumn<int>("tail");
        QTest::addColumn<QString>("reason");
        const QString full = QStringLiteral("Нет свободного места на устройстве");
        const QString tooLarge = QStringLiteral("Файл слишком велик");
        QTest::newRow("full disk") << false << 0 << 0 << full;
        QTest::newRow("full disk, a tail that does not fit") << false << 2 * 4096 << 40000 << full;
        QTest::newRow("size limit 0") << true << 0 << 0 << tooLarge;
        QTest::newRow("size limit below the table") << true << 30 << 0 << tooLarge;
        QTest::newRow("size limit, a tail that does not fit") << true << 1000 << 20000 << tooLarge;
    }
    void aFullDiskFailsTheSaveAndKeepsTheOldFile()
    {
        QFETCH(bool, sizeLimit);
        QFETCH(int, room);
        QFETCH(int, tail);
        QFETCH(QString, reason);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("Records.dat"));
        RecordTable table;
        table(1) = entry("Аня", 30);
        const QByteArray before = encodeTable(table) + QByteArray(tail, 't');
        table(1) = entry("Боря", 20);

        int status = 0;
        const QByteArray report = inChild(
            [&] {
                if (const int noDisk = sizeLimit ? 0 : mountSmallDisk(folder.path()))
                    ::_exit(noDisk);
                QFile file(path);
                if (!file.open(QIODevice::WriteOnly) || file.write(before) != before.size() || !file.flush())
                    ::_exit(NoDisk);
                file.close();
                const rlimit limit{rlim_t(room), rlim_t(room)};
                if (sizeLimit && (::signal(SIGXFSZ, SIG_IGN) == SIG_ERR || ::setrlimit(RLIMIT_FSIZE, &limit) != 0))
                    ::_exit(NoDisk);
                if (!sizeLimit && !fillUpTo(folder.path(), room))
                    ::_exit(NoDisk);
                QString error;
                const bool stored = updateHead(QFile::encodeName(path), TableSize,
                                               [&](const QByteArray &) { return encodeTable(table); }, error);
                QFile::remove(folder.filePath(QStringLiteral("filler")));
                QByteArray out;
                QDataStream(&out, QIODevice::WriteOnly)
                    << stored << error << contents(QFile::encodeName(path))
                    << QDir(folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden);
                return out;
            },
            status);
        if (WIFEXITED(status) && WEXITSTATUS(status) == NoNamespace)
            QSKIP("cannot make a small file system here: no mount namespace of its own "
                  "(that needs root or user namespaces)");
        if (WIFEXITED(status) && WEXITSTATUS(status) == NoPrivateRoot)
            QSKIP("cannot make a small file system here: / is no mount point, so a mount could not be "
                  "kept from the rest of the system (a chroot? bind-mount its folder onto itself)");
        if (WIFEXITED(status) && WEXITSTATUS(status) == NoDisk)
            QSKIP("cannot make a small file system here");
        QCOMPARE(status, 0);
        bool stored = true;
        QString error;
        QByteArray after;
        QStringList entries;
        QDataStream(report) >> stored >> error >> after >> entries;
        QVERIFY(!stored);
        QCOMPARE(error, reason);
        QCOMPARE(after, before);
        QCOMPARE(entries, QStringList{QStringLiteral("Records.dat")});
    }

    void aSaveKilledAnywhereLeavesOneWholeTableAndNothingElse()
    {
        Folder f;
        RecordTable first, second;
        first(1) = entry("Аня", 30);
        second(1) = entry("Боря", 20);
        second(2) = entry("Аня", 30);
        const QByteArray tail(5000, 't');
        f.put(encodeTable(first) + tail);
        QRandomGenerator random(1251);
        for (int kill = 0; kill < 300; ++kill) {
            const pid_t saver = ::fork();
            if (saver == 0) {
                for (QString error;;) {
                    writeTable(f.runtime, f.path, second, error);
                    writeTable(f.runtime, f.path, first, error);
                }
            }
            ::usleep(random.bounded(4000));
            ::kill(saver, SIGKILL);
            ::waitpid(saver, nullptr, 0);
            const QByteArray now = f.file();
            QVERIFY2(now == encodeTable(first) + tail || now == encodeTable(second) + tail, qPrintable(now.toHex()));
        }
        // A game that keeps the lock turns the save away after a wait; killed, it holds up nothing.
        int ready[2];
        QVERIFY(::pipe(ready) == 0);
        Children holder;
        holder.pids << ::fork();
        if (holder.pids[0] == 0) {
            Place place;
            QString error;
            walkTo(f.path, place, error);
            SaveLock lock(place);
            if (lock.acquire(0, error) && ::write(ready[1], "!", 1) == 1)
                ::pause();
            ::_exit(1);
        }
        char mark = 0;
        const ssize_t got = ::read(ready[0], &mark, 1);
        ::close(ready[0]);
        ::close(ready[1]);
        QCOMPARE(got, ssize_t(1));
        const QByteArray before = f.file();
        QString error;
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!writeTable(f.runtime, f.path, second, error));
        QVERIFY(clock.elapsed() >= 1900);
        QCOMPARE(error, QStringLiteral("Файл сохраняет другая запущенная игра"));
        QCOMPARE(f.file(), before);
        ::kill(holder.pids[0], SIGKILL);
        ::waitpid(holder.pids.takeFirst(), nullptr, 0);
        // What a save killed before its rename leaves goes at the next save,
        // found without reading the folder; the player's files beside it,
        // whatever their names, modes or owners, stay.
        const pid_t killed = ::fork();
        if (killed == 0) {
            killAtRename = true;
            writeTable(f.runtime, f.path, first, error);
            ::_exit(0);
        }
        int status = 0;
        QVERIFY(::waitpid(killed, &status, 0) == killed && WIFSIGNALED(status));
        QVERIFY(f.entries().size() > 1);
        QCOMPARE(f.file(), before);
        const QDir folder(f.runtime.programFolder);
        const QStringList players = {"Records.dat.backup", "Records.dat.123456", "Records.dat.ABCDEF",
                                     "Records.dat.aBcDeF", "Records.dat.orig01", "Records.dat.before"};
        for (const QString &name : players)
            QVERIFY(writeText(qPrintable(folder.filePath(name)), "mine"));
        QVERIFY(::chmod((f.path + ".orig01").constData(), 0444) == 0);
        if (::geteuid() == 0)
            QVERIFY(::chown((f.path + ".before").constData(), 65534, 65534) == 0 && ::chmod((f.path + ".before").constData(), 0400) == 0);
        diskCalls.clear();
        notingDiskCalls = true;
        QVERIFY2(writeTable(f.runtime, f.path, second, error), qPrintable(error));
        notingDiskCalls = false;
        QVERIFY(!diskCalls.join(' ').contains("folder read"));
        // What the player cannot remove from that name is left, and another name serves.
        const QByteArray taken = QFile::encodeName(folder.filePath(".Records.dat.pyatnashki-save-")) + QByteArray::number(::geteuid());
        QVERIFY(::mkdir(taken.constData(), 0755) == 0);
        QVERIFY2(writeTable(f.runtime, f.path, second, error), qPrintable(error));
        QVERIFY(::rmdir(taken.constData()) == 0);
        QCOMPARE(f.file(), encodeTable(second) + tail);
        QStringList expected = players + QStringList{"Records.dat"}, left = f.entries();
        expected.sort();
        left.sort();
        QCOMPARE(left, expected);
        for (const QString &name : players)
            QCOMPARE(contents(QFile::encodeName(folder.filePath(name))), QByteArray("mine"));
    }

    void aSaveThroughLinksWritesTheFileTheyLeadToAndKeepsIt_data()
    {
        QTest::addColumn<uint>("owner"); // 0: the player's own
        QTest::addColumn<uint>("mode");
        QTest::addColumn<QString>("accessList"); // in setfacl's words
        QTest::newRow("the player's file, 0664") << 0u << 0664u << QString();
        QTest::newRow("another user's read-only file, saved by root") << 65534u << 0444u << QString();
        // A table is no program: no save may make it one that runs as its owner.
        QTest::newRow("another user's set-id file, saved by root") << 65534u << 06755u << QString();
        QTest::newRow("the player's file shared by an access list") << 0u << 0600u
                                                                    << QStringLiteral("u::rw-,u:61002:rw-,g::---,m::rw-,o::---");
    }
    void aSaveThroughLinksWritesTheFileTheyLeadToAndKeepsIt()
    {
        QFETCH(uint, owner);
        QFETCH(uint, mode);
        QFETCH(QString, accessList);
        if (owner && ::geteuid() != 0)
            QSKIP("only root can save another user's file here");
        LinkedFolders l;
        QVERIFY(l.make());
        RecordTable table;
        table(1) = entry("Аня", 30);
        QVERIFY(writeText(l.real, encodeTable(table) + "tail"));
        const QByteArray real = l.real;
        QVERIFY((!owner || ::chown(real, owner, owner) == 0) && ::chmod(real, mode) == 0);
        if (!accessList.isEmpty()) {
            const acl_t list = ::acl_from_text(qPrintable(accessList));
            QVERIFY(list && ::acl_set_file(real, ACL_TYPE_ACCESS, list) == 0);
            ::acl_free(list);
        }
        const QByteArray accessBefore = accessListOf(real);
        struct stat before, after;
        QVERIFY(::stat(real, &before) == 0);
        // Beside the file actually written: the player's copy and another
        // program's lock stay.
        const QDir elsewhere(l.elsewhere.path());
        QVERIFY(writeText(qPrintable(elsewhere.filePath("real.dat.backup")), "mine"));
        QVERIFY(writeText(qPrintable(elsewhere.filePath("real.dat.lock")), "another program's"));

        QString error;
        table(2) = entry("Боря", 40);
        QVERIFY2(writeTable(l.a.runtime, l.a.path, table, error), qPrintable(error));
        table(3) = entry("Вика", 50);
        QVERIFY2(writeTable(l.b.runtime, l.b.path, table, error), qPrintable(error));

        QCOMPARE(contents(l.real), encodeTable(table) + "tail");
        QVERIFY(l.linksKept());
        QVERIFY(::stat(real, &after) == 0);
        QCOMPARE(after.st_uid, before.st_uid);
        QCOMPARE(after.st_gid, before.st_gid);
        QCOMPARE(after.st_mode, before.st_mode & ~(S_ISUID | S_ISGID));
        QCOMPARE(accessListOf(real), accessBefore);
        QCOMPARE(entriesOf(l.elsewhere.path()), QStringList({"real.dat", "real.dat.backup", "real.dat.lock"}));
        QCOMPARE(contents(QFile::encodeName(elsewhere.filePath("real.dat.backup"))), QByteArray("mine"));
        QCOMPARE(contents(QFile::encodeName(elsewhere.filePath("real.dat.lock"))), QByteArray("another program's"));
        QCOMPARE(l.a.entries(), QStringList{"Records.dat"});
        QCOMPARE(l.b.entries(), QStringList{"Records.dat"});
    }

    // Whoever can put a link where the game looks could point the player's
    // save at any of the player's files: a link is followed only where
    // nobody but root and the player can have put it. Each row breaks one
    // part of that rule.
    void aLinkIsFollowedOnlyWhereNobodyElseCanHavePutIt_data()
    {
        QTest::addColumn<uint>("player");
        QTest::addColumn<uint>("folderOwner");
        QTest::addColumn<uint>("folderGroup");
        QTest::addColumn<uint>("folderMode");
        QTest::addColumn<QString>("accessList"); // of the link's folder, in setfacl's words
        QTest::addColumn<uint>("linkOwner");
        QTest::addColumn<bool>("secondName");   // the link has a hard link beside it
        QTest::addColumn<bool>("groupOfOne");   // the system knows the folder's group as the player's alone
        QTest::addColumn<QString>("refusal");   // %1 the link; empty: followed
        const uint P = Player, I = Intruder;
        const QString inFolder = QStringLiteral("Символическая ссылка %1 лежит в папке, куда %2; по ссылкам в такой папке "
                                                "игра не переходит");
        QTest::newRow("another user's link in a shared sticky folder")
            << P << 0u << 0u << 01777u << QString() << I << false << false
            << QStringLiteral("Символическую ссылку %1 создал другой пользователь (61002) в папке, куда могут писать все; "
                              "по чужим ссылкам в такой папке игра не переходит");
        QTest::newRow("root playing in another user's folder, that user's link")
            << 0u << I << I << 0755u << QString() << I << false << false
            << QStringLiteral("Символическая ссылка %1 лежит в папке пользователя 61002; по ссылкам в чужих папках игра "
                              "не переходит");
        QTest::newRow("the player's link in the player's folder, which a group of others may write")
            << P << P << I << 02775u << QString() << P << false << false << inFolder.arg("%1", "может писать группа 61002");
        QTest::newRow("the player's link in the player's folder, open to another user by an access list")
            << P << P << P << 0755u << QStringLiteral("u::rwx,u:61002:rwx,g::r-x,m::rwx,o::r-x") << P << false << false
            << inFolder.arg("%1", "может писать пользователь 61002");
        QTest::newRow("the player's link in the player's folder, open to all")
            << P << P << P << 0777u << QString() << P << false << false << inFolder.arg("%1", "могут писать все");
        QTest::newRow("a second name of the player's link, in a shared sticky folder")
            << P << 0u << 0u << 01777u << QString() << P << true << false
            << QStringLiteral("У символической ссылки %1 есть и другие имена (жёсткие ссылки на неё); по такой ссылке игра "
                              "не переходит");
        QTest::newRow("the player's own link in a shared sticky folder")
            << P << 0u << 0u << 01777u << QString() << P << false << false << QString();
        QTest::newRow("the player's link in a folder of the player's own group")
            << P << P << P << 02775u << QString() << P << false << true << QString();
    }
    void aLinkIsFollowedOnlyWhereNobodyElseCanHavePutIt()
    {
        QFETCH(uint, player);
        QFETCH(uint, folderOwner);
        QFETCH(uint, folderGroup);
        QFETCH(uint, folderMode);
        QFETCH(QString, accessList);
        QFETCH(uint, linkOwner);
        QFETCH(bool, secondName);
        QFETCH(bool, groupOfOne);
        QFETCH(QString, refusal);
        if (::geteuid() != 0)
            QSKIP("only root can plant files as two users here");
        // The player's notes, in the player's own folder; the game's folder
        // holds the link.
        QTemporaryDir game, own;
        const QByteArray notes = QFile::encodeName(own.filePath(QStringLiteral("notes.txt")));
        const QByteArray folder = QFile::encodeName(game.path()), link = folder + "/Records.dat";
        QVERIFY(writeText(notes, "the player's notes"));
        QVERIFY(::chown(notes, player, player) == 0 && ::chown(QFile::encodeName(own.path()), player, player) == 0);
        QVERIFY(::chown(folder, folderOwner, folderGroup) == 0 && ::chmod(folder, folderMode) == 0);
        if (!accessList.isEmpty()) {
            const acl_t list = ::acl_from_text(qPrintable(accessList));
            QVERIFY(list && ::acl_set_file(folder, ACL_TYPE_ACCESS, list) == 0);
            ::acl_free(list);
        }
        QVERIFY(::symlink(notes, link) == 0 && ::lchown(link, linkOwner, linkOwner) == 0);
        if (secondName)
            QVERIFY(::link(link, folder + "/another name") == 0);
        RecordTable table;
        table(1) = entry("Юра", 9);

        QTemporaryDir database;
        int status = 0;
        const QByteArray report = inChild([&] {
            if (groupOfOne && !knowOnly(database.path(), QByteArray::number(player)))
                ::_exit(CannotSetUp);
            if (player != ::geteuid()
                && (::setgroups(0, nullptr) != 0 || ::setresgid(player, player, player) != 0
                    || ::setresuid(player, player, player) != 0))
                ::_exit(CannotSetUp);
            QByteArray head;
            QString readError, saveError;
            const bool read = readHeadMakingFile(link, TableSize, head, readError);
            const bool saved = updateHead(link, TableSize, [&](const QByteArray &) { return encodeTable(table); }, saveError);
            return packed(read, readError, saved, saveError);
        }, status);
        if (WIFEXITED(status) && WEXITSTATUS(status) == CannotSetUp && groupOfOne)
            QSKIP("cannot show the player a group database of its own here (a mount namespace needs root)");
        QCOMPARE(status, 0);
        bool read = false, saved = false;
        QString readError, saveError;
        unpack(report, read, readError, saved, saveError);
        const QString reason = QString(refusal).replace(QLatin1String("%1"), QFile::decodeName(link));
        QCOMPARE(readError, reason);
        QCOMPARE(saveError, reason);
        QCOMPARE(read, reason.isEmpty());
        QCOMPARE(saved, reason.isEmpty());
        QCOMPARE(contents(notes), reason.isEmpty() ? encodeTable(table) : QByteArray("the player's notes"));
        QVERIFY(QFileInfo(QFile::decodeName(link)).isSymLink());
        QCOMPARE(entriesOf(own.path()), QStringList{"notes.txt"});
        QCOMPARE(entriesOf(game.path()), secondName ? QStringList({"another name", "Records.dat"}) : QStringList{"Records.dat"});
    }

    // A folder exchanged for another (renameat2) at the very moment the walk
    // has checked it must not be the one written: the save works in the
    // folder it checked, held open, whatever the path names by then. Here the
    // player's data folder and another user's, side by side in a folder both
    // may write.
    void aFolderExchangedAfterItsCheckIsNotTheOneWritten()
    {
        if (::geteuid() != 0)
            QSKIP("only root can plant files as two users here");
        QTemporaryDir top;
        const QByteArray shared = QFile::encodeName(top.path()), mine = shared + "/mine", theirs = shared + "/theirs";
        QVERIFY(::chmod(shared, 0777) == 0 && ::mkdir(mine, 0700) == 0 && ::mkdir(theirs, 0777) == 0);
        QVERIFY(::chown(mine, Player, Player) == 0 && ::chown(theirs, Intruder, Intruder) == 0 && ::chmod(theirs, 0777) == 0);
        RecordTable table;
        table(1) = entry("Юра", 9);
        int status = 0;
        const QByteArray report = asUser(Player, [&] {
            exchange = {shared, "mine", "theirs"};
            QString error;
            const bool saved = updateHead(mine + "/Records.dat", TableSize, [&](const QByteArray &) { return encodeTable(table); },
                                          error, nullptr, {.makeFolders = true, .ownFolder = true});
            return packed(saved, error, exchange.folder.isEmpty());
        }, status);
        QCOMPARE(status, 0);
        bool saved = false, exchanged = false;
        QString error;
        unpack(report, saved, error, exchanged);
        QVERIFY2(saved, qPrintable(error));
        QVERIFY(exchanged);
        // The two folders now stand under each other's names.
        QCOMPARE(entriesOf(QFile::decodeName(mine)), QStringList{});
        QCOMPARE(contents(theirs + "/Records.dat"), encodeTable(table));
    }

    void gamesSavingAtOnceThroughTwoLinksLoseNothing()
    {
        // Every save adds one move to a place, through one link or the other:
        // a save that did not hold the one lock of the file loses another's.
        // A save may be turned away when the disk is slow; none may be lost.
        LinkedFolders l;
        QVERIFY(l.make());
        constexpr int Games = 6, Saves = 300;
        Children games;
        for (int game = 0; game < Games; ++game) {
            const pid_t pid = ::fork();
            if (pid == 0) {
                Folder &f = game % 2 ? l.a : l.b;
                int refused = 0;
                for (int n = 0; n < Saves; ++n) {
                    QString error;
                    refused += !reviseTable(f.runtime, f.path, [game](RecordTable &t) {
                        ++t(int16_t(game % 5 + 1)).Hod;
                        return true;
                    }, error);
                }
                ::_exit(refused);
            }
            games.pids << pid;
        }
        int saved = Games * Saves;
        while (!games.pids.isEmpty()) {
            int status = 0;
            QVERIFY(::waitpid(games.pids.takeFirst(), &status, 0) > 0 && WIFEXITED(status));
            saved -= WEXITSTATUS(status);
        }
        const RecordTable table = decodeTable(contents(l.real));
        int moves = 0;
        for (int16_t place = 1; place <= RecordTable::Places; ++place)
            moves += table(place).Hod;
        QCOMPARE(moves, saved);
        QVERIFY(saved >= Saves);
        QVERIFY(l.linksKept());
        QCOMPARE(entriesOf(l.elsewhere.path()), QStringList{"real.dat"});
    }

    void anyBytesReadSafelyAndStoreBackAsRead()
    {
        QRandomGenerator random(1251);
        for (int round = 0; round < 3000; ++round) {
            QByteArray bytes(random.bounded(0, 100), '\0');
            for (char &b : bytes)
                b = char(random.bounded(256));
            // A byte that reads as no letter (0x98) is stored back as it was too.
            const RecordTable table = decodeTable(bytes);
            QCOMPARE(encodeTable(table), bytes.left(TableSize).leftJustified(TableSize, '\0'));
        }
    }
};

QTEST_GUILESS_MAIN(TestRecordsFile)
#include "test_records_file.moc"
