#pragma once

#include <QPixmap>
#include <array>
#include <cstdint>

// The sixteen tile pictures, fetched by position counting from 1; picture 16 is the blank.
class TileSet
{
public:
    explicit TileSet(qreal dpr = 1.0);

    // Picture n, 1..16; a null picture for any other n.
    const QPixmap &ListImages(int16_t n) const;

private:
    std::array<QPixmap, 16> m_pictures;
};
