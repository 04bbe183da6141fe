#include "ui/FrmMain.h"

#include "platform/Runtime.h"
#include "ui/FrmAbout.h"
#include "ui/FrmHelp.h"
#include "ui/FrmRecord.h"
#include "ui/ImageCell.h"
#include "ui/Placement.h"
#include "ui/PictureButton.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QShortcut>

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
    // Window-wide, so the arrows play whichever button has the focus, and
    // never move the focus between the buttons.
    const std::pair<Qt::Key, Game::Arrow> arrows[] = {{Qt::Key_Left, Game::Arrow::Left},
                                                      {Qt::Key_Right, Game::Arrow::Right},
                                                      {Qt::Key_Up, Game::Arrow::Up},
                                                      {Qt::Key_Down, Game::Arrow::Down}};
    for (const auto &[key, arrow] : arrows)
        connect(new QShortcut(key, this), &QShortcut::activated, this, [this, arrow] { Arrow_KeyPress(arrow); });
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

void FrmMain::Form_Load() { NewGame(); }
void FrmMain::ImgP_Click(int index) { m_game.ImgP_Click(static_cast<int16_t>(index)); }
// The same road as a click on that tile; a closed board takes neither.
void FrmMain::Arrow_KeyPress(Game::Arrow arrow)
{
    if (FrmPole->isEnabled())
        ImgP_Click(m_game.cellToSlide(arrow));
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
    m_game.NewGame();
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
    // The board is already closed; the result goes to the table.
    m_records.EnterRecord(moves);
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
    // What a screen reader says of the cell follows what it shows.
    ImgP[cell]->setAccessibleName(imageNo == 16 ? QStringLiteral("пустая клетка") : QString::number(imageNo));
}

void FrmMain::setCounter(const QString &text)
{
    Label2->setText(text);
}

void FrmMain::setBoardEnabled(bool enabled)
{
    FrmPole->setEnabled(enabled);
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
