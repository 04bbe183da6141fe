// What the four windows put on the screen, read back pixel by pixel. CTest
// runs this at 100 % and again at 200 % (QT_SCALE_FACTOR=2): on a dense
// screen every window must be exactly twice as many device pixels, and every
// picture drawn afresh for the ratio, never a 1x drawing blown up.
#include "platform/QtRuntime.h"
#include "platform/ScriptedRuntime.h"
#include "support/Modal.h"
#include "support/BoardText.h"
#include "support/PixelDiff.h"
#include "ui/Appearance.h"
#include "ui/Artwork.h"
#include "ui/FrmAbout.h"
#include "ui/FrmHelp.h"
#include "ui/FrmMain.h"
#include "ui/FrmRecord.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <memory>

namespace {

const QColor Blank(128, 128, 255), TileGround(192, 192, 255);
const QColor BandTop(129, 193, 132), BandBottom(246, 253, 245);
const QColor Blue(0, 0, 255), Orange(255, 128, 0), Red(255, 0, 0), Aqua(128, 255, 255);

// Every tile off its home, the blank inside the board rather than in a corner.
const QString Dealt = QStringLiteral("1 2 3 4 / 5 . 7 8 / 9 6 10 12 / 13 14 11 15");

// A window's grab in device pixels; places are given in the window's own pixels.
struct Shot
{
    QWidget *window = nullptr;
    QImage image;
    qreal dpr = 1;
    QString file; // where it is saved when a check on it fails

    QRect device(const QRect &area) const { return {area.topLeft() * dpr, area.size() * dpr}; }
    QImage part(const QRect &area) const { return image.copy(device(area)); }
    QPoint at(const QWidget *widget) const { return widget->mapTo(window, QPoint()); }
    QRect placeOf(const QWidget *widget) const { return {at(widget), widget->size()}; }
};

int edgeTolerance(qreal dpr) { return qRound(8 * dpr); }

// Why the picture in `area` of the window is not `drawn` (the picture at the
// shot's ratio, of which the area shows the top-left part), or nothing. On a
// dense screen it must also not pass for `plain`, the 1x drawing blown up
// (none for a picture of one colour).
QString pictureFault(const Shot &shot, const QRect &area, const QPixmap &drawn, const QPixmap &plain)
{
    const QImage shown = shot.part(area);
    const QRect visible(QPoint(), shown.size());
    const int bad = clearlyDifferentPixels(shown, drawn.toImage().copy(visible));
    if (bad > edgeTolerance(shot.dpr))
        return QStringLiteral("%1 pixels at %2,%3 differ from the picture drawn at %4x; see %5")
            .arg(bad).arg(area.x()).arg(area.y()).arg(shot.dpr).arg(shot.file);
    if (shot.dpr > 1 && !plain.isNull()
        && clearlyDifferentPixels(shown, plain.toImage().scaled(plain.size() * shot.dpr).copy(visible)) <= edgeTolerance(shot.dpr))
        return QStringLiteral("the picture at %1,%2 is its 1x drawing blown up; see %3")
            .arg(area.x()).arg(area.y()).arg(shot.file);
    return {};
}

// How many device pixels in `area` are exactly `colour`.
int countOf(const Shot &shot, const QRect &area, const QColor &colour)
{
    const QRect box = shot.device(area);
    int count = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            count += shot.image.pixelColor(x, y) == colour;
    return count;
}

// The box of device pixels in `area` that differ from `ground`.
QRect inkBox(const Shot &shot, const QRect &area, const QColor &ground)
{
    const QRect box = shot.device(area);
    QRect ink;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            if (shot.image.pixelColor(x, y) != ground)
                ink |= QRect(x, y, 1, 1);
    return ink;
}

// Whether a whole row of device pixels is the colour, within a rounding step.
bool rowIs(const Shot &shot, int deviceY, int left, int width, const QColor &want)
{
    for (int x = left * shot.dpr; x < (left + width) * shot.dpr; ++x) {
        const QColor c = shot.image.pixelColor(x, deviceY);
        if (qAbs(c.red() - want.red()) > 1 || qAbs(c.green() - want.green()) > 1 || qAbs(c.blue() - want.blue()) > 1)
            return false;
    }
    return true;
}

// The contrast ratio of two colours, as the accessibility guidelines measure it (1 to 21).
double contrast(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &c) {
        const auto linear = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

template<typename T = QWidget>
T *child(const Shot &shot, const char *name)
{
    T *widget = shot.window->findChild<T *>(QLatin1String(name));
    if (!widget)
        qFatal("no control named %s", name);
    return widget;
}

} // namespace

class TestPixels : public QObject
{
    Q_OBJECT

