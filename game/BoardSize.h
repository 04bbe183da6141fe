#pragma once

#include <cstdint>

// The board: BoardSide x BoardSide cells, numbered 0 to BoardCells - 1 row by
// row from the top left; tiles 1 to BoardCells, the last being the blank.
constexpr int16_t BoardSide = 4;
constexpr int16_t BoardCells = BoardSide * BoardSide;
constexpr int16_t BlankTile = BoardCells;
