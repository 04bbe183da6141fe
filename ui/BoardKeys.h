#pragma once

#include <QObject>
#include <cstdint>
#include <functional>

class Game;
class Narration;
class QKeyEvent;
class QMainWindow;

// The window's own keys of the key table (GameKeys): the arrows slide a tile
// and F5 reads the board, whichever control of the window has the focus,
// before a button can take an arrow to move the focus. Only the keys alone
// count: keypad arrows are the screen reader's review keys, and an open menu
// or the selected menu bar takes its own.
class BoardKeys : public QObject
{
    Q_OBJECT

public:
    // slide takes the road of a click on the cell whose tile the arrow slides.
    BoardKeys(QMainWindow *window, const Game &game, Narration &narration, std::function<void(int16_t cell)> slide);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool take(const QKeyEvent *event);

    QMainWindow *m_window;
    const Game &m_game;
    Narration &m_narration;
    std::function<void(int16_t cell)> m_slide;
};
