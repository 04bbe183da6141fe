#include "ui/Narration.h"

#include "game/Game.h"
#include "ui/GameKeys.h"
#include "ui/ImageCell.h"
#include "ui/Spoken.h"

#include <QAccessible>
#include <QEvent>
#include <QLabel>
#include <QTimer>

namespace {

// Where a cell stands, as a screen reader says it: "ряд 1, столбец 2".
QString cellPlace(int cell)
{
    return QStringLiteral("ряд %1, столбец %2").arg(cell / BoardSide + 1).arg(cell % BoardSide + 1);
}

} // namespace

Narration::Narration(const Game &game, QWidget *window, QWidget *board, const std::array<ImageCell *, BoardCells> &cells,
                     const QLabel *counter)
    : QObject(window), m_game(game), m_window(window), m_board(board), m_cells(cells), m_counter(counter)
{
    // Read with the title as the window first opens: a key that reaches the
    // board from anywhere. Heard again after every dialog it would only be
    // in the way, so it goes once the window first gives up the focus.
    window->setAccessibleDescription(
        QStringLiteral("%1 ведёт к игровому полю, стрелки сдвигают фишки.").arg(keyName(KeyUse::ReadBoard)));
    window->installEventFilter(this);
    for (int16_t cell = 0; cell < BoardCells; ++cell)
        m_cells[cell]->setAccessibleDescription(cellPlace(cell));
}

bool Narration::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::WindowDeactivate) {
        m_window->setAccessibleDescription(QString());
        m_window->removeEventFilter(this);
    }
    return QObject::eventFilter(watched, event);
}

void Narration::slid(int16_t landing)
{
    markLanded(landing);
    tell(m_game.isOpen() ? static_cast<QWidget *>(m_cells[landing]) : m_board);
}

void Narration::dealt()
{
    // The cells are renamed only a moment later: a screen reader takes every
    // renamed cell before the focus, which held the reading back by a second
    // or two. A key before then renames them first.
    markLanded(-1);
    if (!m_window->isVisible()) {
        nameCells();
        return;
    }
    tell(m_board);
    QTimer::singleShot(400, this, [this] { nameCells(); });
}

QString Narration::won(int16_t moves)
{
    return QStringLiteral("Головоломка решена за %1.").arg(movesSpoken(moves));
}

void Narration::readBoard()
{
    tell(m_board);
}

void Narration::readBlank()
{
    nameCells(); // a deal's a moment ago may not be yet
    const int16_t blank = m_game.blankCell();
    tell(m_game.isOpen() && blank >= 0 ? static_cast<QWidget *>(m_cells[blank]) : m_board);
}

void Narration::countChanged()
{
    // A count of 0 is a deal's: its readings follow once the board is open.
    if (m_game.moves() == 0)
        return;
    describeBoard();
    nameCells();
}

void Narration::openChanged()
{
    // A won board keeps the focus it can take, so that it can say it is solved.
    describeBoard();
}

void Narration::tell(QWidget *control)
{
    if (!control->hasFocus()) {
        control->setFocus(Qt::OtherFocusReason);
        return;
    }
    // A screen reader reads a control as the focus comes to it, and never the
    // same one twice in a row: under a fresh identity it is read again. Its
    // cells take fresh ones too, or the reader, still knowing them as children
    // of the old one, would name the board again at the next slide.
    QList<QWidget *> renewed = control->findChildren<QWidget *>();
    renewed << control;
    for (QWidget *widget : std::as_const(renewed))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(QAccessible::queryAccessibleInterface(widget)));
    QAccessibleEvent focus(control, QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
}

void Narration::markLanded(int16_t cell)
{
    // Only the cell the last tile landed on carries the count.
    if (m_landed >= 0)
        m_cells[m_landed]->setAccessibleDescription(cellPlace(m_landed));
    m_landed = cell;
    if (cell >= 0)
        m_cells[cell]->setAccessibleDescription(cellPlace(cell) + QStringLiteral(", ход ") + m_counter->text());
}

QString Narration::cellName(int16_t cell) const
{
    const int16_t tile = m_game.tileAt(cell);
    return tile == BlankTile ? QStringLiteral("пустая клетка") : QString::number(tile);
}

void Narration::nameCells()
{
    // What a screen reader says of a cell follows what it holds; only a change is news.
    for (int16_t cell = 0; cell < BoardCells; ++cell)
        if (m_cells[cell]->accessibleName() != cellName(cell))
            m_cells[cell]->setAccessibleName(cellName(cell));
}

void Narration::describeBoard()
{
    QStringList rows{m_game.isOpen() ? QStringLiteral("Ход ") + m_counter->text()
                                     : QStringLiteral("Головоломка решена за %1, «Новая» сдаёт новую игру")
                                           .arg(movesSpoken(m_game.moves()))};
    for (int16_t row = 0; row < BoardSide; ++row) {
        QStringList tiles;
        for (int16_t cell = row * BoardSide; cell < (row + 1) * BoardSide; ++cell)
            tiles << cellName(cell);
        rows << QStringLiteral("Ряд %1: %2").arg(row + 1).arg(tiles.join(QStringLiteral(", ")));
    }
    const QString reading = rows.join(QStringLiteral(". "));
    if (m_board->accessibleDescription() != reading)
        m_board->setAccessibleDescription(reading);
}
