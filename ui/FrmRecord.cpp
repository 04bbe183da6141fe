#include "ui/FrmRecord.h"

#include "ui/Appearance.h"
#include "ui/Artwork.h"
#include "ui/DesignControls.h"
#include "ui/Spoken.h"
#include "ui/Twips.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace {

// The table's rows, in twips inside the frame; the columns' tops differ a little.
constexpr int MestoTops[] = {240, 600, 960, 1320, 1680};
constexpr int MestoWidths[] = {100, 105, 105, 100, 100};
constexpr int MestoHeights[] = {200, 195, 195, 200, 200};
constexpr int NameTops[] = {240, 597, 957, 1320, 1680};
constexpr int HodTops[] = {240, 600, 960, 1320, 1680};

QByteArray itemName(const char *array, int index)
{
    return QByteArray(array) + '_' + QByteArray::number(index);
}

} // namespace

FrmRecord::FrmRecord(QWidget *parent)
    : FixedDialog("FrmRecord", QStringLiteral("Рекордсмены"), QSize(tw(4710), tw(3030)), parent)
{
    setWindowIcon(columnIcon());
    Command1 = makeCloseButton("Command1", QStringLiteral("Ok!"), twipsRect(3120, 2640, 1455, 300));

    Label1 = makeLabel("Label1", QStringLiteral("Пятерка сильнейших"), twipsRect(120, 120, 2900, 255),
                       Qt::AlignHCenter, this);
    setLook(Label1, designFont(16, true), QColor(255, 0, 0));

    Frame1 = makeFrame("Frame1", twipsRect(120, 480, 2900, 2055), this);
    for (int i = 0; i < 5; ++i) {
        LblMesto[i] = makeLabel(itemName("LblMesto", i).constData(), QString::number(i + 1),
                                twipsRect(120, MestoTops[i], MestoWidths[i], MestoHeights[i]), Qt::AlignLeft, Frame1);
        Label2[i + 1] = makeLabel(itemName("Label2", i + 1).constData(), QStringLiteral("LblName"),
                                  twipsRect(480, NameTops[i], 1455, 200), Qt::AlignLeft, Frame1);
        LblHod[i + 1] = makeLabel(itemName("LblHod", i + 1).constData(), QStringLiteral("0"), twipsRect(2280, HodTops[i], 495, 195),
                                  Qt::AlignLeft, Frame1);
    }

    Label3 = makeLabel("Label3", QString(), twipsRect(120, 2640, 2895, 300), Qt::AlignHCenter, this);
    Label3->setFont(designFont(11, true));
    Label3->setAutoFillBackground(true);
    QPalette aqua = Label3->palette();
    aqua.setColor(QPalette::Window, QColor(128, 255, 255));
    Label3->setPalette(aqua);

    // The cup, drawn at the size of its place rather than stretched from a bitmap.
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(twipsRect(3120, 240, 1455, 2295));
    Image1->setPixmap(cupPicture(Image1->size(), devicePixelRatioF()));
}

void FrmRecord::setPlace(int16_t place, const QString &name, const QString &moves)
{
    // A name's bytes 0x01-0x1F and 0x7F are control characters: a tab or line
    // break would move the rest of it, so each shows as a blank on the name's one line.
    QString shown = QString(name).remove(QChar(u'\0'));
    for (QChar &c : shown)
        if (c.category() == QChar::Other_Control)
            c = u' ';
    Label2.at(place)->setText(shown);
    LblHod.at(place)->setText(moves);
}

void FrmRecord::setResultVisible(bool visible)
{
    Label3->setVisible(visible);
}

void FrmRecord::setResultText(const QString &text)
{
    Label3->setText(text);
}

void FrmRecord::showEvent(QShowEvent *event)
{
    // Read whole when it opens, place by place; a screen reader would skip
    // the short labels, and an empty place's "0" is no result. The result
    // line it reads itself.
    QStringList lines{Label1->text()};
    for (int place = 1; place <= 5; ++place) {
        const QString moves = LblHod[place]->text();
        const QString name = Label2[place]->text().trimmed();
        const QString holder = moves == QLatin1String("0") ? QStringLiteral("пусто")
            : (name.isEmpty() ? QStringLiteral("без имени") : name) + QStringLiteral(", ") + movesSpoken(moves.toInt());
        lines << QStringLiteral("%1 место: %2").arg(LblMesto[place - 1]->text(), holder);
    }
    setAccessibleDescription(spokenLines(lines));
    FixedDialog::showEvent(event);
}
