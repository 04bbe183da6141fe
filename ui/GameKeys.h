#pragma once

#include "game/Game.h"

#include <QString>
#include <Qt>
#include <optional>
#include <span>

// What a key does in the game.
enum class KeyUse {
    Slide,     // slides the tile beside the blank (the window's keys: any control)
    ReadBoard, // takes the focus to the board, which reads the position (the window's keys)
    NextStop,  // walks the buttons, then the board (the window's Tab order)
    Press,     // presses the focused button (the buttons' own)
    Decline,   // answers «Нет» to the exit question (the question's own)
};

// One key the game gives a meaning: the key, its name as the manual page
// spells it, what it does, and how the rules window tells a screen reader's
// user about it (%1 the name; empty where that goes without saying).
struct GameKey
{
    Qt::Key key;
    const char *name;
    KeyUse use;
    std::optional<Game::Arrow> arrow; // the slide's direction
    const char16_t *told;
};

// Every key the game gives a meaning, in the order the rules tell them.
std::span<const GameKey> gameKeys();

// The row of a key; none for a key the game leaves alone.
const GameKey *gameKey(int key);

// The name of the (first) key with that use.
QString keyName(KeyUse use);

// How the rules window tells the keys: each told text once, in order, as one sentence.
QString keysTold();
