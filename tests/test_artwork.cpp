#include "ui/Appearance.h"
#include "ui/Artwork.h"

#include <QImage>
#include <QTest>

namespace {

const QStringList Words{QStringLiteral("Новая"), QStringLiteral("Правила"), QStringLiteral("Рекорды"),
                        QStringLiteral("Выход")};

bool isDark(const QColor &c) { return c.alpha() > 200 && c.red() < 80 && c.green() < 80 && c.blue() < 80; }
bool isDarkRed(const QColor &c) { return c.red() > 90 && c.green() < 50 && c.blue() < 50; }
bool isYellow(const QColor &c) { return c.alpha() > 200 && c.red() > 200 && c.green() > 200 && c.blue() < 60; }
bool isGolden(const QColor &c)
{
    return c.red() > 150 && c.red() > c.green() && c.green() > c.blue() + 40 && c.red() - c.blue() > 100;
}
bool isLight(const QColor &c) { return c.red() > 230 && c.green() > 230 && c.blue() > 230; }
bool near(const QColor &c, const QColor &want)
{
    return qAbs(c.red() - want.red()) <= 1 && qAbs(c.green() - want.green()) <= 1 && qAbs(c.blue() - want.blue()) <= 1;
}

// How many pixels of the device-pixel rectangle satisfy the test.
int count(const QImage &image, const QRect &area, bool (*test)(const QColor &))
{
    int found = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            found += test(image.pixelColor(x, y));
    return found;
}

QList<QPoint> corners(const QImage &image)
{
    return {{0, 0}, {image.width() - 1, 0}, {0, image.height() - 1}, {image.width() - 1, image.height() - 1}};
}

} // namespace

