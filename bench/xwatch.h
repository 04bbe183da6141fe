#pragma once

#include <X11/Xlib.h>
#include <chrono>
#include <functional>
#include <optional>
#include <sys/types.h>
#include <utility>

using Clock = std::chrono::steady_clock;

// What the X server shows of other programs' windows, read over a client
// connection of its own: which top-level window a process maps, and its pixels.
class XWatch
{
public:
    XWatch(); // on $DISPLAY; throws std::runtime_error if there is none
    ~XWatch();
    XWatch(const XWatch &) = delete;
    XWatch &operator=(const XWatch &) = delete;

    // Forgets every map seen so far; call just before starting a process.
    void forgetPast();

    // Waits until process pid maps a normal top-level window (not a menu,
    // tooltip or other override-redirect one); returns it with the time its
    // map notification arrived. Nothing if the deadline passes first or
    // alive() turns false.
    std::optional<std::pair<Window, Clock::time_point>> waitForMap(pid_t pid, Clock::time_point deadline,
                                                                   const std::function<bool()> &alive);

    // Waits until at least `count` of the window's pixels have exactly this
    // colour; returns the time just after the read that first showed them.
    // Nothing if the deadline passes first or alive() turns false.
    std::optional<Clock::time_point> waitForColour(Window window, int red, int green, int blue, long count,
                                                   Clock::time_point deadline, const std::function<bool()> &alive);

private:
    bool isNormalWindowOf(Window window, pid_t pid);
    // How many of the window's pixels have exactly this colour; 0 if the
    // window cannot be read (not viewable, gone).
    long countPixels(Window window, int red, int green, int blue);

    Display *m_display = nullptr;
    Atom m_pidAtom = None, m_typeAtom = None, m_normalAtom = None;
    int m_damageEvent = -1; // the DAMAGE extension's first event, -1 without it
};
