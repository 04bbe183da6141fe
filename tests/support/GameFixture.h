#pragma once

#include "game/Game.h"
#include "platform/ScriptedRuntime.h"
#include "support/FakeBoard.h"

#include <QTest>

// A game on a window-less board with scripted random values, counting wins.
struct GameFixture
{
    ScriptedRuntime runtime;
    FakeBoard board;
    int wins = 0;
    int16_t wonWith = -1;
    Game game{board, runtime, [this](int16_t moves) {
                  ++wins;
                  wonWith = moves;
              }};

    // Scripts the random values that place each tile where `text` shows it.
    void script(const QString &text)
    {
        const std::vector<float> draws = drawsFor(text);
        runtime.randomValues.insert(runtime.randomValues.end(), draws.begin(), draws.end());
    }

    // Deals exactly the position `text`, which must be solvable.
    void deal(const QString &text)
    {
        script(text);
        game.NewGame();
        QCOMPARE(board.text(), boardToText(boardFromText(text)));
    }

    void click(int cell) { game.ImgP_Click(static_cast<int16_t>(cell)); }
};
