#include "ui/FocusRing.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QWidget>

namespace {
const QColor FocusBlue(0, 0, 255);
const char RingedOutside[] = "ringedOutside";
} // namespace

QRegion focusRingAround(const QRect &control)
{
    return QRegion(control.adjusted(-3, -3, 3, 3)) - QRegion(control.adjusted(-1, -1, 1, 1));
}

QRegion focusRingInside(const QRect &control)
{
    return QRegion(control.adjusted(1, 1, -1, -1)) - QRegion(control.adjusted(4, 4, -4, -4));
}

void paintFocusRing(QPainter &painter, const QRegion &ring)
{
    for (const QRect &part : ring)
        painter.fillRect(part, FocusBlue);
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

void FocusRing::watchChildrenAsOne()
{
    m_asOne = true;
    for (QWidget *child : m_container->findChildren<QWidget *>())
        child->installEventFilter(this);
}

void FocusRing::paintChildrenRing(QPainter &painter) const
{
    if (m_asOneRinged)
        paintFocusRing(painter, focusRingAround(m_container->childrenRect()));
}

bool FocusRing::childrenHoldFocus() const
{
    const QWidget *focus = QApplication::focusWidget();
    return focus && (focus == m_container || m_container->isAncestorOf(focus));
}

bool FocusRing::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (watched == m_container && type == QEvent::Paint) {
        // The container draws nothing of its own over its ground, so the ring can go first.
        QRegion ring;
        for (QWidget *control : std::as_const(m_controls))
            if (control->hasFocus())
                ring += focusRingAround(control->geometry());
        if (!ring.isEmpty()) {
            QPainter painter(m_container);
            paintFocusRing(painter, ring);
        }
    } else if (watched == m_container && type == QEvent::ChildAdded && m_asOne) {
        if (QObject *child = static_cast<QChildEvent *>(event)->child(); child->isWidgetType())
            child->installEventFilter(this);
    } else if (type == QEvent::FocusIn || type == QEvent::FocusOut) {
        if (m_asOne && childrenHoldFocus() != m_asOneRinged) {
            m_asOneRinged = !m_asOneRinged;
            m_container->update(focusRingAround(m_container->childrenRect()));
        }
        if (auto *control = qobject_cast<QWidget *>(watched); m_controls.contains(control))
            m_container->update(focusRingAround(control->geometry()));
    }
    return QObject::eventFilter(watched, event);
}
