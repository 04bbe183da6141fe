#pragma once

#include "game/BoardSize.h"

#include <array>
#include <cstdint>

// tiles[cell] is the tile number in that cell, BlankTile for the blank.
using Position = std::array<int16_t, BoardCells>;

// Whether slides can bring the position to the tiles in order with the blank last.
// Every slide keeps the parity of (permutation inversions + the blank's
// distance in rows and columns from its home), so that parity decides.
bool IsSolvable(const Position &tiles);
