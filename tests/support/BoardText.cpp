#include "support/BoardText.h"

#include <QStringList>
#include <stdexcept>

Position boardFromText(const QString &text)
{
    QString flat = text;
    flat.replace(u'/', u' ');
    const QStringList words = flat.split(u' ', Qt::SkipEmptyParts);
    if (words.size() != 16)
        throw std::invalid_argument("a board needs sixteen cells");
    Position tiles{};
    for (int i = 0; i < 16; ++i)
        tiles[i] = words[i] == u"." ? 16 : static_cast<int16_t>(words[i].toInt());
    return tiles;
}

QString boardToText(const Position &tiles)
{
    QStringList rows;
    for (int row = 0; row < 4; ++row) {
        QStringList cells;
        for (int col = 0; col < 4; ++col) {
            const int tile = tiles[row * 4 + col];
            cells << (tile == 16 ? QStringLiteral(".") : QString::number(tile));
        }
        rows << cells.join(u' ');
    }
    return rows.join(QStringLiteral(" / "));
}

float drawFor(int cell)
{
    return (static_cast<float>(cell) + 0.5f) / 16.0f;
}

std::vector<float> drawsFor(const QString &position)
{
    const Position tiles = boardFromText(position);
    std::vector<float> draws(16);
    for (int cell = 0; cell < 16; ++cell)
        draws[tiles[cell] - 1] = drawFor(cell);
    return draws;
}
