#include "ui/BoardFrame.h"

#include "ui/FocusRing.h"

#include <QPainter>

void BoardFrame::setFocusMark(bool shown)
{
    if (shown == m_mark)
        return;
    m_mark = shown;
    update(ring());
}

QRegion BoardFrame::ring() const
{
    // In the gap between the cells and the frame's edge.
    return focusRingAround(childrenRect());
}

void BoardFrame::paintEvent(QPaintEvent *event)
{
    QGroupBox::paintEvent(event);
    if (!m_mark)
        return;
    QPainter painter(this);
    for (const QRect &part : ring())
        painter.fillRect(part, FocusBlue);
}
