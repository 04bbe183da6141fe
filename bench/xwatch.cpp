#include "xwatch.h"

#include <X11/Xatom.h>
#include <X11/extensions/Xdamage.h>
#include <X11/Xutil.h>
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// A window may vanish between its map and the reading of it; that is no
// reason for a watcher to stop.
int ignoreErrors(Display *, XErrorEvent *)
{
    return 0;
}

// A channel value 0..255 placed where the visual keeps that channel.
unsigned long channel(int value, unsigned long mask)
{
    int shift = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    return (static_cast<unsigned long>(value) * mask / 255) << shift;
}

// How many pixels of the image have exactly this colour.
long countIn(XImage *image, int red, int green, int blue)
{
    const unsigned long wanted =
        channel(red, image->red_mask) | channel(green, image->green_mask) | channel(blue, image->blue_mask);
    long count = 0;
    if (image->bits_per_pixel == 32 && image->byte_order == (std::endian::native == std::endian::little ? LSBFirst : MSBFirst)) {
        // The usual 24-bit visual, read straight from memory: XGetPixel would
        // double the cost of each look. Only the colour bits count; the pad
        // byte may hold anything.
        const auto colour = static_cast<uint32_t>(image->red_mask | image->green_mask | image->blue_mask);
        const auto pixel = static_cast<uint32_t>(wanted);
        for (int y = 0; y < image->height; ++y) {
            const auto *row = reinterpret_cast<const uint32_t *>(image->data + y * image->bytes_per_line);
            for (int x = 0; x < image->width; ++x)
                count += (row[x] & colour) == pixel;
        }
        return count;
    }
    for (int y = 0; y < image->height; ++y)
        for (int x = 0; x < image->width; ++x)
            count += XGetPixel(image, x, y) == wanted;
    return count;
}

// The 32-bit items of a window property, empty if it has none of that type.
std::vector<unsigned long> property(Display *display, Window window, Atom name, Atom type)
{
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0, rest = 0;
    unsigned char *data = nullptr;
    std::vector<unsigned long> items;
    if (XGetWindowProperty(display, window, name, 0, 64, False, type, &actualType, &format, &count, &rest, &data)
            == Success
        && data) {
        // Xlib hands format-32 items over as longs.
        const auto *first = reinterpret_cast<const unsigned long *>(data);
        if (actualType == type && format == 32)
            items.assign(first, first + count);
        XFree(data);
    }
    return items;
}

} // namespace

XWatch::XWatch()
{
    m_display = XOpenDisplay(nullptr);
    if (!m_display) {
        const char *name = std::getenv("DISPLAY");
        throw std::runtime_error(std::string("cannot open the X display ") + (name ? name : "(DISPLAY is unset)"));
    }
    // The programs started from here must not inherit this connection.
    fcntl(ConnectionNumber(m_display), F_SETFD, FD_CLOEXEC);
    XSetErrorHandler(ignoreErrors);
    m_pidAtom = XInternAtom(m_display, "_NET_WM_PID", False);
    m_typeAtom = XInternAtom(m_display, "_NET_WM_WINDOW_TYPE", False);
    m_normalAtom = XInternAtom(m_display, "_NET_WM_WINDOW_TYPE_NORMAL", False);
    int damageError = 0;
    if (!XDamageQueryExtension(m_display, &m_damageEvent, &damageError))
        m_damageEvent = -1;
    // With no window manager, top-level windows are the root's children.
    XSelectInput(m_display, DefaultRootWindow(m_display), SubstructureNotifyMask);
    XSync(m_display, False);
}

XWatch::~XWatch()
{
    XCloseDisplay(m_display);
}

void XWatch::forgetPast()
{
    XSync(m_display, True);
}

std::optional<std::pair<Window, Clock::time_point>> XWatch::waitForMap(pid_t pid, Clock::time_point deadline,
                                                                        const std::function<bool()> &alive)
{
    pollfd connection{ConnectionNumber(m_display), POLLIN, 0};
    while (Clock::now() < deadline && alive()) {
        if (XPending(m_display) == 0) {
            poll(&connection, 1, 5);
            continue;
        }
        XEvent event;
        XNextEvent(m_display, &event);
        if (event.type != MapNotify || event.xmap.override_redirect)
            continue;
        const Clock::time_point arrived = Clock::now();
        if (isNormalWindowOf(event.xmap.window, pid))
            return std::pair{event.xmap.window, arrived};
    }
    return std::nullopt;
}

std::optional<Clock::time_point> XWatch::waitForColour(Window window, int red, int green, int blue, long count,
                                                       Clock::time_point deadline, const std::function<bool()> &alive)
{
    // The window is read again each time the server reports it drawn into:
    // at once after the program's drawing, and without loading the server
    // meanwhile. A quiet spell (or a server without DAMAGE) reads it anyway.
    const Damage damage = m_damageEvent >= 0 ? XDamageCreate(m_display, window, XDamageReportNonEmpty) : None;
    const int quietMs = damage != None ? 5 : 1;
    pollfd connection{ConnectionNumber(m_display), POLLIN, 0};
    std::optional<Clock::time_point> shown;
    bool read = true; // it may be drawn already
    while (!shown && Clock::now() < deadline && alive()) {
        if (read) {
            // Cleared before the read, so drawing after it is reported anew.
            if (damage != None)
                XDamageSubtract(m_display, damage, None, None);
            if (countPixels(window, red, green, blue) >= count)
                shown = Clock::now();
            read = false;
        } else if (XPending(m_display) > 0) {
            XEvent event;
            XNextEvent(m_display, &event);
            read = event.type == m_damageEvent + XDamageNotify;
        } else {
            read = poll(&connection, 1, quietMs) == 0;
        }
    }
    if (damage != None)
        XDamageDestroy(m_display, damage);
    return shown;
}

bool XWatch::isNormalWindowOf(Window window, pid_t pid)
{
    const auto owner = property(m_display, window, m_pidAtom, XA_CARDINAL);
    if (owner.size() != 1 || owner[0] != static_cast<unsigned long>(pid))
        return false;
    // A window without a type counts as normal.
    const auto types = property(m_display, window, m_typeAtom, XA_ATOM);
    return types.empty() || std::find(types.begin(), types.end(), m_normalAtom) != types.end();
}

long XWatch::countPixels(Window window, int red, int green, int blue)
{
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(m_display, window, &attributes) || attributes.map_state != IsViewable)
        return 0;
    XImage *image = XGetImage(m_display, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (!image)
        return 0;
    const long count = countIn(image, red, green, blue);
    XDestroyImage(image);
    return count;
}
