#include "ui/Artwork.h"

#include "game/BoardSize.h"
#include "ui/Appearance.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

constexpr int TileSide = 50;
constexpr int ButtonWidth = 100;
constexpr int ButtonHeight = 20;
constexpr int IconSizes[] = {16, 32, 48, 64, 96, 128}; // up to 64 px at twice the density

const QColor TileGround(192, 192, 255);
const QColor BlankGround(128, 128, 255);
const QColor ButtonTop(129, 193, 132);
const QColor ButtonBottom(246, 253, 245);
const QColor ButtonWord(128, 0, 0);
const QColor GameYellow(255, 255, 0);
const QColor QuestionOutline(48, 32, 0);

constexpr int CupWidth = 79;
constexpr int CupHeight = 125;
const QColor GoldShadow(139, 90, 0);
const QColor GoldBody(226, 172, 34);
const QColor GoldShine(255, 236, 150);
const QColor GoldEdge(102, 64, 0);
const QColor RibbonRed(200, 24, 32);
const QColor RibbonDark(130, 10, 18);
const QColor PlinthTop(78, 52, 36);
const QColor PlinthFront(44, 28, 20);
const QColor FigureInk(36, 22, 0);

// The sixteen-colour greys, so the icon sits with the old system's own.
const QColor StoneLight(192, 192, 192);
const QColor StoneShade(128, 128, 128);

// A pixmap of w x h device-independent pixels holding w*dpr x h*dpr device
// pixels, so whatever is painted on it in device-independent coordinates
// comes out at the screen's full resolution.
QPixmap canvas(int w, int h, qreal dpr, const QColor &ground)
{
    QPixmap pixmap(qRound(w * dpr), qRound(h * dpr));
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(ground);
    return pixmap;
}

QPainterPath textPath(const QString &text, const QFont &font)
{
    QPainterPath path;
    path.addText(0, 0, font, text);
    return path;
}

// Centres the text's ink horizontally and its capital height vertically, so
// a word with a descender sits on the same line as one without.
QPainterPath centredText(const QString &text, const QFont &font, QPointF centre)
{
    const QPainterPath path = textPath(text, font);
    const qreal capHeight = QFontMetricsF(font).capHeight();
    return path.translated(centre.x() - path.boundingRect().center().x(),
                           centre.y() + capHeight / 2);
}

// Scales the text's ink to fill the box, keeping its proportions, centred.
QPainterPath textFitted(const QString &text, const QFont &font, const QRectF &box)
{
    const QPainterPath path = textPath(text, font);
    const QRectF ink = path.boundingRect();
    const qreal scale = qMin(box.width() / ink.width(), box.height() / ink.height());
    QTransform fit;
    fit.translate(box.center().x(), box.center().y());
    fit.scale(scale, scale);
    fit.translate(-ink.center().x(), -ink.center().y());
    return fit.map(path);
}

QFont boldFont(int pixelSize)
{
    return designFont(pixelSize, true);
}

// An icon holding the picture drawn afresh at each usual icon size, so no
// size is a blurred scaling of another.
template <typename Picture>
QIcon iconOf(Picture picture)
{
    QIcon icon;
    for (int size : IconSizes)
        icon.addPixmap(picture(size));
    return icon;
}

