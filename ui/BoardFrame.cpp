#include "ui/BoardFrame.h"

#include "ui/FocusRing.h"

#include <QPainter>

// The ring is made before the cells, so it is gone before they are.
BoardFrame::BoardFrame(QWidget *parent) : QGroupBox(parent), m_ring(new FocusRing(this))
{
    m_ring->watchChildrenAsOne();
}

void BoardFrame::paintEvent(QPaintEvent *event)
{
    QGroupBox::paintEvent(event);
    QPainter painter(this);
    m_ring->paintChildrenRing(painter);
}
