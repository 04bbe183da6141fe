#pragma once

#include <QString>
#include <cstdint>

// What the board logic touches of the main window: the sixteen cells with
// their tags and pictures, the move counter label and the board frame.
// The cells' tags are the only record of the position.
class BoardView
{
public:
    virtual ~BoardView() = default;

    // The tag text of a cell, 0..15; empty before the first deal.
    virtual QString tag(int16_t cell) const = 0;
    virtual void setTag(int16_t cell, const QString &text) = 0;
    // Shows picture imageNo (1..16, 16 the blank) of the tile set in a cell.
    virtual void setPicture(int16_t cell, int16_t imageNo) = 0;
    // The move counter's caption.
    virtual void setCounter(const QString &text) = 0;
    // Whether the cells take clicks.
    virtual void setBoardEnabled(bool enabled) = 0;
};
