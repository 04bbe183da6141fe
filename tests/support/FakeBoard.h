#pragma once

#include "game/BoardView.h"
#include "support/BoardText.h"

#include <array>

// A board without a window: records what the logic writes to the cells,
// the counter and the frame.
class FakeBoard : public BoardView
{
public:
    std::array<QString, 16> tags;
    std::array<int16_t, 16> pictures{}; // picture number shown, 0 for none yet
    QString counter = QStringLiteral("0");
    bool enabled = false;
    int pictureWrites = 0;

    QString tag(int16_t cell) const override { return tags[cell]; }
    void setTag(int16_t cell, const QString &text) override { tags[cell] = text; }
    void setPicture(int16_t cell, int16_t imageNo) override
    {
        pictures[cell] = imageNo;
        ++pictureWrites;
    }
    void countChanged(const QString &text) override { counter = text; }
    void openChanged(bool on) override { enabled = on; }

    // The position as the tags hold it, "." for the blank.
    QString text() const
    {
        Position tiles{};
        for (int i = 0; i < 16; ++i)
            tiles[i] = static_cast<int16_t>(tags[i].toInt());
        return boardToText(tiles);
    }

    // Whether every cell shows the picture of the tile in its tag.
    bool picturesMatchTags() const
    {
        for (int i = 0; i < 16; ++i)
            if (QString::number(pictures[i]) != tags[i])
                return false;
        return true;
    }
};
