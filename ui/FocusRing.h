#pragma once

#include <QColor>
#include <QObject>
#include <QRegion>

class QWidget;

// The keyboard focus shows as a ring two pixels wide, one pixel clear of the
// control, in the blue of the counter's heading: on the window's ground, the
// buttons' face and the tiles it stands out at well over 3:1.
inline const QColor FocusBlue(0, 0, 255);

// The ring around `control` (a rectangle in its container's coordinates).
QRegion focusRingAround(const QRect &control);

// Whether a FocusRing rings the widget from outside, so the style leaves it be.
bool isRingedOutside(const QWidget *control);

// Rings whichever of the watched controls holds the focus. The ring lies
// outside the control, so its container draws it on its own ground and the
// control's own picture stays whole.
class FocusRing : public QObject
{
    Q_OBJECT

public:
    explicit FocusRing(QWidget *container);

    // A child of the container to ring while it has the focus.
    void watch(QWidget *control);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_container;
    QList<QWidget *> m_controls;
};
