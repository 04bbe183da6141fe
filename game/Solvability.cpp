#include "game/Solvability.h"

bool IsSolvable(const Position &tiles)
{
    int inversions = 0;
    int blankCell = 0;
    for (int i = 0; i < 16; ++i) {
        if (tiles[i] == 16)
            blankCell = i;
        for (int j = i + 1; j < 16; ++j)
            inversions += tiles[i] > tiles[j];
    }
    const int blankDistance = (3 - blankCell / 4) + (3 - blankCell % 4);
    return (inversions + blankDistance) % 2 == 0;
}
