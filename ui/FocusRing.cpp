#include "ui/FocusRing.h"

#include <QEvent>
#include <QPainter>
#include <QWidget>

QRegion focusRingAround(const QRect &control)
{
    return QRegion(control.adjusted(-3, -3, 3, 3)) - QRegion(control.adjusted(-1, -1, 1, 1));
}

namespace {
const char RingedOutside[] = "ringedOutside";
}

bool isRingedOutside(const QWidget *control)
{
    return control && control->property(RingedOutside).toBool();
}

FocusRing::FocusRing(QWidget *container) : QObject(container), m_container(container)
{
    container->installEventFilter(this);
}

void FocusRing::watch(QWidget *control)
{
    m_controls << control;
    control->setProperty(RingedOutside, true);
    control->installEventFilter(this);
    connect(control, &QObject::destroyed, this, [this, control] { m_controls.removeOne(control); });
}

bool FocusRing::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (watched == m_container && type == QEvent::Paint) {
        // The container draws nothing of its own over its ground, so the ring can go first.
        for (QWidget *control : std::as_const(m_controls))
            if (control->hasFocus()) {
                QPainter painter(m_container);
                for (const QRect &part : focusRingAround(control->geometry()))
                    painter.fillRect(part, FocusBlue);
            }
    } else if ((type == QEvent::FocusIn || type == QEvent::FocusOut) && watched != m_container) {
        m_container->update(focusRingAround(static_cast<QWidget *>(watched)->geometry()));
    }
    return QObject::eventFilter(watched, event);
}