QPixmap questionMark(int size)
{
    QPixmap pixmap = canvas(size, size, 1.0, Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    // The outline goes under the fill, so only its outer half shows: at 16
    // pixels a stroke on top would swallow the thin yellow strokes.
    const qreal rim = qMax(1.0, size / 24.0);
    const qreal margin = rim + size / 32.0;
    const QPainterPath mark = textFitted(QStringLiteral("?"), boldFont(64),
                                         QRectF(0, 0, size, size).adjusted(margin, margin, -margin, -margin));
    painter.strokePath(mark, QPen(QuestionOutline, 2 * rim, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.fillPath(mark, GameYellow);
    return pixmap;
}

// Gold lit from the upper left: bright left of centre, darkening to both edges.
QLinearGradient goldAcross(qreal left, qreal right)
{
    QLinearGradient gold(left, 0, right, 0);
    gold.setColorAt(0, GoldShadow);
    gold.setColorAt(0.3, GoldShine);
    gold.setColorAt(0.55, GoldBody);
    gold.setColorAt(1, GoldShadow);
    return gold;
}

void drawHandles(QPainter &painter)
{
    QPainterPath handles;
    handles.moveTo(16, 50);
    handles.cubicTo(1, 46, 0, 68, 24, 75);
    handles.moveTo(CupWidth - 16, 50);
    handles.cubicTo(CupWidth - 1, 46, CupWidth, 68, CupWidth - 24, 75);
    // A wide dark stroke under a narrower gold one outlines the loops.
    painter.strokePath(handles, QPen(GoldEdge, 5.2, Qt::SolidLine, Qt::RoundCap));
    painter.strokePath(handles, QPen(GoldBody, 3.4, Qt::SolidLine, Qt::RoundCap));
    painter.strokePath(handles.translated(-0.6, -0.6), QPen(GoldShine, 1.0, Qt::SolidLine, Qt::RoundCap));
}

void drawBowl(QPainter &painter)
{
    const QPen edge(GoldEdge, 0.8);
    QPainterPath bowl;
    bowl.moveTo(13, 46);
    bowl.cubicTo(13, 70, 25, 83, 35.5, 87);
    bowl.lineTo(43.5, 87);
    bowl.cubicTo(54, 83, 66, 70, 66, 46);
    bowl.closeSubpath();
    painter.setPen(edge);
    painter.setBrush(goldAcross(13, 66));
    painter.drawPath(bowl);

    // The opening, seen from a little above: a rim around the shadowed inside.
    painter.setBrush(GoldBody);
    painter.drawEllipse(QRectF(13, 42.5, 53, 7));
    painter.setBrush(GoldShadow);
    painter.drawEllipse(QRectF(16, 43.5, 47, 5));

    // A band round the bowl's waist, the kind engraved on a real cup.
    QPainterPath band;
    band.moveTo(18, 66);
    band.quadTo(39.5, 72, 61, 66);
    painter.strokePath(band, QPen(GoldEdge, 0.8));
    painter.strokePath(band.translated(0, 1), QPen(GoldShine, 0.6));
}

void drawStemAndFoot(QPainter &painter)
{
    painter.setPen(QPen(GoldEdge, 0.8));
    painter.setBrush(goldAcross(34, 45));
    painter.drawRect(QRectF(35.5, 86, 8, 14));
    painter.setBrush(goldAcross(31, 48));
    painter.drawEllipse(QRectF(32, 89.5, 15, 5.5));

    QPainterPath foot;
    foot.moveTo(35, 99);
    foot.lineTo(44, 99);
    foot.quadTo(46, 104, 56, 106.5);
    foot.lineTo(23, 106.5);
    foot.quadTo(33, 104, 35, 99);
    foot.closeSubpath();
    painter.setBrush(goldAcross(23, 56));
    painter.drawPath(foot);
}

void drawPlinth(QPainter &painter)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(PlinthTop);
    painter.drawRect(QRectF(19, 106.5, 41, 4.5));
    QLinearGradient front(0, 111, 0, 123);
    front.setColorAt(0, PlinthTop);
    front.setColorAt(0.25, PlinthFront);
    front.setColorAt(1, PlinthFront.darker(140));
    painter.setBrush(front);
    painter.drawRect(QRectF(13, 111, 53, 12));
    // The engraved plate on its front.
    painter.setPen(QPen(GoldEdge, 0.6));
    painter.setBrush(goldAcross(26, 53));
    painter.drawRect(QRectF(26, 114, 27, 6));
}

void drawMedal(QPainter &painter)
{
    const QPointF centre(39.5, 27);
    const qreal radius = 15;

    // The ribbon's two tails run up out of the picture, the far one darker.
    painter.setPen(QPen(RibbonDark, 0.6));
    painter.setBrush(RibbonDark);
    painter.drawPolygon(QPolygonF{{47, -1}, {60, -1}, {46, 20}, {37, 17}});
    painter.setBrush(RibbonRed);
    painter.drawPolygon(QPolygonF{{19, -1}, {32, -1}, {42, 17}, {33, 20}});
    painter.setPen(QPen(QColor(255, 255, 255, 200), 1.4));
    painter.drawLine(QPointF(25.5, -1), QPointF(37.5, 18.5));

    QRadialGradient gold(centre - QPointF(5, 6), radius * 1.6);
    gold.setColorAt(0, GoldShine);
    gold.setColorAt(0.5, GoldBody);
    gold.setColorAt(1, GoldShadow);
    painter.setPen(QPen(GoldEdge, 1.0));
    painter.setBrush(gold);
    painter.drawEllipse(centre, radius, radius);
    // A raised ring inside the rim.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(GoldShadow, 0.8));
    painter.drawEllipse(centre, radius - 3, radius - 3);
    painter.setPen(QPen(GoldShine, 0.6));
    painter.drawEllipse(centre + QPointF(0.4, 0.5), radius - 3, radius - 3);

    const QRectF figure(centre.x() - 5, centre.y() - 8.5, 10, 17);
    painter.fillPath(textFitted(QStringLiteral("1"), boldFont(64), figure), FigureInk);
}

// Flat colours only, no blending, like an icon of the sixteen-colour days.
// Each part is lit from the upper left: a white top and left edge, a grey
// bottom and right edge, as far as the part is big enough to show them.
void bevelled(QPainter &painter, const QRect &part)
{
    painter.fillRect(part, StoneShade);
    painter.fillRect(part.adjusted(0, 0, -1, -1), Qt::white);
    painter.fillRect(part.adjusted(1, 1, -1, -1), StoneLight);
}

QPixmap columnPicture(int size)
{
    QPixmap pixmap = canvas(size, size, 1.0, Qt::transparent);
    QPainter painter(&pixmap);
    // Laid out on a 16 x 16 grid and rounded to whole pixels at each size.
    const auto at = [size](qreal v) { return qRound(v * size / 16.0); };
    const auto span = [&at](qreal left, qreal top, qreal right, qreal bottom) {
        return QRect(QPoint(at(left), at(top)), QPoint(at(right) - 1, at(bottom) - 1));
    };
    const QRect abacus = span(3, 1, 13, 3), echinus = span(5, 3, 11, 4), shaft = span(5, 4, 11, 12),
                torus = span(4, 12, 12, 13), plinth = span(3, 13, 13, 15);
    const QRect blocks[] = {abacus, echinus, shaft, torus, plinth};
    const qreal scrollRadius = size / 12.0;
    const qreal unit = size / 16.0;
    const QPointF scrolls[] = {QPointF(3.5, 3.5) * unit, QPointF(12.5, 3.5) * unit};

    // The black outline is the whole silhouette grown by a pixel, laid under
    // every part, so it rings the column without crossing between its parts.
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    for (const QRect &block : blocks)
        painter.fillRect(block.adjusted(-1, -1, 1, 1), Qt::black);
    for (QPointF centre : scrolls)
        painter.drawEllipse(centre, scrollRadius + 1, scrollRadius + 1);

    bevelled(painter, abacus);
    painter.fillRect(echinus, StoneLight);
    // Flutes: a lit ridge, stone and a shadowed groove, repeated across the
    // shaft, so a larger icon shows more of them rather than fatter ones.
    const QColor flutes[] = {Qt::white, StoneLight, StoneShade};
    for (int x = shaft.left(); x <= shaft.right(); ++x)
        painter.fillRect(QRect(x, shaft.top(), 1, shaft.height()), flutes[(x - shaft.left()) % 3]);
    bevelled(painter, torus);
    bevelled(painter, plinth);
    // The scrolls curl under the slab's ends: a grey eye in a stone ring.
    for (QPointF centre : scrolls) {
        painter.setBrush(StoneLight);
        painter.drawEllipse(centre, scrollRadius, scrollRadius);
        painter.setBrush(StoneShade);
        painter.drawEllipse(centre, scrollRadius / 2, scrollRadius / 2);
    }
    return pixmap;
}

} // namespace

QPixmap tilePicture(int n, qreal dpr)
{
    if (n == BlankTile)
        return canvas(TileSide, TileSide, dpr, BlankGround);

    QPixmap pixmap = canvas(TileSide, TileSide, dpr, TileGround);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    // A 1-pixel pen on half-pixel coordinates covers whole pixels, so the
    // outline stays one crisp pixel wide instead of a grey two-pixel smear.
    painter.setPen(QPen(Qt::black, 1.0));
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(2.5, 2.5, TileSide - 5, TileSide - 5));
    const QPointF centre(TileSide / 2.0, TileSide / 2.0);
    painter.fillPath(centredText(QString::number(n), boldFont(22), centre), Qt::black);
    return pixmap;
}

