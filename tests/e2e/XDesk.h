#pragma once

#include <QHash>
#include <QImage>
#include <QProcess>
#include <QRect>
#include <QStringList>
#include <vector>

// Ties a process to be started to this test: it gets SIGTERM should the
// test die first, so nothing the test starts outlives it.
void tieToTest(QProcess &process);

// An Xvfb of our own on a free display, gone again with this object.
class PrivateX
{
public:
    PrivateX(); // display() is empty if it failed, error() says why
    ~PrivateX();

    QString display() const { return m_display; }
    QString error() const { return m_error; }
    static QSize screenSize() { return QSize(1024, 768); }

private:
    QProcess m_server;
    QString m_display, m_error;
};

// Xlib's own header stays out: its macros clash with Qt's.
struct _XDisplay;
using XId = unsigned long; // a window, atom or key symbol

// A top-level window as the X server shows it.
struct ShownWindow
{
    XId id = 0;
    QRect rect; // on the screen; with no window manager also its frame
    QString title;
    bool popup = false; // override-redirect: a menu, no window of its own
    QByteArray windowClass; // WM_CLASS's class: a menu entry's StartupWMClass names it
};

// Reads and drives the screen the way a user does: what is shown and
// where, and the mouse and keyboard through XTest.
class Desk
{
public:
    explicit Desk(const QString &display); // check ok()
    ~Desk();
    Desk(const Desk &) = delete;
    Desk &operator=(const Desk &) = delete;

    bool ok() const { return m_display != nullptr; }

    // The process's mapped top-level windows, bottom to top, and every popup
    // on the screen (menus carry no owner worth trusting).
    std::vector<ShownWindow> windows(pid_t pid);
    // The window's pixels as the screen shows them; null if it is gone.
    QImage grab(XId window);
    QImage grabScreen();
    // The window holding the keyboard focus; 0 for none or the pointer's.
    XId focus();

    void click(QPoint onScreen);
    void key(XId keysym);
    // Types text whose characters prepareTyping() made ready.
    void type(const QString &text);
    // Gives each character of `text` a spare key of its own, the same symbol
    // on both levels, so neither Shift nor the layout matters. Done before a
    // program starts, so it reads the finished keyboard map.
    bool prepareTyping(const QString &text);
    // What a window manager's close box sends.
    void askToClose(XId window);

private:
    QByteArray property(XId window, XId name, XId type, int format);

    _XDisplay *m_display = nullptr;
    XId m_pid = 0, m_name = 0, m_utf8 = 0, m_protocols = 0, m_delete = 0;
    QHash<char32_t, unsigned> m_keycodes;
};
