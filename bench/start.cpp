#include "start.h"

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Ms = std::chrono::duration<double, std::milli>;

// The blank cell is flat 128,128,255 and shows 48 x 48 of its pixels; no other
// part of the window has that colour, so most of them mean the board is up.
constexpr int BlankRed = 128, BlankGreen = 128, BlankBlue = 255;
constexpr long BlankPixels = 2000;

constexpr auto StartDeadline = 10s; // a program not up by then has failed
constexpr auto Idle = 1s;           // settling time before memory is read
constexpr auto StopDeadline = 5s;

// A program started in its own folder, ended (and reaped) when this goes.
class Child
{
public:
    Child(const fs::path &program, const fs::path &log)
    {
        m_pid = fork();
        if (m_pid < 0)
            throw std::runtime_error("fork failed");
        if (m_pid == 0) {
            const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
            if (out >= 0) {
                dup2(out, STDOUT_FILENO);
                dup2(out, STDERR_FILENO);
                close(out);
            }
            if (chdir(program.parent_path().c_str()) == 0)
                execl(program.c_str(), program.c_str(), static_cast<char *>(nullptr));
            _exit(127);
        }
    }
    ~Child() { stop(); }
    Child(const Child &) = delete;
    Child &operator=(const Child &) = delete;

    pid_t pid() const { return m_pid; }

    bool running()
    {
        if (!m_ended && waitpid(m_pid, nullptr, WNOHANG) == m_pid)
            m_ended = true;
        return !m_ended;
    }

    void stop()
    {
        if (!running())
            return;
        kill(m_pid, SIGTERM);
        const auto deadline = Clock::now() + StopDeadline;
        while (running() && Clock::now() < deadline)
            std::this_thread::sleep_for(5ms);
        if (running()) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
            m_ended = true;
        }
    }

private:
    pid_t m_pid = -1;
    bool m_ended = false;
};

// The number on a "Name:   123 kB" line of a /proc file; 0 if there is none.
double procKiB(const fs::path &file, const std::string &name)
{
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(name + ':', 0) == 0)
            return std::strtod(line.c_str() + name.size() + 1, nullptr);
    return 0;
}

} // namespace

std::optional<Start> timeStart(XWatch &x, const fs::path &program, const fs::path &log, bool waitForBoard)
{
    x.forgetPast();
    const Clock::time_point started = Clock::now();
    Child child(program, log);
    const Clock::time_point deadline = started + StartDeadline;
    const auto alive = [&child] { return child.running(); };

    Start start;
    const auto mapped = x.waitForMap(child.pid(), deadline, alive);
    if (!mapped)
        return std::nullopt;
    start.mappedMs = Ms(mapped->second - started).count();
    if (waitForBoard) {
        const auto shown = x.waitForColour(mapped->first, BlankRed, BlankGreen, BlankBlue, BlankPixels, deadline, alive);
        if (!shown)
            return std::nullopt;
        start.boardMs = Ms(*shown - started).count();
    }

    std::this_thread::sleep_for(Idle);
    const fs::path proc = fs::path("/proc") / std::to_string(child.pid());
    start.rssKiB = procKiB(proc / "status", "VmRSS");
    start.hwmKiB = procKiB(proc / "status", "VmHWM");
    start.dirtyKiB = procKiB(proc / "smaps_rollup", "Private_Dirty");
    // A program that died meanwhile has no figures to give.
    if (!alive())
        return std::nullopt;
    return start;
}
