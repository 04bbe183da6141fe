#pragma once

#include <QByteArray>
#include <QDataStream>
#include <QDeadlineTimer>
#include <QIODevice>
#include <QList>

#include <csignal>
#include <functional>
#include <grp.h>
#include <poll.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

// Kills and reaps the child processes a test started, however the test ends.
struct Children
{
    QList<pid_t> pids;
    ~Children()
    {
        for (const pid_t pid : pids) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    }
};

// Interrupts every system call still waiting once ms milliseconds have
// passed, so a file operation that blocks fails at once instead of hanging
// the test.
struct WaitLimit
{
    struct sigaction before{};
    explicit WaitLimit(int ms)
    {
        struct sigaction wake{};
        wake.sa_handler = [](int) {}; // no SA_RESTART: the waiting call returns EINTR
        ::sigaction(SIGALRM, &wake, &before);
        const itimerval after{{0, 50000}, {ms / 1000, ms % 1000 * 1000}};
        ::setitimer(ITIMER_REAL, &after, nullptr);
    }
    ~WaitLimit()
    {
        const itimerval off{};
        ::setitimer(ITIMER_REAL, &off, nullptr);
        ::sigaction(SIGALRM, &before, nullptr);
    }
};

// Exit status of a child that could not set itself up, as the user it was to
// run as or with a disk of its own.
constexpr int CannotSetUp = 78;

// Runs body in a child process and returns what it handed back; status gets
// the child's exit status. A child still running after ten seconds is killed.
inline QByteArray inChild(const std::function<QByteArray()> &body, int &status)
{
    int link[2];
    if (::pipe(link) != 0)
        qFatal("no pipe");
    Children child;
    child.pids << ::fork();
    if (child.pids[0] == 0) {
        ::close(link[0]);
        const QByteArray out = body();
        for (qsizetype done = 0; done < out.size();) {
            const ssize_t n = ::write(link[1], out.constData() + done, size_t(out.size() - done));
            if (n <= 0)
                ::_exit(1);
            done += n;
        }
        ::_exit(0);
    }
    ::close(link[1]);
    QByteArray out;
    char buffer[4096];
    const QDeadlineTimer deadline(10000);
    pollfd ready{link[0], POLLIN, 0};
    ssize_t n = 1;
    while (::poll(&ready, 1, int(deadline.remainingTime())) > 0 && (n = ::read(link[0], buffer, sizeof buffer)) > 0)
        out.append(buffer, n);
    ::close(link[0]);
    if (n != 0)
        ::kill(child.pids[0], SIGKILL);
    ::waitpid(child.pids.takeFirst(), &status, 0);
    return out;
}

// Runs body as inChild does, as the numeric user uid (and group uid) with no
// other groups: root's way of trying what a player or another user may do.
inline QByteArray asUser(uid_t uid, const std::function<QByteArray()> &body, int &status)
{
    return inChild(
        [&] {
            if (uid != ::geteuid()
                && (::setgroups(0, nullptr) != 0 || ::setresgid(uid, uid, uid) != 0 || ::setresuid(uid, uid, uid) != 0))
                ::_exit(CannotSetUp);
            return body();
        },
        status);
}

// The numeric users root plays as, and plants files as, where the suite runs
// as root; no name is needed for them.
constexpr uid_t Player = 61001;
constexpr uid_t Intruder = 61002;

// Who plays in a test: the player above as root, the test's own user otherwise.
inline uid_t playingUser()
{
    return ::geteuid() == 0 ? Player : ::geteuid();
}

// Values handed from a child to the test, in order.
template <typename... T>
QByteArray packed(const T &...values)
{
    QByteArray out;
    QDataStream stream(&out, QIODevice::WriteOnly);
    (stream << ... << values);
    return out;
}
template <typename... T>
void unpack(const QByteArray &in, T &...values)
{
    QDataStream stream(in);
    (stream >> ... >> values);
}
