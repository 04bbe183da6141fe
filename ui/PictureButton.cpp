#include "ui/PictureButton.h"

#include "ui/Artwork.h"

#include <QStyleOptionButton>
#include <QStylePainter>

PictureButton::PictureButton(const QString &word, QWidget *parent) : QPushButton(parent), m_word(word)
{
    setAccessibleName(word);
    setAutoDefault(false);
}

void PictureButton::paintEvent(QPaintEvent *)
{
    const qreal dpr = devicePixelRatioF();
    if (m_picture.isNull() || m_picture.devicePixelRatio() != dpr)
        m_picture = buttonPicture(m_word, dpr);

    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    painter.drawControl(QStyle::CE_PushButtonBevel, option);

    const QSize size = m_picture.deviceIndependentSize().toSize();
    QPoint topLeft((width() - size.width()) / 2, (height() - size.height()) / 2);
    if (isDown())
        topLeft += QPoint(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                          style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    painter.drawPixmap(topLeft, m_picture);

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = QRect(topLeft, size).adjusted(1, 1, -1, -1);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}