class TestArtwork : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { applyAppearance(); }

    void picturesKeepTheirSizeAtAnyDensity_data()
    {
        QTest::addColumn<qreal>("dpr");
        QTest::newRow("normal") << 1.0;
        QTest::newRow("dense") << 2.0;
    }
    void picturesKeepTheirSizeAtAnyDensity()
    {
        QFETCH(qreal, dpr);
        const QList<std::pair<QPixmap, QSize>> pictures{{tilePicture(7, dpr), {50, 50}},
                                                        {tilePicture(16, dpr), {50, 50}},
                                                        {buttonPicture(Words[2], dpr), {100, 20}},
                                                        {gamePicture(40, dpr), {40, 40}}};
        for (const auto &[picture, size] : pictures) {
            QCOMPARE(picture.size(), size * dpr);
            QCOMPARE(picture.deviceIndependentSize(), QSizeF(size));
            QCOMPARE(picture.devicePixelRatio(), dpr);
        }
    }

    void tilesShowAnOutlinedWhiteDiscOnLavender()
    {
        for (int n = 1; n <= 15; ++n) {
            const QImage tile = tilePicture(n).toImage();
            for (QPoint corner : corners(tile))
                QCOMPARE(tile.pixelColor(corner), QColor(192, 192, 255));
            QCOMPARE(tile.pixelColor(25, 0), QColor(192, 192, 255));
            QCOMPARE(tile.pixelColor(25, 8), QColor(Qt::white));
            QCOMPARE(tile.pixelColor(8, 25), QColor(Qt::white));
            // Along the middle row: ground, then exactly one dark outline pixel, then the disc.
            QCOMPARE(count(tile, QRect(0, 25, 8, 1), isDark), 1);
            QVERIFY(isDark(tile.pixelColor(2, 25)));
        }
    }

    void tilesShowTheirNumberInTheMiddle()
    {
        QList<QImage> seen;
        for (int n = 1; n <= 15; ++n) {
            const QImage tile = tilePicture(n).toImage();
            QRect ink;
            for (int y = 11; y < 39; ++y)
                for (int x = 11; x < 39; ++x)
                    if (isDark(tile.pixelColor(x, y)))
                        ink |= QRect(x, y, 1, 1);
            QVERIFY2(ink.width() >= 5 && ink.height() >= 12, qPrintable(QString::number(n)));
            const QPointF middle((ink.left() + ink.right()) / 2.0, (ink.top() + ink.bottom()) / 2.0);
            QVERIFY2((middle - QPointF(24.5, 24.5)).manhattanLength() <= 2, qPrintable(QString::number(n)));
            QVERIFY2(!seen.contains(tile), qPrintable(QString::number(n)));
            seen.append(tile);
        }
    }

    void blankIsAPlainSquareAtAnyDensity()
    {
        for (qreal dpr : {1.0, 2.0}) {
            const QImage blank = tilePicture(16, dpr).toImage();
            QCOMPARE(count(blank, blank.rect(), [](const QColor &c) { return c == QColor(128, 128, 255); }),
                     blank.width() * blank.height());
        }
    }

    void denseTilesAreDrawnNotScaledUp()
    {
        const QImage dense = tilePicture(15, 2.0).toImage();
        const QImage scaledUp = tilePicture(15).toImage().scaled(100, 100);
        QCOMPARE(dense.pixelColor(0, 0), QColor(192, 192, 255));
        QCOMPARE(dense.pixelColor(99, 99), QColor(192, 192, 255));
        // The 1-pixel outline is two device pixels wide, no more.
        const int outline = count(dense, QRect(0, 50, 16, 1), isDark);
        QVERIFY(outline >= 1 && outline <= 2);
        QVERIFY(dense != scaledUp);
    }

    void buttonsShadeFromGreenToWhiteUnderTheWord()
    {
        for (qreal dpr : {1.0, 2.0}) {
            for (const QString &word : Words) {
                const QImage face = buttonPicture(word, dpr).toImage();
                const int w = face.width(), h = face.height();
                QVERIFY(count(face, QRect(0, 0, w, 1), [](const QColor &c) { return near(c, {129, 193, 132}); }) == w);
                QVERIFY(count(face, QRect(0, h - 1, w, 1), [](const QColor &c) { return near(c, {246, 253, 245}); }) == w);
                QVERIFY2(count(face, QRect(w / 4, 0, w / 2, h), isDarkRed) > 20 * dpr * dpr, qPrintable(word));
                QVERIFY2(count(face, QRect(w / 4, 0, w / 2, h), isDark) > 5, qPrintable(word));
                // The word keeps clear of both ends of the band.
                for (int y = 0; y < h; ++y)
                    for (int x : {0, int(8 * dpr), w - 1 - int(8 * dpr), w - 1})
                        QCOMPARE(face.pixelColor(x, y), face.pixelColor(0, y));
            }
        }
    }

    void gamePictureIsABlackFifteenOnYellow()
    {
        for (qreal dpr : {1.0, 2.0}) {
            for (int size : {32, 40}) {
                const QImage picture = gamePicture(size, dpr).toImage();
                for (QPoint corner : corners(picture))
                    QCOMPARE(picture.pixelColor(corner), QColor(255, 255, 0));
                const int side = picture.width();
                QVERIFY(count(picture, QRect(side / 4, side / 4, side / 2, side / 2), isDark) > side * side / 16);
            }
        }
        const QIcon icon = gameIcon();
        QCOMPARE(icon.availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {48, 48}, {64, 64}, {96, 96}, {128, 128}}));
        QCOMPARE(icon.pixmap(32).toImage(), gamePicture(32).toImage());
    }

    void rulesIconIsAYellowQuestionMarkOnNothing()
    {
        for (int size : {16, 32, 64}) {
            const QImage icon = rulesIcon().pixmap(size).toImage();
            QCOMPARE(icon.size(), QSize(size, size));
            for (QPoint corner : corners(icon))
                QCOMPARE(icon.pixelColor(corner).alpha(), 0);
            QVERIFY(count(icon, icon.rect(), isYellow) > size * size / 32);
            QVERIFY2(count(icon, icon.rect(), isDark) > size / 2, qPrintable(QString::number(size)));
        }
    }

    void cupIsAGoldenTrophyWithAFirstPlaceMedal()
    {
        // The window's size, and a far wider one: the picture stretches to fill either.
        for (QSize size : {QSize(97, 153), QSize(158, 125)}) {
            for (qreal dpr : {1.0, 2.0}) {
                const QPixmap cup = cupPicture(size, dpr);
                QCOMPARE(cup.size(), size * dpr);
                QCOMPARE(cup.deviceIndependentSize(), QSizeF(size));
                const QImage picture = cup.toImage();
                const auto part = [&picture](qreal left, qreal top, qreal right, qreal bottom) {
                    return QRect(QPoint(left * picture.width(), top * picture.height()),
                                 QPoint(right * picture.width(), bottom * picture.height()) - QPoint(1, 1));
                };
                const auto share = [&picture](const QRect &area, bool (*test)(const QColor &)) {
                    return count(picture, area, test) / qreal(area.width() * area.height());
                };
                const QString where = QStringLiteral("%1x%2 @%3").arg(size.width()).arg(size.height()).arg(dpr);

                for (QPoint corner : corners(picture))
                    QVERIFY2(isLight(picture.pixelColor(corner)), qPrintable(where));
                QVERIFY2(share(part(0.32, 0.42, 0.68, 0.64), isGolden) > 0.6, qPrintable(where));
                QVERIFY2(share(part(0.2, 0.91, 0.3, 0.97), isDark) > 0.8, qPrintable(where));
                // The medal high up in the middle: a dark figure on gold, with gold either side of it.
                QVERIFY2(share(part(0.47, 0.19, 0.53, 0.24), isDark) > 0.4, qPrintable(where));
                QVERIFY2(share(part(0.36, 0.19, 0.4, 0.24), isGolden) > 0.9, qPrintable(where));
                QVERIFY2(share(part(0.6, 0.19, 0.64, 0.24), isGolden) > 0.9, qPrintable(where));
                // Light ground beside the bowl's handles and beside the plinth.
                QVERIFY2(share(part(0, 0.3, 0.03, 0.97), isLight) == 1, qPrintable(where));
                QVERIFY2(share(part(0.97, 0.3, 1, 0.97), isLight) == 1, qPrintable(where));
            }
        }
    }

    void columnIconIsAFlatGreyColumnOnNothing()
    {
        const QIcon icon = columnIcon();
        QCOMPARE(icon.availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {48, 48}, {64, 64}, {96, 96}, {128, 128}}));
        for (int size : {16, 32}) {
            const QImage column = icon.pixmap(size).toImage();
            QCOMPARE(column.size(), QSize(size, size));
            const auto opaque = [](const QColor &c) { return c.alpha() == 255; };
            for (QPoint corner : corners(column))
                QCOMPARE(column.pixelColor(corner).alpha(), 0);
            // Flat colours: every pixel is either empty or a solid grey, none blended.
            QCOMPARE(count(column, column.rect(),
                           [](const QColor &c) {
                               return c.alpha() == 0 || (c.alpha() == 255 && c.red() == c.green() && c.green() == c.blue());
                           }),
                     size * size);
            for (int y = size / 8; y < size * 7 / 8; ++y)
                QVERIFY2(opaque(column.pixelColor(size / 2, y)), qPrintable(QStringLiteral("%1: %2").arg(size).arg(y)));
            // The shaft is narrower than the capital above and the base below it, and fluted:
            // light ridges and grey grooves alternate across it.
            const auto row = [&column](qreal at) { return QRect(0, int(at * column.height()), column.width(), 1); };
            const int shaft = count(column, row(0.5), opaque);
            QVERIFY(shaft < count(column, row(0.125), opaque));
            QVERIFY(shaft < count(column, row(0.875), opaque));
            QVERIFY(count(column, row(0.5), [](const QColor &c) { return c == QColor(Qt::white); }) >= 2);
            QVERIFY(count(column, row(0.5), [](const QColor &c) { return c.alpha() == 255 && c.red() > 80 && c.red() < 170; }) >= 2);
        }
    }
};

QTEST_MAIN(TestArtwork)
#include "test_artwork.moc"
