#include "ui/FrmMain.h"

#include "platform/Runtime.h"
#include "ui/BoardFrame.h"
#include "ui/BoardKeys.h"
#include "ui/FrmAbout.h"
#include "ui/FrmHelp.h"
#include "ui/ImageCell.h"
#include "ui/Narration.h"
#include "ui/Placement.h"
#include "ui/PictureButton.h"

#include <QLabel>

FrmMain::FrmMain(Runtime &runtime, QWidget *parent)
    : QMainWindow(parent),
      m_runtime(runtime),
      ImageList1(devicePixelRatioF()),
      m_game(*this, runtime, [this](int16_t moves) { GameWon(moves); }),
      m_recordsWindow(this),
      m_records(m_recordsWindow, runtime)
{
    setupDesign();
    m_narration = new Narration(m_game, this, FrmPole, ImgP, Label2);
    new BoardKeys(this, m_game, *m_narration, [this](int16_t cell) { ImgP_Click(cell); });
    connectHandlers();
    Form_Load();
    adjustSize();
    centreOnScreen(this);
}

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
    for (int i = 0; i < BoardCells; ++i)
        connect(ImgP[i], &ImageCell::clicked, this, [this, i] { ImgP_Click(i); });
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
    // The tile lands where the blank is now.
    const int16_t landing = m_game.blankCell();
    if (m_game.ImgP_Click(static_cast<int16_t>(index)))
        m_narration->slid(landing);
}

void FrmMain::CmdNew_Click() { NewGame(); }
void FrmMain::Mnu3_Click() { NewGame(); }
void FrmMain::CmdRecord_Click() { m_records.ShowRecords(); }
void FrmMain::Mnu4_Click() { m_records.ShowRecords(); }
void FrmMain::CmdHelp_Click() { ShowHelp(); }
void FrmMain::Mnu6_Click() { ShowHelp(); }
void FrmMain::Mnu8_Click() { ShowAbout(); }
void FrmMain::CmdExit_Click() { ExitProga(); }
void FrmMain::Mnu5_Click() { ExitProga(); }

void FrmMain::NewGame()
{
    m_game.NewGame();
    m_narration->dealt();
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

void FrmMain::GameWon(int16_t moves)
{
    // The board is already closed; the result goes to the table.
    m_runtime.setInputDescription(Narration::won(moves));
    m_records.EnterRecord(moves);
    m_runtime.setInputDescription(QString());
}

QString FrmMain::tag(int16_t cell) const { return ImgP[cell]->tag(); }
void FrmMain::setTag(int16_t cell, const QString &text) { ImgP[cell]->setTag(text); }
void FrmMain::setPicture(int16_t cell, int16_t imageNo) { ImgP[cell]->setPicture(ImageList1.ListImages(imageNo)); }

void FrmMain::countChanged(const QString &count)
{
    Label2->setText(count);
    m_narration->countChanged();
}

void FrmMain::openChanged(bool)
{
    m_narration->openChanged();
}
