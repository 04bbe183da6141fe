#pragma once

#include "game/BoardSize.h"

#include <QPixmap>
#include <array>
#include <cstdint>

// The tile pictures, fetched by position counting from 1; picture BlankTile is the blank.
class TileSet
{
public:
    explicit TileSet(qreal dpr = 1.0);

    // Picture n, 1 to BlankTile; a null picture for any other n.
    const QPixmap &ListImages(int16_t n) const;

private:
    std::array<QPixmap, BlankTile> m_pictures;
};
