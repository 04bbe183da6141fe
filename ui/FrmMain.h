#pragma once

#include "game/BoardView.h"
#include "game/Game.h"
#include "records/Records.h"
#include "records/RecordsView.h"
#include "ui/TileSet.h"

#include <QMainWindow>
#include <array>
#include <memory>

class BoardFrame;
class FrmRecord;
class ImageCell;
class PictureButton;
class QAction;
class QGroupBox;
class QLabel;
class QKeyEvent;
class QMenu;
class Runtime;

// The main window: the board, the move counter, four picture buttons and the
// menu bar. Its handlers only pass commands on; the cells are the board that
// the game logic reads and writes, and it opens the records window for the
// records logic.
class FrmMain : public QMainWindow, private BoardView, private RecordsView
{
    Q_OBJECT

public:
    static inline const QString Title = QStringLiteral("Пятнашки");

    // Builds the window and deals the first game before it is shown.
    explicit FrmMain(Runtime &runtime, QWidget *parent = nullptr);
    ~FrmMain() override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    // Tab walks the buttons in their order, then the board as one stop.
    bool focusNextPrevChild(bool next) override;

private:
    // The window's design: every control at its place, the menu bar, focus order.
    void setupDesign();
    // Where cell 0..15 stands, as a screen reader says it: "ряд 1, столбец 2".
    static QString cellPlace(int cell);
    void connectHandlers();

    // Handlers.
    void Form_Load();
    void ImgP_Click(int index);
    // True when the key was a board move's and taken.
    bool Arrow_KeyPress(QKeyEvent *event);
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
    void ShowRecords();
    void GameWon(int16_t moves);
    // Moves the focus to a control so that a screen reader reads it, again if it had it.
    void tell(QWidget *control);
    // Only the cell the last tile landed on carries the count; -1 for none.
    void markLanded(int16_t cell);
    // What a screen reader calls a cell: its tile's number or "пустая клетка".
    QString cellName(int cell) const;
    void nameCells();
    // The board's reading: the count, or that it is solved, then the rows.
    void describeBoard();

    // BoardView: the cells, the counter and the board frame.
    QString tag(int16_t cell) const override;
    void setTag(int16_t cell, const QString &text) override;
    void setPicture(int16_t cell, int16_t imageNo) override;
    void setCounter(const QString &text) override;
    void setBoardEnabled(bool enabled) override;

    // RecordsView: the records window, made at the first touch, gone when closed.
    FrmRecord &frmRecord();
    void setResultVisible(bool visible) override;
    void setResultText(const QString &text) override;
    void setPlace(int16_t place, const QString &name, const QString &moves) override;
    void showModal() override;
    void unload() override;

    Runtime &m_runtime;
    TileSet ImageList1;
    Game m_game;
    Records m_records;
    std::unique_ptr<FrmRecord> m_frmRecord;

    BoardFrame *FrmPole = nullptr;
    std::array<ImageCell *, 16> ImgP{};
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
    int16_t m_landed = -1; // the cell whose reading carries the count
    bool m_boardOpen = false; // takes moves: dealt and not yet won
    bool m_dealing = false; // the cells are named once the deal is heard

};
