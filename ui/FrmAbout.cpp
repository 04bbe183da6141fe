#include "ui/FrmAbout.h"

#include "BuildSettings.h"
#include "ui/Appearance.h"
#include "ui/Artwork.h"
#include "ui/DesignControls.h"
#include "ui/Spoken.h"
#include "ui/Twips.h"

#include <QLabel>
#include <QPushButton>

FrmAbout::FrmAbout(QWidget *parent)
    : FixedDialog("FrmAbout", QStringLiteral("О программе"), QSize(tw(4155), tw(3120)), parent)
{
    // Cyrillic "Ок!", unlike the rules window's Latin "Ok!".
    CmdClose = makeCloseButton("CmdClose", QStringLiteral("Ок!"), twipsRect(2520, 2640, 1455, 300));

    const Qt::Alignment left = Qt::AlignLeft;
    Label4 = makeLabel("Label4", QStringLiteral("© 2026"), twipsRect(120, 2640, 2055, 300), left, this);
    Label4->setFont(designFont(13));
    Label6 = makeLabel("Label6", QStringLiteral("Лицензия MIT"), twipsRect(960, 1920, 2295, 255), left, this);
    Label5 = makeLabel("Label5", QStringLiteral("Написана на C++ 20 и Qt 6"), twipsRect(960, 1560, 2775, 255), left,
                       this);
    Label3 = makeLabel("Label3", QStringLiteral("Пятнашки — головоломка 4х4"), twipsRect(960, 1200, 2895, 255), left,
                       this);
    Label2 = makeLabel("Label2", QStringLiteral("Версия ") + QLatin1String(GameVersion), twipsRect(960, 600, 3015, 255), left, this);
    Label1 = makeLabel("Label1", QStringLiteral("Логическая игра \"Пятнашки\""), twipsRect(960, 240, 3015, 255), left,
                       this);
    setLook(Label1, designFont(13), QColor(0, 0, 255));

    // The game's picture, drawn at the control's size rather than stretched.
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(twipsRect(120, 240, 600, 600));
    Image1->setPixmap(gamePicture(Image1->width(), devicePixelRatioF()));

    Line1 = makeLine("Line1", 120, 2280, 3960, this);

    // A screen reader reads the longer lines itself as the window opens; the short ones it would skip follow.
    setAccessibleDescription(spokenLines(unreadLines(
        {Label1->text(), Label2->text(), Label3->text(), Label5->text(), Label6->text(), Label4->text()})));
}
