#pragma once

#include "game/Solvability.h"

#include <QString>
#include <vector>

// Boards written the way a player reads them: "1 2 3 4 / 5 6 7 8 /
// 9 10 11 12 / 13 14 15 .", rows top to bottom, "." the blank (tile 16).
Position boardFromText(const QString &text);
QString boardToText(const Position &tiles);

inline const QString Solved = QStringLiteral("1 2 3 4 / 5 6 7 8 / 9 10 11 12 / 13 14 15 .");

// A random value that the deal turns into the given cell, 0..15.
float drawFor(int cell);

// The random values that deal exactly `position`: one draw per tile, tile 1 first.
std::vector<float> drawsFor(const QString &position);
