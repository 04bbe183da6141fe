#include "game/Solvability.h"

bool IsSolvable(const Position &tiles)
{
    int inversions = 0;
    int blankCell = 0;
    for (int i = 0; i < BoardCells; ++i) {
        if (tiles[i] == BlankTile)
            blankCell = i;
        for (int j = i + 1; j < BoardCells; ++j)
            inversions += tiles[i] > tiles[j];
    }
    const int last = BoardSide - 1;
    const int blankDistance = (last - blankCell / BoardSide) + (last - blankCell % BoardSide);
    return (inversions + blankDistance) % 2 == 0;
}