    // Every device pixel of band (in window's pixels) changes at 3:1 or more
    // between the window with its focus and without it.
    void checkRing(QWidget *window, const QRegion &band, const QString &where)
    {
        const QImage marked = window->grab().toImage();
        QApplication::focusWidget()->clearFocus();
        const QImage plain = window->grab().toImage();
        const QString file = QDir::current().filePath(QStringLiteral("pixels-focus-%1-%2x.png").arg(where).arg(m_dpr));
        for (const QRect &part : band)
            for (int y = part.top() * m_dpr; y < (part.bottom() + 1) * m_dpr; ++y)
                for (int x = part.left() * m_dpr; x < (part.right() + 1) * m_dpr; ++x)
                    if (contrast(marked.pixelColor(x, y), plain.pixelColor(x, y)) < 3) {
                        marked.save(file);
                        QFAIL(qPrintable(QStringLiteral("device pixel %1,%2 changes only %3:1; see %4")
                                             .arg(x).arg(y).arg(contrast(marked.pixelColor(x, y), plain.pixelColor(x, y)), 0, 'f', 2)
                                             .arg(file)));
                    }
    }

    ScriptedRuntime m_runtime;
    std::unique_ptr<FrmMain> m_main;
    std::unique_ptr<FrmHelp> m_rules;
    std::unique_ptr<FrmAbout> m_about;
    std::unique_ptr<FrmRecord> m_records;
    QMap<QString, Shot> m_shots;
    qreal m_dpr = 1;

    void take(const QString &name, QWidget *window)
    {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        // The focus frame is drawn over a button's picture; these checks are about the pictures.
        if (QWidget *focused = window->focusWidget())
            focused->clearFocus();
        const QPixmap grab = window->grab();
        QCOMPARE(grab.devicePixelRatio(), m_dpr);
        m_shots[name] = {window, grab.toImage().convertToFormat(QImage::Format_RGB32), m_dpr,
                         QDir::current().filePath(QStringLiteral("pixels-%1-%2x.png").arg(name).arg(m_dpr))};
    }

private slots:
    void initTestCase()
    {
        applyAppearance();
        m_dpr = qApp->devicePixelRatio();
        // A run meant for a dense screen that ran at 1x would check nothing new.
        if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR"))
            QCOMPARE(m_dpr, qEnvironmentVariable("QT_SCALE_FACTOR").toDouble());

        const std::vector<float> draws = drawsFor(Dealt);
        m_runtime.randomValues.assign(draws.begin(), draws.end());
        m_main = std::make_unique<FrmMain>(m_runtime);
        m_rules = std::make_unique<FrmHelp>();
        m_about = std::make_unique<FrmAbout>();
        // As a win leaves it: the table filled and the result line shown.
        m_records = std::make_unique<FrmRecord>();
        m_records->setPlace(1, QStringLiteral("Вася"), QStringLiteral("1"));
        m_records->setResultText(QStringLiteral("Вы справились за 1 ходов"));
        m_records->setResultVisible(true);
        take(QStringLiteral("main"), m_main.get());
        take(QStringLiteral("rules"), m_rules.get());
        take(QStringLiteral("about"), m_about.get());
        take(QStringLiteral("records"), m_records.get());
    }

    void cleanup()
    {
        if (QTest::currentTestFailed())
            for (const Shot &shot : std::as_const(m_shots))
                if (!shot.image.save(shot.file))
                    qWarning("could not save %s", qPrintable(shot.file));
    }

