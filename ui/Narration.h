#pragma once

#include "game/BoardSize.h"

#include <QObject>
#include <array>
#include <cstdint>

class Game;
class ImageCell;
class QLabel;
class QWidget;

// What a screen reader hears of the main window besides its controls' own
// words: the board read whole, each cell named by its tile and place, the
// count on the tile that just slid, and the window's hint, heard as the
// window first opens. A change is heard by taking the focus to what shows it.
class Narration : public QObject
{
    Q_OBJECT

public:
    Narration(const Game &game, QWidget *window, QWidget *board, const std::array<ImageCell *, BoardCells> &cells,
              const QLabel *counter);

    // A slide was made: the focus follows the tile to `landing`, which says
    // where it stands and the count; the winning slide goes to the board.
    void slid(int16_t landing);
    // A deal was made: the focus goes to the board, which reads the new position.
    void dealt();
    // The game was won in `moves`: what the name box says besides its prompt.
    static QString won(int16_t moves);
    // Read it again: the board whole, from wherever the focus is; or where
    // the blank is, after an arrow that moved nothing (the board, once won).
    void readBoard();
    void readBlank();

    // The game's own changes, as the board hears them: the count, set last
    // in a slide, and the board opened or closed.
    void countChanged();
    void openChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void tell(QWidget *control);
    void markLanded(int16_t cell);
    void nameCells();
    void describeBoard();
    QString cellName(int16_t cell) const;

    const Game &m_game;
    QWidget *m_window;
    QWidget *m_board;
    std::array<ImageCell *, BoardCells> m_cells;
    const QLabel *m_counter;
    int16_t m_landed = -1; // the cell whose reading carries the count
};
