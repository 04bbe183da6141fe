#pragma once

#include <array>
#include <cstdint>

// tiles[cell] is the tile number in that cell, 1..16 with 16 the blank.
using Position = std::array<int16_t, 16>;

// Whether slides can bring the position to 1..15 with the blank last.
// Every slide keeps the parity of (permutation inversions + the blank's
// distance in rows and columns from its home), so that parity decides.
bool IsSolvable(const Position &tiles);
