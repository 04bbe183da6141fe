#include "game/Game.h"

#include "game/Solvability.h"
#include "platform/Conversions.h"

#include <cmath>
#include <limits>

Game::Game(BoardView &view, Runtime &runtime, WinHandler onWin)
    : m_view(view), m_runtime(runtime), m_onWin(std::move(onWin))
{
}

int16_t Game::tileAt(int16_t cell) const
{
    // The tag's leading number: a tag the game did not write reads as no tile.
    return RoundToInt16(Val(m_view.tag(cell))).value_or(0);
}

void Game::NewGame()
{
    m_runtime.randomize();
    for (Idx = 0; Idx < BoardCells; ++Idx)
        Dealt[Idx] = 0;
    for (Idx = 0; Idx < BoardCells; ++Idx)
        placeTile(static_cast<int16_t>(Idx + 1));
    repairUnsolvable();
    Moves = 0;
    m_view.countChanged(Str(Moves));
    m_boardOpen = true;
    m_view.openChanged(true);
}

void Game::placeTile(int16_t tile)
{
    // Draw until a free cell comes up; the sum is formed in double precision
    // because in single precision the largest r below 1 would round up past the last cell.
    for (;;) {
        const float r = m_runtime.rnd();
        Pick = static_cast<int16_t>(std::floor(static_cast<double>(r) * BoardCells + 1.0) - 1.0);
        if (Pick >= 0 && Pick < BoardCells && Dealt[Pick] == 0)
            break;
    }
    Dealt[Pick] = -1;
    m_view.setTag(Pick, Str(tile));
    m_view.setPicture(Pick, tile);
}

void Game::repairUnsolvable()
{
    // Half of all arrangements cannot be solved. Exchanging tiles 1 and 2
    // maps each of them onto a distinct solvable one, so every solvable deal
    // stays equally likely, and no re-deal can repeat the same draw.
    Position tiles{};
    int16_t cellOf1 = 0, cellOf2 = 0;
    for (int16_t cell = 0; cell < BoardCells; ++cell) {
        tiles[cell] = tileAt(cell);
        if (tiles[cell] == 1)
            cellOf1 = cell;
        if (tiles[cell] == 2)
            cellOf2 = cell;
    }
    if (IsSolvable(tiles))
        return;
    const QString tag1 = m_view.tag(cellOf1);
    m_view.setTag(cellOf1, m_view.tag(cellOf2));
    m_view.setTag(cellOf2, tag1);
    m_view.setPicture(cellOf1, tileAt(cellOf1));
    m_view.setPicture(cellOf2, tileAt(cellOf2));
}

bool Game::ImgP_Click(int16_t index)
{
    if (!m_boardOpen || index < 0 || index >= BoardCells)
        return false;

    Cell = index;
    Row = static_cast<int16_t>(Cell / BoardSide);
    Col = static_cast<int16_t>(Cell % BoardSide);
    bool moved = false;
    // Each direction has its own range test, so a test never wraps round a row end.
    if (Row - 1 >= 0)
        testNeighbour(static_cast<int16_t>(Cell - BoardSide), moved);
    if (Row + 1 < BoardSide)
        testNeighbour(static_cast<int16_t>(Cell + BoardSide), moved);
    if (Col - 1 >= 0)
        testNeighbour(static_cast<int16_t>(Cell - 1), moved);
    if (Col + 1 < BoardSide)
        testNeighbour(static_cast<int16_t>(Cell + 1), moved);

    // The solved check runs on every click, move or not.
    InPlace = 0;
    for (Idx = 0; Idx < BoardCells; ++Idx) {
        CellNo = tileAt(Idx);
        if (CellNo == Idx + 1)
            ++InPlace;
    }
    if (InPlace == BoardCells) {
        m_boardOpen = false;
        m_view.openChanged(false);
        if (m_onWin)
            m_onWin(Moves);
    }
    return moved;
}

int16_t Game::blankCell() const
{
    for (int16_t cell = 0; cell < BoardCells; ++cell)
        if (tileAt(cell) == BlankTile)
            return cell;
    return -1;
}

int16_t Game::cellToSlide(Arrow arrow) const
{
    const int16_t blank = blankCell();
    if (blank < 0)
        return -1;
    const int row = blank / BoardSide, col = blank % BoardSide, last = BoardSide - 1;
    const auto cell = [blank](int offset) { return static_cast<int16_t>(blank + offset); };
    switch (arrow) {
    case Arrow::Left: return col < last ? cell(1) : int16_t(-1);
    case Arrow::Right: return col > 0 ? cell(-1) : int16_t(-1);
    case Arrow::Up: return row < last ? cell(BoardSide) : int16_t(-1);
    case Arrow::Down: return row > 0 ? cell(-BoardSide) : int16_t(-1);
    }
    return -1;
}

void Game::testNeighbour(int16_t nearCell, bool &moved)
{
    NearCell = nearCell;
    if (tileAt(NearCell) == BlankTile && MakeHod())
        moved = true;
}

bool Game::MakeHod()
{
    // A move the counter cannot count is not made, so the count never wraps
    // and a stored result can never read as an empty place.
    if (Moves == std::numeric_limits<int16_t>::max())
        return false;

    TileNo = tileAt(Cell);
    // Both tags first, then each picture read back from its new tag.
    m_view.setTag(Cell, m_view.tag(NearCell));
    m_view.setTag(NearCell, Str(TileNo));
    PicNo = tileAt(Cell);
    m_view.setPicture(Cell, PicNo);
    PicNo = tileAt(NearCell);
    m_view.setPicture(NearCell, PicNo);
    IncrementChecked(Moves);
    m_view.countChanged(Str(Moves));
    return true;
}
