#include "ui/TileSet.h"

#include "ui/Artwork.h"

TileSet::TileSet(qreal dpr)
{
    for (int n = 1; n <= 16; ++n)
        m_pictures[n - 1] = tilePicture(n, dpr);
}

const QPixmap &TileSet::ListImages(int16_t n) const
{
    static const QPixmap none;
    return n >= 1 && n <= 16 ? m_pictures[n - 1] : none;
}
