#include "ui/FrmHelp.h"

#include "ui/Appearance.h"
#include "ui/Artwork.h"
#include "ui/DesignControls.h"
#include "ui/GameKeys.h"
#include "ui/Spoken.h"
#include "ui/Twips.h"

#include <QLabel>
#include <QPushButton>

FrmHelp::FrmHelp(QWidget *parent)
    : FixedDialog("FrmHelp", QStringLiteral("Правила игры"), QSize(tw(3645), tw(4545)), parent)
{
    setWindowIcon(rulesIcon());
    const QColor red(255, 0, 0);
    const QColor blue(0, 0, 255);

    Label1 = makeLabel("Label1", QStringLiteral("Правила игры"), twipsRect(840, 120, 2055, 255), Qt::AlignHCenter,
                       this);
    setLook(Label1, designFont(16, true), red);

    Label2 = makeLabel("Label2", QStringLiteral("Для тех , кто ни разу не играл в \"пятнашки\""),
                       twipsRect(600, 480, 2415, 495), Qt::AlignHCenter, this);
    setLook(Label2, designFont(13), blue);
    Label2->setWordWrap(true);

    // Latin letters here; the about window's button is Cyrillic.
    Command1 = makeCloseButton("Command1", QStringLiteral("Ok!"), twipsRect(2160, 4080, 1335, 375));

    Label3 = makeLabel("Label3",
                       QStringLiteral("На квадратном поле 4х4 клетки расположены 15 фишек, пронумерованных "
                                      "от 1 до 15. Одна клетка игрового поля остается пустой. "),
                       twipsRect(120, 1440, 3375, 855), Qt::AlignHCenter, this);
    Label3->setWordWrap(true);

    Label4 = makeLabel("Label4",
                       QStringLiteral("Меняя местами фишки, расположенные рядом с пустой клеткой, добиться "
                                      "расположения пронумерованных фишек в порядке возрастания."),
                       twipsRect(120, 2400, 3375, 855), Qt::AlignHCenter, this);
    Label4->setWordWrap(true);

    Label5 = makeLabel("Label5", QStringLiteral("УДАЧНОЙ ИГРЫ!"), twipsRect(720, 3360, 2295, 375), Qt::AlignLeft,
                       this);
    setLook(Label5, designFont(16, true), red);

    Line1 = makeLine("Line1", 120, 1200, 3480, this);
    Line2 = makeLine("Line2", 120, 3960, 3480, this);

    // A screen reader reads the title and the rules as the window opens; after
    // them come how the keyboard plays, which the page leaves to the eye, and
    // the short wish it would skip.
    setAccessibleDescription(spokenLines(QStringList{keysTold()} + unreadLines({Label5->text()})));
}
