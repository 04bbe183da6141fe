#include "ui/PictureButton.h"

#include "ui/Artwork.h"

#include <QKeyEvent>
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
}

void PictureButton::keyPressEvent(QKeyEvent *event)
{
    // Enter presses the focused button as space does, though none is the default.
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && modifiers == Qt::NoModifier) {
        if (!event->isAutoRepeat())
            click();
        return;
    }
    QPushButton::keyPressEvent(event);
}
