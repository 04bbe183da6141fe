// Times the game's start against the emptiest Qt window on the X server of
// $DISPLAY (one without a window manager): from exec to the window's map, and
// to the dealt board's pixels on screen; then the memory each holds once idle.
//
//     startup_probe [--runs N] [--warmup N] GAME BASELINE

#include "start.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// After a program ends, the server still tears its windows and images down;
// the next start should not pay for that.
constexpr auto Settle = 300ms;

struct Spread
{
    double median, min, max;
};

Spread spreadOf(const std::vector<Start> &starts, double Start::*figure, double scale = 1.0)
{
    std::vector<double> values;
    for (const Start &start : starts)
        values.push_back(start.*figure * scale);
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    return {median, values.front(), values.back()};
}

std::string shown(const Spread &s, const char *unit)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.1f %s (%.1f-%.1f)", s.median, unit, s.min, s.max);
    return text;
}

// One line of the table; goal 0 for a figure without one.
void report(const char *what, const std::string &game, const std::string &baseline, double ratio, double goal)
{
    char verdict[32] = "";
    if (goal > 0)
        std::snprintf(verdict, sizeof verdict, "<= %.2f %s", goal, ratio <= goal ? "met" : "MISSED");
    std::printf("%-25s %-26s %-26s %5.2f  %s\n", what, game.c_str(), baseline.c_str(), ratio, verdict);
}

void reportAll(const std::vector<Start> &game, const std::vector<Start> &baseline)
{
    std::printf("%-25s %-26s %-26s %5s  %s\n", "", "game", "baseline", "ratio", "goal");
    const Spread gameMapped = spreadOf(game, &Start::mappedMs);
    const Spread baselineMapped = spreadOf(baseline, &Start::mappedMs);
    report("exec to mapped window", shown(gameMapped, "ms"), shown(baselineMapped, "ms"),
           gameMapped.median / baselineMapped.median, 1.25);
    // The baseline has no board: its mapped window is the yardstick.
    const Spread gameBoard = spreadOf(game, &Start::boardMs);
    report("exec to board on screen", shown(gameBoard, "ms"), "(its mapped window)",
           gameBoard.median / baselineMapped.median, 1.4);

    struct Memory
    {
        const char *name;
        double Start::*figure;
        double goal;
    };
    const Memory memory[] = {{"VmRSS after 1 s idle", &Start::rssKiB, 1.15},
                             {"VmHWM", &Start::hwmKiB, 0},
                             {"Private_Dirty", &Start::dirtyKiB, 2.0}};
    for (const Memory &m : memory) {
        const Spread g = spreadOf(game, m.figure, 1.0 / 1024);
        const Spread b = spreadOf(baseline, m.figure, 1.0 / 1024);
        report(m.name, shown(g, "MiB"), shown(b, "MiB"), g.median / b.median, m.goal);
    }
}

int usage()
{
    std::fprintf(stderr, "usage: startup_probe [--runs N] [--warmup N] GAME BASELINE\n");
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    int runs = 27, warmup = 3;
    std::vector<fs::path> programs;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--runs" || arg == "--warmup") && i + 1 < argc)
            (arg == "--runs" ? runs : warmup) = std::atoi(argv[++i]);
        else if (arg.rfind("--", 0) == 0)
            return usage();
        else
            programs.emplace_back(fs::absolute(arg));
    }
    if (programs.size() != 2 || runs < 1 || warmup < 0)
        return usage();

    // Each program runs from a copy in a scratch folder, so whatever it keeps
    // beside itself (the records file) stays out of the build tree.
    char scratchName[] = "/tmp/pyatnashki-bench-XXXXXX";
    if (!mkdtemp(scratchName)) {
        std::perror("mkdtemp");
        return 1;
    }
    const fs::path scratch = scratchName;
    try {
        const fs::path copies[] = {scratch / "game" / programs[0].filename(),
                                   scratch / "baseline" / programs[1].filename()};
        for (int i = 0; i < 2; ++i) {
            fs::create_directories(copies[i].parent_path());
            fs::copy_file(programs[i], copies[i]);
        }
        // Whatever the caller's session uses, the programs talk to this X server.
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        XWatch x;

        auto startOnce = [&](bool game) {
            const fs::path log = scratch / (game ? "game.log" : "baseline.log");
            const auto start = timeStart(x, copies[game ? 0 : 1], log, game);
            if (!start)
                throw std::runtime_error(std::string(game ? "the game" : "the baseline")
                                         + " showed no window in time; its output is in " + log.string());
            std::this_thread::sleep_for(Settle);
            return *start;
        };
        std::vector<Start> game, baseline;
        for (int i = 0; i < warmup + runs; ++i) {
            // Each goes first in every other pair, so that neither always follows the other.
            const bool gameFirst = i % 2 == 0;
            const Start first = startOnce(gameFirst);
            const Start second = startOnce(!gameFirst);
            if (i >= warmup) {
                game.push_back(gameFirst ? first : second);
                baseline.push_back(gameFirst ? second : first);
            }
        }
        std::printf("%d starts of each after %d warm-up pairs, in turns; median (min-max)\n\n", runs, warmup);
        reportAll(game, baseline);
    } catch (const std::exception &error) {
        std::fprintf(stderr, "startup_probe: %s\n", error.what());
        return 1;
    }
    fs::remove_all(scratch);
    return 0;
}
