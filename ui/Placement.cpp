#include "ui/Placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void centreOnScreen(QWidget *window)
{
    QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    // Before the first show the frame is not known yet; the client area stands in.
    const QSize frame = window->frameGeometry().size().expandedTo(window->size());
    // move() places a window by its frame.
    window->move(area.center() - QPoint(frame.width() / 2, frame.height() / 2));
}
