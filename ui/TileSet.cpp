#include "ui/TileSet.h"

#include "ui/Artwork.h"

TileSet::TileSet(qreal dpr)
{
    for (int n = 1; n <= BlankTile; ++n)
        m_pictures[n - 1] = tilePicture(n, dpr);
}

const QPixmap &TileSet::ListImages(int16_t n) const
{
    static const QPixmap none;
    return n >= 1 && n <= BlankTile ? m_pictures[n - 1] : none;
}
