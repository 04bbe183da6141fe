#pragma once

#include <QGroupBox>

class FocusRing;

// The board's frame, without a caption. While the board or one of its cells
// holds the focus it rings the cells, in the gap between them and the
// frame's edge, over its own face.
class BoardFrame : public QGroupBox
{
    Q_OBJECT

public:
    explicit BoardFrame(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    FocusRing *m_ring;
};
