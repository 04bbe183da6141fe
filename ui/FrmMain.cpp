#include "ui/FrmMain.h"

#include "platform/Runtime.h"
#include "ui/BoardFrame.h"
#include "ui/FrmAbout.h"
#include "ui/FrmHelp.h"
#include "ui/FrmRecord.h"
#include "ui/ImageCell.h"
#include "ui/Placement.h"
#include "ui/PictureButton.h"
#include "ui/Spoken.h"

#include <QAccessible>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QTimer>

FrmMain::FrmMain(Runtime &runtime, QWidget *parent)
    : QMainWindow(parent),
      m_runtime(runtime),
      ImageList1(devicePixelRatioF()),
      m_game(*this, runtime, [this](int16_t moves) { GameWon(moves); }),
      m_records(*this, runtime)
{
    setupDesign();
    connectHandlers();
    Form_Load();
    adjustSize();
    centreOnScreen(this);
}

FrmMain::~FrmMain() = default;

void FrmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // Only now is the frame known; centre by it once, then leave the player's placing alone.
    if (!m_placed) {
        m_placed = true;
        centreOnScreen(this);
    }
}

void FrmMain::connectHandlers()
{
    for (int i = 0; i < 16; ++i)
        connect(ImgP[i], &ImageCell::clicked, this, [this, i] { ImgP_Click(i); });
    // The arrows play whichever control of the window has the focus, before a
    // button can take them to move the focus; menus and popups get their own.
    for (QWidget *control : centralWidget()->findChildren<QWidget *>())
        if (control->focusPolicy() != Qt::NoFocus)
            control->installEventFilter(this);
    connect(CmdNew, &QPushButton::clicked, this, &FrmMain::CmdNew_Click);
    connect(CmdRecord, &QPushButton::clicked, this, &FrmMain::CmdRecord_Click);
    connect(CmdHelp, &QPushButton::clicked, this, &FrmMain::CmdHelp_Click);
    connect(CmdExit, &QPushButton::clicked, this, &FrmMain::CmdExit_Click);
    connect(Mnu3, &QAction::triggered, this, &FrmMain::Mnu3_Click);
    connect(Mnu4, &QAction::triggered, this, &FrmMain::Mnu4_Click);
    connect(Mnu5, &QAction::triggered, this, &FrmMain::Mnu5_Click);
    connect(Mnu6, &QAction::triggered, this, &FrmMain::Mnu6_Click);
    connect(Mnu8, &QAction::triggered, this, &FrmMain::Mnu8_Click);
}

bool FrmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && Arrow_KeyPress(static_cast<QKeyEvent *>(event)))
        return true;
    return QMainWindow::eventFilter(watched, event);
}

void FrmMain::keyPressEvent(QKeyEvent *event)
{
    if (!Arrow_KeyPress(event))
        QMainWindow::keyPressEvent(event);
}