    void everyWindowIsItsDesignedSizeInDevicePixels_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QSize>("size"); // at 100 %; the main window's below its menu bar
        QTest::newRow("main") << "main" << QSize(329, 233);
        QTest::newRow("rules") << "rules" << QSize(243, 303);
        QTest::newRow("about") << "about" << QSize(277, 208);
        QTest::newRow("records") << "records" << QSize(314, 202);
    }
    void everyWindowIsItsDesignedSizeInDevicePixels()
    {
        QFETCH(QString, window);
        QFETCH(QSize, size);
        const Shot &shot = m_shots[window];
        if (auto *main = qobject_cast<QMainWindow *>(shot.window))
            size.rheight() += main->menuBar()->height();
        QVERIFY2(shot.image.size() == size * m_dpr,
                 qPrintable(QStringLiteral("%1x%2 device pixels; see %3")
                                .arg(shot.image.width()).arg(shot.image.height()).arg(shot.file)));
    }

    void everyCellShowsItsTileSharpAtItsPlace()
    {
        const Shot &shot = m_shots[QStringLiteral("main")];
        const QPoint client = shot.at(m_main->centralWidget());
        const Position tiles = boardFromText(Dealt);
        for (int i = 0; i < 16; ++i) {
            // Each cell is overlapped by 2 px of its right and lower neighbours.
            const QRect area(client + QPoint(13 + 48 * (i % 4), 21 + 48 * (i / 4)), QSize(48, 48));
            // The blank is one colour: at any ratio it looks the same.
            const QPixmap plain = tiles[i] == 16 ? QPixmap() : tilePicture(tiles[i]);
            const QString fault = pictureFault(shot, area, tilePicture(tiles[i], m_dpr), plain);
            QVERIFY2(fault.isEmpty(), qPrintable(QStringLiteral("cell %1: %2").arg(i).arg(fault)));

            // The grounds in the design's own colours, to the cell's corners.
            const QString where = QStringLiteral("cell %1; see %2").arg(i).arg(shot.file);
            if (tiles[i] == 16)
                QVERIFY2(countOf(shot, area, Blank) == 48 * 48 * m_dpr * m_dpr, qPrintable(where));
            else
                for (QPoint corner : {area.topLeft(), area.bottomRight()})
                    QVERIFY2(countOf(shot, QRect(corner, QSize(1, 1)), TileGround) == m_dpr * m_dpr, qPrintable(where));
        }
    }

