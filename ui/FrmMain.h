#pragma once

#include "game/BoardView.h"
#include "game/Game.h"
#include "records/Records.h"
#include "ui/RecordsWindow.h"
#include "ui/TileSet.h"

#include <QMainWindow>
#include <array>

class BoardFrame;
class ImageCell;
class Narration;
class PictureButton;
class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class Runtime;

// The main window: the board, the move counter, four picture buttons and the
// menu bar. Its handlers pass commands on to the game and the records; the
// cells are the board the game reads and writes. A screen reader hears the
// game through Narration; the arrows and F5 play through BoardKeys.
class FrmMain : public QMainWindow, private BoardView
{
    Q_OBJECT

public:
    static inline const QString Title = QStringLiteral("Пятнашки");

    // Builds the window and deals the first game before it is shown.
    explicit FrmMain(Runtime &runtime, QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;
    // Tab walks the buttons in their order, then the board as one stop.
    bool focusNextPrevChild(bool next) override;

private:
    // The window's design: every control at its place, the menu bar, focus order.
    void setupDesign();
    void connectHandlers();

    // Handlers.
    void Form_Load();
    void ImgP_Click(int index);
    void CmdNew_Click();
    void Mnu3_Click();
    void CmdRecord_Click();
    void Mnu4_Click();
    void CmdHelp_Click();
    void Mnu6_Click();
    void Mnu8_Click();
    void CmdExit_Click();
    void Mnu5_Click();

    // Operations.
    void NewGame();
    void ExitProga();
    void ShowHelp();
    void ShowAbout();
    void GameWon(int16_t moves);

    // BoardView: the cells and the counter.
    QString tag(int16_t cell) const override;
    void setTag(int16_t cell, const QString &text) override;
    void setPicture(int16_t cell, int16_t imageNo) override;
    void countChanged(const QString &count) override;
    void openChanged(bool open) override;

    Runtime &m_runtime;
    TileSet ImageList1;
    Game m_game;
    RecordsWindow m_recordsWindow;
    Records m_records;
    Narration *m_narration = nullptr;

    BoardFrame *FrmPole = nullptr;
    std::array<ImageCell *, BoardCells> ImgP{};
    PictureButton *CmdNew = nullptr;
    PictureButton *CmdHelp = nullptr;
    PictureButton *CmdRecord = nullptr;
    PictureButton *CmdExit = nullptr;
    QGroupBox *Frame1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QMenu *Mnu1 = nullptr;
    QMenu *Mnu2 = nullptr;
    QAction *Mnu3 = nullptr;
    QAction *Mnu4 = nullptr;
    QAction *Mnu5 = nullptr;
    QAction *Mnu6 = nullptr;
    QAction *Mnu8 = nullptr;
    bool m_placed = false;
};
