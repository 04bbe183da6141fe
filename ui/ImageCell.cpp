#include "ui/ImageCell.h"

#include <QMouseEvent>
#include <QPainter>

ImageCell::ImageCell(QWidget *parent) : QWidget(parent)
{
    // The focus comes only from the window, to the tile that just slid.
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ImageCell::setPicture(const QPixmap &picture)
{
    // Sharing the same picture again needs no repaint.
    if (picture.cacheKey() == m_picture.cacheKey())
        return;
    m_picture = picture;
    update();
}

void ImageCell::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_picture);
}

void ImageCell::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
}

void ImageCell::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click)
        emit clicked();
}