    void picturesButtonsShowTheirBandSharpAndCentred_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("word");
        QTest::newRow("CmdNew") << "CmdNew" << "Новая";
        QTest::newRow("CmdHelp") << "CmdHelp" << "Правила";
        QTest::newRow("CmdRecord") << "CmdRecord" << "Рекорды";
        QTest::newRow("CmdExit") << "CmdExit" << "Выход";
    }
    void picturesButtonsShowTheirBandSharpAndCentred()
    {
        QFETCH(QString, button);
        QFETCH(QString, word);
        const Shot &shot = m_shots[QStringLiteral("main")];
        const QRect place = shot.placeOf(child(shot, qPrintable(button)));
        const QRect band(place.x() + (place.width() - 100) / 2, place.y() + (place.height() - 20) / 2, 100, 20);
        const QString fault = pictureFault(shot, band, buttonPicture(word, m_dpr), buttonPicture(word));
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
        // The band's first and last device rows carry the design's two colours, the rows beyond them do not.
        const int top = band.top() * m_dpr, bottom = (band.bottom() + 1) * m_dpr - 1;
        QVERIFY2(rowIs(shot, top, band.x(), band.width(), BandTop), qPrintable(shot.file));
        QVERIFY2(rowIs(shot, bottom, band.x(), band.width(), BandBottom), qPrintable(shot.file));
        QVERIFY2(!rowIs(shot, top - 1, band.x(), band.width(), BandTop), qPrintable(shot.file));
        QVERIFY2(!rowIs(shot, bottom + 1, band.x(), band.width(), BandBottom), qPrintable(shot.file));
    }

    void labelsWriteInTheirColourWithinTheirBox_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<bool>("centred"); // otherwise from the box's left edge
        QTest::newRow("main Ход") << "main" << "Label1" << Blue << true;
        QTest::newRow("main counter") << "main" << "Label2" << Orange << true;
        QTest::newRow("rules heading") << "rules" << "Label1" << Red << true;
        QTest::newRow("rules subheading") << "rules" << "Label2" << Blue << true;
        QTest::newRow("rules wish") << "rules" << "Label5" << Red << false;
        QTest::newRow("about title") << "about" << "Label1" << Blue << false;
        QTest::newRow("records heading") << "records" << "Label1" << Red << true;
    }
    void labelsWriteInTheirColourWithinTheirBox()
    {
        QFETCH(QString, window);
        QFETCH(QString, label);
        QFETCH(QColor, colour);
        QFETCH(bool, centred);
        const Shot &shot = m_shots[window];
        auto *text = child<QLabel>(shot, qPrintable(label));
        const QRect box = shot.placeOf(text);
        const QString where = QStringLiteral("%1 in %2").arg(label, shot.file);
        // Solid strokes of the colour itself, not just a tinted fringe, and none spilling out of the box.
        const int inside = countOf(shot, box, colour);
        QVERIFY2(inside >= 12 * m_dpr * m_dpr, qPrintable(QStringLiteral("%1 pixels: %2").arg(inside).arg(where)));
        QVERIFY2(countOf(shot, box.adjusted(-6, -6, 6, 6), colour) == inside, qPrintable(where));
        // A letter's side bearing leaves a pixel or two of its box blank.
        const QRect ink = inkBox(shot, box, text->palette().color(QPalette::Window)), room = shot.device(box);
        const int off = centred ? ink.center().x() - room.center().x() : ink.left() - room.left();
        QVERIFY2(qAbs(off) <= 2 * m_dpr, qPrintable(QStringLiteral("%1 device pixels off: %2").arg(off).arg(where)));
    }

    void resultLineIsAquaToItsEdges()
    {
        const Shot &shot = m_shots[QStringLiteral("records")];
        const QRect line = shot.device(shot.placeOf(child(shot, "Label3")));
        for (QPoint p : {line.topLeft(), line.topRight(), line.bottomLeft(), line.bottomRight()})
            QVERIFY2(shot.image.pixelColor(p) == Aqua, qPrintable(shot.file));
        for (QPoint p : {line.topLeft() - QPoint(1, 1), line.bottomRight() + QPoint(1, 1)})
            QVERIFY2(shot.image.pixelColor(p) != Aqua, qPrintable(shot.file));
        // Nearly all of it: only the result's letters stand on it.
        const int aqua = countOf(shot, shot.placeOf(child(shot, "Label3")), Aqua);
        QVERIFY2(aqua > line.width() * line.height() * 3 / 4, qPrintable(shot.file));
    }

    void windowPicturesAreDrawnForTheScreen()
    {
        const Shot &about = m_shots[QStringLiteral("about")];
        const QRect game = about.placeOf(child(about, "Image1"));
        QString fault = pictureFault(about, game, gamePicture(game.width(), m_dpr), gamePicture(game.width()));
        QVERIFY2(fault.isEmpty(), qPrintable(fault));

        const Shot &records = m_shots[QStringLiteral("records")];
        const QRect cup = records.placeOf(child(records, "Image1"));
        fault = pictureFault(records, cup, cupPicture(cup.size(), m_dpr), cupPicture(cup.size()));
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }

    // The focused control carries a mark at least two pixels wide all round whose
    // pixels differ from the same pixels unfocused by 3:1 or more: on «Новая» as the
    // game opens, on «Ok!» as the rules open (no Tab needed), on the menu title Alt selects.
    void theFocusIsMarkedTwoPixelsWideAtThreeToOne_data()
    {
        QTest::addColumn<QString>("where");
        QTest::newRow("Новая at launch") << "main";
        QTest::newRow("Ok! of the rules") << "rules";
        QTest::newRow("menu title after Alt") << "menu";
        QTest::newRow("Да of the exit question") << "question";
        QTest::newRow("the name box's field") << "name";
    }
    void theFocusIsMarkedTwoPixelsWideAtThreeToOne()
    {
        QFETCH(QString, where);
        if (where == QLatin1String("question") || where == QLatin1String("name")) {
            // Qt's own dialogs, as the game opens them.
            QtRuntime runtime(QStringLiteral("Пятнашки"));
            bool checked = false;
            onNextModal([&](QWidget *dialog) {
                QVERIFY(dialog);
                QApplication::setActiveWindow(dialog);
                QVERIFY(QTest::qWaitForWindowActive(dialog));
                QWidget *focused = QApplication::focusWidget();
                QVERIFY(where == QLatin1String("name") ? qobject_cast<QLineEdit *>(focused) != nullptr
                                                       : qobject_cast<QPushButton *>(focused) != nullptr);
                // As large as a two-pixel ring round the control, at 3:1.
                const QRect control(focused->mapTo(dialog, QPoint()), focused->size());
                const QImage marked = dialog->grab().toImage();
                focused->clearFocus();
                const QImage plain = dialog->grab().toImage();
                qsizetype changed = 0;
                for (int y = control.top() * m_dpr; y < (control.bottom() + 1) * m_dpr; ++y)
                    for (int x = control.left() * m_dpr; x < (control.right() + 1) * m_dpr; ++x)
                        changed += contrast(marked.pixelColor(x, y), plain.pixelColor(x, y)) >= 3;
                const qsizetype needed = qsizetype(4 * (control.width() + control.height()) - 16) * m_dpr * m_dpr;
                if (changed < needed)
                    marked.save(QDir::current().filePath(QStringLiteral("pixels-focus-%1-%2x.png").arg(where).arg(m_dpr)));
                QVERIFY2(changed >= needed, qPrintable(QStringLiteral("%1 device pixels change at 3:1, %2 needed")
                                                           .arg(changed).arg(needed)));
                checked = !QTest::currentTestFailed();
                static_cast<QDialog *>(dialog)->reject();
            });
            if (where == QLatin1String("name"))
                runtime.inputBox(QStringLiteral("КАК ВАШЕ ИМЯ, НОВЫЙ РЕКОРДСМЕН?"));
            else
                runtime.msgBox(QStringLiteral("Выйти из игры?"), QStringLiteral("Пятнашки"));
            QVERIFY(checked);
            return;
        }
        std::unique_ptr<QWidget> window;
        if (where == QLatin1String("rules"))
            window = std::make_unique<FrmHelp>();
        else
            window = std::make_unique<FrmMain>(m_runtime);
        window->show();
        QApplication::setActiveWindow(window.get());
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QWidget *focused = QApplication::focusWidget();
        QVERIFY(qobject_cast<QPushButton *>(focused));
        // The band it must cover, in the window's pixels: round a button, one pixel
        // clear of it; on the selected title, just inside its edge (the style's
        // highlight leaves the last device pixel of a dense screen).
        QRegion band;
        if (where == QLatin1String("menu")) {
            QTest::keyClick(focused, Qt::Key_Alt);
            QMenuBar *bar = static_cast<QMainWindow *>(window.get())->menuBar();
            QVERIFY(bar->hasFocus());
            const QRect title = bar->actionGeometry(bar->actions().first()).translated(bar->mapTo(window.get(), QPoint()));
            band = QRegion(title.adjusted(1, 1, -1, -1)) - QRegion(title.adjusted(3, 3, -3, -3));
        } else {
            const QRect button(focused->mapTo(window.get(), QPoint()), focused->size());
            band = QRegion(button.adjusted(-3, -3, 3, 3)) - QRegion(button.adjusted(-1, -1, 1, 1));
        }
        checkRing(window.get(), band, where);
    }

    void windowIconsAreDrawnForTheScreen()
    {
        for (const QString &name : {QStringLiteral("main"), QStringLiteral("rules"), QStringLiteral("records")}) {
            const QIcon icon = m_shots[name].window->windowIcon();
            // The sizes a title bar, a task bar and a window switcher ask for.
            for (int size : {16, 32, 48}) {
                const QPixmap shown = icon.pixmap(QSize(size, size), m_dpr);
                const QImage blownUp = icon.pixmap(QSize(size, size), 1.0).toImage().scaled(QSize(size, size) * m_dpr);
                const bool sharp = shown.size() == QSize(size, size) * m_dpr && shown.devicePixelRatio() == m_dpr
                                   && (m_dpr == 1 || clearlyDifferentPixels(shown.toImage(), blownUp) > edgeTolerance(m_dpr));
                QVERIFY2(sharp, qPrintable(QStringLiteral("%1 icon at %2: %3x%4 device pixels at %5x")
                                               .arg(name).arg(size).arg(shown.width()).arg(shown.height())
                                               .arg(shown.devicePixelRatio())));
            }
        }
    }
};

QTEST_MAIN(TestPixels)
#include "test_pixels.moc"
