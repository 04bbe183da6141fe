#pragma once

#include <QGroupBox>

// The board's frame, without a caption. While the board holds the keyboard
// focus it rings the cells in the blue of the counter's heading, in the gap
// between the cells and the frame's edge.
class BoardFrame : public QGroupBox
{
    Q_OBJECT

public:
    explicit BoardFrame(QWidget *parent = nullptr) : QGroupBox(parent) {}

    // Shows or hides the ring, repainting the ring alone.
    void setFocusMark(bool shown);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRegion ring() const;

    bool m_mark = false;
};
