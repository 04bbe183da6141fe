#include "ui/BoardKeys.h"

#include "game/Game.h"
#include "ui/GameKeys.h"
#include "ui/Narration.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenuBar>

BoardKeys::BoardKeys(QMainWindow *window, const Game &game, Narration &narration, std::function<void(int16_t cell)> slide)
    : QObject(window), m_window(window), m_game(game), m_narration(narration), m_slide(std::move(slide))
{
    // The window itself, and every control that can hold the focus; menus and popups get their own.
    window->installEventFilter(this);
    for (QWidget *control : window->centralWidget()->findChildren<QWidget *>())
        if (control->focusPolicy() != Qt::NoFocus)
            control->installEventFilter(this);
}

bool BoardKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && take(static_cast<QKeyEvent *>(event)))
        return true;
    return QObject::eventFilter(watched, event);
}

bool BoardKeys::take(const QKeyEvent *event)
{
    const GameKey *key = gameKey(event->key());
    if (!key || (key->use != KeyUse::Slide && key->use != KeyUse::ReadBoard) || event->modifiers() != Qt::NoModifier
        || QApplication::activePopupWidget() || m_window->menuBar()->hasFocus())
        return false;
    if (key->use == KeyUse::ReadBoard) {
        m_narration.readBoard();
        return true;
    }
    // The same road as a click on that tile; a closed board takes neither.
    const int16_t cell = m_game.isOpen() ? m_game.cellToSlide(*key->arrow) : int16_t(-1);
    if (cell >= 0) {
        m_slide(cell);
        return true;
    }
    // Nothing to slide: the board's edge, or a won board.
    QApplication::beep();
    m_narration.readBlank();
    return true;
}
