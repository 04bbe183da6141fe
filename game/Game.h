#pragma once

#include "game/BoardView.h"
#include "platform/Runtime.h"

#include <array>
#include <cstdint>
#include <functional>

// The fifteen puzzle's rules: dealing, moving, and noticing a win. The
// position lives only in the view's cell tags; this class keeps the
// main window's 16-bit working fields.
class Game
{
public:
    // Called on a win, after the board has been disabled, with the move count.
    using WinHandler = std::function<void(int16_t moves)>;

    Game(BoardView &view, Runtime &runtime, WinHandler onWin = {});

    // Deals a fresh, solvable game: re-seeds, places every tile in a random
    // cell, zeroes the counter and opens the board.
    void NewGame();

    // A click on a cell: slides it into the blank if they are
    // neighbours, then checks for a win; returns whether a move was made.
    bool ImgP_Click(int16_t index);

    // The arrow keys. Each slides the tile that stands beside the blank on the
    // side the arrow points away from, so the tile travels the arrow's way.
    enum class Arrow { Left, Right, Up, Down };
    // The cell whose tile that arrow would slide into the blank; -1 when the
    // blank is at that edge or not on the board.
    int16_t cellToSlide(Arrow arrow) const;
    // The cell that holds the blank; -1 before the first deal.
    int16_t blankCell() const;

    // Moves made since the last deal.
    int16_t moves() const { return Moves; }
    // Whether the board takes moves: dealt and not yet won.
    bool isOpen() const { return m_boardOpen; }
    // The tile in a cell, as its tag holds it: every read of the position
    // goes through here. 0 before the first deal.
    int16_t tileAt(int16_t cell) const;

private:
    bool MakeHod();
    void placeTile(int16_t tile);
    void repairUnsolvable();
    void testNeighbour(int16_t nearCell, bool &moved);

    BoardView &m_view;
    Runtime &m_runtime;
    WinHandler m_onWin;
    bool m_boardOpen = false; // a closed board ignores clicks

    std::array<int16_t, BoardCells> Dealt{};
    int16_t Idx = 0;
    int16_t Pick = 0;
    int16_t PicNo = 0;
    int16_t Moves = 0;
    int16_t Cell = 0;
    int16_t NearCell = 0;
    int16_t TileNo = 0;
    int16_t Row = 0;
    int16_t Col = 0;
    int16_t InPlace = 0;
    int16_t CellNo = 0;
};
