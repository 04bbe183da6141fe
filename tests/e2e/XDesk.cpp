#include "XDesk.h"

#include <QElapsedTimer>
#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <algorithm>
#include <csignal>
#include <sys/prctl.h>

namespace {

// Windows come and go while they are read; a vanished one just reads as nothing.
int ignoreErrors(Display *, XErrorEvent *)
{
    return 0;
}

} // namespace

void tieToTest(QProcess &process)
{
    process.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

PrivateX::PrivateX()
{
    // Xvfb picks a free display itself and writes its number once it takes clients.
    const QString screen = QStringLiteral("%1x%2x24").arg(screenSize().width()).arg(screenSize().height());
    tieToTest(m_server);
    m_server.setStandardErrorFile(QProcess::nullDevice());
    m_server.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-screen", "0", screen, "-nolisten", "tcp", "-noreset"});
    if (!m_server.waitForStarted(5000)) {
        m_error = QStringLiteral("Xvfb did not start (Debian package xvfb): ") + m_server.errorString();
        return;
    }
    QByteArray number;
    QElapsedTimer clock;
    clock.start();
    while (!number.endsWith('\n') && m_server.state() == QProcess::Running && clock.elapsed() < 10000)
        if (m_server.waitForReadyRead(100))
            number += m_server.readAllStandardOutput();
    if (number.trimmed().isEmpty())
        m_error = QStringLiteral("Xvfb gave no display number within 10 s");
    else
        m_display = QLatin1Char(':') + QString::fromLatin1(number.trimmed());
}

PrivateX::~PrivateX()
{
    m_server.terminate();
    if (!m_server.waitForFinished(3000))
        m_server.kill();
    m_server.waitForFinished(1000);
}

Desk::Desk(const QString &display)
{
    XSetErrorHandler(ignoreErrors);
    m_display = XOpenDisplay(display.toLocal8Bit().constData());
    int event, error, major, minor;
    if (m_display && !XTestQueryExtension(m_display, &event, &error, &major, &minor)) {
        XCloseDisplay(m_display);
        m_display = nullptr;
    }
    if (!m_display)
        return;
    m_pid = XInternAtom(m_display, "_NET_WM_PID", False);
    m_name = XInternAtom(m_display, "_NET_WM_NAME", False);
    m_utf8 = XInternAtom(m_display, "UTF8_STRING", False);
    m_protocols = XInternAtom(m_display, "WM_PROTOCOLS", False);
    m_delete = XInternAtom(m_display, "WM_DELETE_WINDOW", False);
}

Desk::~Desk()
{
    if (m_display)
        XCloseDisplay(m_display);
}

std::vector<ShownWindow> Desk::windows(pid_t pid)
{
    std::vector<ShownWindow> shown;
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(m_display, DefaultRootWindow(m_display), &root, &parent, &children, &count))
        return shown;
    for (unsigned i = 0; i < count; ++i) {
        XWindowAttributes a;
        if (!XGetWindowAttributes(m_display, children[i], &a) || a.map_state != IsViewable)
            continue;
        ShownWindow w{children[i], QRect(a.x, a.y, a.width, a.height), QString(), a.override_redirect != 0,
                      QByteArray()};
        // Xlib hands 32-bit items over as longs.
        const QByteArray owner = property(w.id, m_pid, XA_CARDINAL, 32);
        if (!w.popup && (owner.size() != sizeof(long) || *reinterpret_cast<const long *>(owner.constData()) != pid))
            continue;
        w.title = QString::fromUtf8(property(w.id, m_name, m_utf8, 8));
        // WM_CLASS holds the instance, then the class, each ended by a null.
        w.windowClass = property(w.id, XA_WM_CLASS, XA_STRING, 8).split('\0').value(1);
        shown.push_back(w);
    }
    if (children)
        XFree(children);
    return shown;
}

QImage Desk::grabScreen()
{
    return grab(DefaultRootWindow(m_display));
}

