#pragma once

#include <QObject>
#include <QRegion>

class QPainter;
class QWidget;

// The keyboard focus shows as a ring in the blue of the counter's heading:
// on the window's ground, the buttons' face and the tiles it stands out at
// well over 3:1. Every ring of the game is drawn here.

// The ring round a control, one pixel clear of it and two wide.
QRegion focusRingAround(const QRect &control);
// The ring just inside a control's outline, three wide (as large as a ring
// round it would be), for the buttons and fields of Qt's own dialogs.
QRegion focusRingInside(const QRect &control);
// Paints a ring.
void paintFocusRing(QPainter &painter, const QRegion &ring);

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
    // The container's children, present and to come, as one control, ringed
    // round them all while the container or any of them has the focus (the
    // board and its cells). The container paints this ring itself, over its
    // own face, with paintChildrenRing.
    void watchChildrenAsOne();
    void paintChildrenRing(QPainter &painter) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool childrenHoldFocus() const;

    QWidget *m_container;
    QList<QWidget *> m_controls;
    bool m_asOne = false;
    bool m_asOneRinged = false;
};
