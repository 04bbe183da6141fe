#pragma once

#include "game/BoardSize.h"

#include <QString>
#include <cstdint>

// What the board logic touches of the main window: the cells with their tags
// and pictures, and the move counter label. The cells' tags are the only
// record of the position.
class BoardView
{
public:
    virtual ~BoardView() = default;

    // The tag text of a cell, 0 to BoardCells - 1; empty before the first deal.
    virtual QString tag(int16_t cell) const = 0;
    virtual void setTag(int16_t cell, const QString &text) = 0;
    // Shows picture imageNo (1 to BlankTile) of the tile set in a cell.
    virtual void setPicture(int16_t cell, int16_t imageNo) = 0;
    // The move counter's new caption: the last change of a slide and of a
    // deal's position, so the view can follow the whole change from here.
    virtual void countChanged(const QString &count) = 0;
    // The board was opened by a deal or closed by a win; a closed board takes no moves.
    virtual void openChanged(bool open) = 0;
};
