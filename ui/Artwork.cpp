#include "ui/Artwork.h"

#include "ui/Appearance.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int TileSide = 50;
constexpr int BlankTile = 16;
constexpr int ButtonWidth = 100;
constexpr int ButtonHeight = 20;
constexpr int IconSizes[] = {16, 32, 48, 64};

const QColor TileGround(192, 192, 255);
const QColor BlankGround(128, 128, 255);
const QColor ButtonTop(129, 193, 132);
const QColor ButtonBottom(246, 253, 245);
const QColor ButtonWord(128, 0, 0);
const QColor GameYellow(255, 255, 0);
const QColor QuestionOutline(48, 32, 0);

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