bool FrmMain::focusNextPrevChild(bool next)
{
    // The buttons in their own order, then the board, which a won board stays
    // so that it can say so.
    const QList<QWidget *> stops{CmdNew, CmdRecord, CmdHelp, CmdExit, FrmPole};
    QWidget *focus = focusWidget();
    const qsizetype at = stops.indexOf(focus && FrmPole->isAncestorOf(focus) ? FrmPole : focus);
    const qsizetype count = stops.size();
    const qsizetype to = at < 0 ? (next ? 0 : count - 1) : (at + (next ? 1 : count - 1)) % count;
    stops[to]->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

void FrmMain::Form_Load() { NewGame(); }
void FrmMain::ImgP_Click(int index)
{
    // The tile lands where the blank is now; the focus follows it there, so a
    // screen reader says which tile moved, where to, and the count. The winning
    // move takes it to the board, which says it is solved.
    const int16_t landing = m_game.blankCell();
    if (!m_game.ImgP_Click(static_cast<int16_t>(index)))
        return;
    markLanded(landing);
    tell(m_boardOpen ? static_cast<QWidget *>(ImgP[landing]) : FrmPole);
}

// The same road as a click on that tile; a closed board takes neither.
// Only the main arrow keys alone play: keypad arrows are the screen reader's
// review keys, and an open menu or the selected menu bar takes its own.
// F5 reads the position again from wherever the focus is.
bool FrmMain::Arrow_KeyPress(QKeyEvent *event)
{
    static const QHash<int, Game::Arrow> arrows{{Qt::Key_Left, Game::Arrow::Left},
                                                {Qt::Key_Right, Game::Arrow::Right},
                                                {Qt::Key_Up, Game::Arrow::Up},
                                                {Qt::Key_Down, Game::Arrow::Down}};
    const auto arrow = arrows.constFind(event->key());
    const bool reread = event->key() == Qt::Key_F5;
    if ((arrow == arrows.cend() && !reread) || event->modifiers() != Qt::NoModifier
        || QApplication::activePopupWidget() || menuBar()->hasFocus())
        return false;
    if (reread) {
        tell(FrmPole);
        return true;
    }
    const int16_t cell = m_boardOpen ? m_game.cellToSlide(*arrow) : int16_t(-1);
    if (cell >= 0) {
        ImgP_Click(cell);
        return true;
    }
    // Nothing to slide: the board's edge, where the blank says where it is,
    // or a won board, which says it is solved.
    QApplication::beep();
    nameCells(); // a deal's a moment ago may not be yet
    const int16_t blank = m_game.blankCell();
    tell(m_boardOpen && blank >= 0 ? static_cast<QWidget *>(ImgP[blank]) : FrmPole);
    return true;
}

void FrmMain::CmdNew_Click() { NewGame(); }
void FrmMain::Mnu3_Click() { NewGame(); }
void FrmMain::CmdRecord_Click() { ShowRecords(); }
void FrmMain::Mnu4_Click() { ShowRecords(); }
void FrmMain::CmdHelp_Click() { ShowHelp(); }
void FrmMain::Mnu6_Click() { ShowHelp(); }
void FrmMain::Mnu8_Click() { ShowAbout(); }
void FrmMain::CmdExit_Click() { ExitProga(); }
void FrmMain::Mnu5_Click() { ExitProga(); }

void FrmMain::NewGame()
{
    // A deal in play is heard: the focus goes to the board, which reads the new
    // position. The cells are renamed only a moment later: a screen reader takes
    // every renamed cell before the focus, which held the reading back by a second
    // or two. A key before then renames them first.
    m_dealing = true;
    m_game.NewGame();
    m_dealing = false;
    markLanded(-1);
    if (!isVisible()) {
        nameCells();
        return;
    }
    tell(FrmPole);
    QTimer::singleShot(400, this, [this] { nameCells(); });
}

void FrmMain::tell(QWidget *control)
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

void FrmMain::markLanded(int16_t cell)
{
    if (m_landed >= 0)
        ImgP[m_landed]->setAccessibleDescription(cellPlace(m_landed));
    m_landed = cell;
    if (cell >= 0)
        ImgP[cell]->setAccessibleDescription(cellPlace(cell) + QStringLiteral(", ход ") + Label2->text());
}

void FrmMain::ExitProga()
{
    if (m_runtime.msgBox(QStringLiteral("Вы действительно хотите выйти из программы?"), Title) == Runtime::Yes)
        m_runtime.end();
}

void FrmMain::ShowHelp()
{
    // A fresh window from its design at every opening, gone when closed.
    FrmHelp window(this);
    window.exec();
}

void FrmMain::ShowAbout()
{
    FrmAbout window(this);
    window.exec();
}

void FrmMain::ShowRecords()
{
    m_records.ShowRecords();
}

void FrmMain::GameWon(int16_t moves)
{
    // The board is already closed; the result goes to the table. The name
    // box tells a screen reader's user what its caption only implies.
    m_runtime.setInputDescription(QStringLiteral("Головоломка решена за %1.").arg(movesSpoken(moves)));
    m_records.EnterRecord(moves);
    m_runtime.setInputDescription(QString());
}

QString FrmMain::tag(int16_t cell) const
{
    return ImgP[cell]->tag();
}

void FrmMain::setTag(int16_t cell, const QString &text)
{
    ImgP[cell]->setTag(text);
}

void FrmMain::setPicture(int16_t cell, int16_t imageNo)
{
    ImgP[cell]->setPicture(ImageList1.ListImages(imageNo));
}

QString FrmMain::cellName(int cell) const
{
    const QString tile = ImgP[cell]->tag();
    return tile == QLatin1String("16") ? QStringLiteral("пустая клетка") : tile;
}

void FrmMain::nameCells()
{
    // What a screen reader says of a cell follows what it holds; only a change is news.
    for (int cell = 0; cell < 16; ++cell)
        if (ImgP[cell]->accessibleName() != cellName(cell))
            ImgP[cell]->setAccessibleName(cellName(cell));
}

void FrmMain::describeBoard()
{
    QStringList rows{m_boardOpen ? QStringLiteral("Ход ") + Label2->text()
                                 : QStringLiteral("Головоломка решена за %1, «Новая» сдаёт новую игру")
                                       .arg(movesSpoken(m_game.moves()))};
    for (int row = 0; row < 4; ++row) {
        QStringList tiles;
        for (int cell = row * 4; cell < row * 4 + 4; ++cell)
            tiles << cellName(cell);
        rows << QStringLiteral("Ряд %1: %2").arg(row + 1).arg(tiles.join(QStringLiteral(", ")));
    }
    const QString reading = rows.join(QStringLiteral(". "));
    if (FrmPole->accessibleDescription() != reading)
        FrmPole->setAccessibleDescription(reading);
}

void FrmMain::setCounter(const QString &text)
{
    Label2->setText(text);
    // The count is set last in a move, and the board opened last in a deal:
    // the readings follow each once.
    if (m_dealing)
        return;
    describeBoard();
    nameCells();
}

void FrmMain::setBoardEnabled(bool enabled)
{
    // A won board takes no moves yet keeps the focus it can take, so that a
    // screen reader's user can still reach it and hear that it is solved.
    m_boardOpen = enabled;
    describeBoard();
}

FrmRecord &FrmMain::frmRecord()
{
    if (!m_frmRecord)
        m_frmRecord = std::make_unique<FrmRecord>(this);
    return *m_frmRecord;
}

void FrmMain::setResultVisible(bool visible)
{
    frmRecord().setResultVisible(visible);
}

void FrmMain::setResultText(const QString &text)
{
    frmRecord().setResultText(text);
}

void FrmMain::setPlace(int16_t place, const QString &name, const QString &moves)
{
    frmRecord().setPlace(place, name, moves);
}

void FrmMain::showModal()
{
    frmRecord().exec();
    // "Ok!" and the close box both unload it: the next opening starts from the design.
    unload();
}

void FrmMain::unload()
{
    m_frmRecord.reset();
}