QImage Desk::grab(XId window)
{
    XWindowAttributes a;
    XImage *image = nullptr;
    if (!XGetWindowAttributes(m_display, window, &a) || a.map_state != IsViewable
        || !(image = XGetImage(m_display, window, 0, 0, a.width, a.height, AllPlanes, ZPixmap)))
        return QImage();
    const auto channel = [](unsigned long pixel, unsigned long mask) {
        for (; mask && !(mask & 1); mask >>= 1)
            pixel >>= 1;
        return int(pixel & mask);
    };
    QImage copy(a.width, a.height, QImage::Format_RGB32);
    for (int y = 0; y < a.height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(copy.scanLine(y));
        for (int x = 0; x < a.width; ++x) {
            const unsigned long p = XGetPixel(image, x, y);
            line[x] = qRgb(channel(p, image->red_mask), channel(p, image->green_mask), channel(p, image->blue_mask));
        }
    }
    XDestroyImage(image);
    return copy;
}

XId Desk::focus()
{
    Window window = None;
    int revert = 0;
    XGetInputFocus(m_display, &window, &revert);
    return window == PointerRoot ? 0 : window;
}

void Desk::click(QPoint onScreen)
{
    XTestFakeMotionEvent(m_display, -1, onScreen.x(), onScreen.y(), CurrentTime);
    XTestFakeButtonEvent(m_display, Button1, True, CurrentTime);
    XTestFakeButtonEvent(m_display, Button1, False, CurrentTime);
    XSync(m_display, False);
}

void Desk::key(XId keysym)
{
    const KeyCode code = XKeysymToKeycode(m_display, keysym);
    XTestFakeKeyEvent(m_display, code, True, CurrentTime);
    XTestFakeKeyEvent(m_display, code, False, CurrentTime);
    XSync(m_display, False);
}

void Desk::type(const QString &text)
{
    for (const char32_t c : text.toUcs4()) {
        const unsigned code = c == U' ' ? XKeysymToKeycode(m_display, XK_space) : m_keycodes.value(c);
        XTestFakeKeyEvent(m_display, code, True, CurrentTime);
        XTestFakeKeyEvent(m_display, code, False, CurrentTime);
    }
    XSync(m_display, False);
}

bool Desk::prepareTyping(const QString &text)
{
    int minCode = 0, maxCode = 0, perCode = 0;
    XDisplayKeycodes(m_display, &minCode, &maxCode);
    KeySym *map = XGetKeyboardMapping(m_display, KeyCode(minCode), maxCode - minCode + 1, &perCode);
    if (!map)
        return false;
    const auto isSpare = [&](int k) {
        return std::all_of(map + (k - minCode) * perCode, map + (k - minCode + 1) * perCode,
                           [](KeySym s) { return s == NoSymbol; });
    };
    int code = maxCode; // spare keys are taken from the top
    bool enough = true;
    for (const char32_t c : text.toUcs4()) {
        if (c == U' ' || m_keycodes.contains(c))
            continue;
        while (code >= minCode && !isSpare(code))
            --code;
        if (!(enough = code >= minCode))
            break;
        KeySym both[2] = {0x1000000ul | c, 0x1000000ul | c};
        XChangeKeyboardMapping(m_display, code, 2, both, 1);
        m_keycodes.insert(c, unsigned(code--));
    }
    XFree(map);
    XSync(m_display, False);
    return enough;
}

void Desk::askToClose(XId window)
{
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = window;
    e.xclient.message_type = m_protocols;
    e.xclient.format = 32;
    e.xclient.data.l[0] = long(m_delete);
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(m_display, window, False, NoEventMask, &e);
    XSync(m_display, False);
}

QByteArray Desk::property(XId window, XId name, XId type, int format)
{
    Atom actualType = None;
    int actualFormat = 0;
    unsigned long count = 0, rest = 0;
    unsigned char *data = nullptr;
    QByteArray bytes;
    if (XGetWindowProperty(m_display, window, name, 0, 256, False, type, &actualType, &actualFormat, &count, &rest,
                           &data) == Success && data) {
        if (actualType == type && actualFormat == format)
            bytes = QByteArray(reinterpret_cast<const char *>(data),
                               qsizetype(count * (format == 32 ? sizeof(long) : size_t(format / 8))));
        XFree(data);
    }
    return bytes;
}