QPixmap buttonPicture(const QString &word, qreal dpr)
{
    QPixmap pixmap = canvas(ButtonWidth, ButtonHeight, dpr, ButtonTop);
    QPainter painter(&pixmap);
    // Between the centres of the top and bottom pixel rows, so those rows
    // carry the two design colours exactly.
    QLinearGradient band(0, 0.5, 0, ButtonHeight - 0.5);
    band.setColorAt(0, ButtonTop);
    band.setColorAt(1, ButtonBottom);
    painter.fillRect(QRectF(0, 0, ButtonWidth, ButtonHeight), band);

    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = boldFont(15);
    font.setItalic(true);
    const QPainterPath letters = centredText(word, font, QPointF(ButtonWidth / 2.0, ButtonHeight / 2.0));
    painter.fillPath(letters, ButtonWord);
    // Thinner than a pixel: the letters are small, and a full-pixel outline
    // would leave little of their red showing.
    painter.strokePath(letters, QPen(Qt::black, 0.6));
    return pixmap;
}

QPixmap gamePicture(int size, qreal dpr)
{
    QPixmap pixmap = canvas(size, size, dpr, GameYellow);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF square(0, 0, size, size);
    const qreal margin = size / 16.0;
    painter.fillPath(textFitted(QStringLiteral("15"), boldFont(64), square.adjusted(margin, margin, -margin, -margin)),
                     Qt::black);
    return pixmap;
}

QIcon gameIcon()
{
    return iconOf([](int size) { return gamePicture(size); });
}

QIcon rulesIcon()
{
    return iconOf(questionMark);
}

QPixmap cupPicture(QSize size, qreal dpr)
{
    QPixmap pixmap = canvas(size.width(), size.height(), dpr, Qt::white);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    // Drawn in the design's own coordinates and stretched by the painter, so
    // a dense screen gets finer strokes rather than bigger pixels.
    painter.scale(size.width() / qreal(CupWidth), size.height() / qreal(CupHeight));
    drawPlinth(painter);
    drawHandles(painter);
    drawStemAndFoot(painter);
    drawBowl(painter);
    drawMedal(painter);
    return pixmap;
}

QIcon columnIcon()
{
    return iconOf(columnPicture);
}
