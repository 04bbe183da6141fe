#include "ui/BoardFrame.h"

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
    // Two pixels wide, one pixel clear of the cells on every side.
    const QRect cells = childrenRect();
    return QRegion(cells.adjusted(-3, -3, 3, 3)) - QRegion(cells.adjusted(-1, -1, 1, 1));
}

void BoardFrame::paintEvent(QPaintEvent *event)
{
    QGroupBox::paintEvent(event);
    if (!m_mark)
        return;
    QPainter painter(this);
    for (const QRect &part : ring())
        painter.fillRect(part, QColor(0, 0, 255));
}
