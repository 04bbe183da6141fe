#pragma once

#include <array>
#include <optional>
#include <vector>

// A board as the player reads it: the tile in each cell, row by row, 16 for the blank.
using Board = std::array<int, 16>;

// The cells to click, in order, to bring the tiles to 1..15 with the blank
// last; nothing if the position cannot be solved. Not the shortest way, but
// quick for any deal: the top row, then the second, then the last two rows
// together, each by a breadth-first search over only the tiles it places.
std::optional<std::vector<int>> solve(Board board);

// The board after clicking `cell`, if that cell is next to the blank.
std::optional<Board> afterClick(const Board &board, int cell);
