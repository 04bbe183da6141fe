// The main window's design: fixed places in twips, as laid out for the
// classic 96-dpi screen.
#include "ui/FrmMain.h"

#include "ui/Appearance.h"
#include "ui/Artwork.h"
#include "ui/BoardFrame.h"
#include "ui/DesignControls.h"
#include "ui/FocusRing.h"
#include "ui/ImageCell.h"
#include "ui/PictureButton.h"
#include "ui/Twips.h"

#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>

namespace {

PictureButton *makeButton(const char *name, const QString &word, QRect place, QWidget *parent)
{
    auto *button = new PictureButton(word, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(place);
    return button;
}

QLabel *makeCounterLabel(const char *name, const QString &text, QColor colour, QRect place, QWidget *parent)
{
    QLabel *label = makeLabel(name, text, place, Qt::AlignHCenter, parent);
    setLook(label, designFont(16, true), colour);
    return label;
}

QAction *makeItem(const char *name, const QString &text, QMenu *menu)
{
    QAction *item = menu->addAction(text);
    item->setObjectName(QLatin1String(name));
    return item;
}

} // namespace

void FrmMain::setupDesign()
{
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(Title);
    setWindowIcon(gameIcon());
    // Minimise and close, but no maximise: the window has a fixed size.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    client->setFixedSize(tw(4935), tw(3495));
    setCentralWidget(client);
    // Made before the buttons it rings, so it is gone before they are.
    auto *focusRing = new FocusRing(client);

    FrmPole = new BoardFrame(client);
    FrmPole->setObjectName(QStringLiteral("FrmPole"));
    FrmPole->setGeometry(twipsRect(75, 75, 3135, 3330));
    // One Tab stop for a screen reader's user: it reads the whole position.
    FrmPole->setAccessibleName(QStringLiteral("Игровое поле"));
    FrmPole->setFocusPolicy(Qt::TabFocus);
    for (int i = 0; i < BoardCells; ++i) {
        ImgP[i] = new ImageCell(FrmPole);
        ImgP[i]->setObjectName(QStringLiteral("ImgP_%1").arg(i));
        ImgP[i]->setGeometry(twipsRect(120 + 720 * (i % BoardSide), 240 + 720 * (i / BoardSide), 750, 750));
    }

    CmdNew = makeButton("CmdNew", QStringLiteral("Новая"), twipsRect(3360, 120, 1500, 375), client);
    CmdHelp = makeButton("CmdHelp", QStringLiteral("Правила"), twipsRect(3360, 600, 1500, 375), client);
    CmdRecord = makeButton("CmdRecord", QStringLiteral("Рекорды"), twipsRect(3360, 1080, 1500, 375), client);
    Frame1 = makeFrame("Frame1", twipsRect(3360, 1800, 1500, 855), client);
    Label1 = makeCounterLabel("Label1", QStringLiteral("Ход"), QColor(0, 0, 255), twipsRect(480, 120, 615, 255), Frame1);
    Label2 = makeCounterLabel("Label2", QStringLiteral("0"), QColor(255, 128, 0), twipsRect(600, 480, 375, 255), Frame1);
    // Read as "12, Ход": the digits are the name, the heading says what they count.
    Label2->setAccessibleDescription(Label1->text());
    CmdExit = makeButton("CmdExit", QStringLiteral("Выход"), twipsRect(3360, 3000, 1500, 375), client);
    for (QWidget *button : {CmdNew, CmdHelp, CmdRecord, CmdExit})
        focusRing->watch(button);

    // Tab order differs from the screen order: records before rules.
    setTabOrder(CmdNew, CmdRecord);
    setTabOrder(CmdRecord, CmdHelp);
    setTabOrder(CmdHelp, CmdExit);
    // The window opens with the focus on the first button, not on the board.
    CmdNew->setFocus();

    // The menu bar belongs to the window's design, even on desktops with a global menu.
    menuBar()->setNativeMenuBar(false);
    Mnu1 = menuBar()->addMenu(QStringLiteral("Игра"));
    Mnu1->setObjectName(QStringLiteral("Mnu1"));
    Mnu3 = makeItem("Mnu3", QStringLiteral("Новая"), Mnu1);
    Mnu4 = makeItem("Mnu4", QStringLiteral("Рекорды"), Mnu1);
    Mnu5 = makeItem("Mnu5", QStringLiteral("Выход"), Mnu1);
    Mnu2 = menuBar()->addMenu(QStringLiteral("Помощь"));
    Mnu2->setObjectName(QStringLiteral("Mnu2"));
    Mnu6 = makeItem("Mnu6", QStringLiteral("Правила"), Mnu2);
    Mnu8 = makeItem("Mnu8", QStringLiteral("О программе"), Mnu2);

    // The window takes the size of its client area plus the menu bar, and keeps it.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}
