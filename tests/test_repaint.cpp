#include "platform/ScriptedRuntime.h"
#include "support/BoardText.h"
#include "ui/Appearance.h"
#include "ui/FocusRing.h"
#include "ui/FrmMain.h"
#include "ui/ImageCell.h"

#include <QLabel>
#include <QMap>
#include <QPaintEvent>
#include <QScreen>
#include <QTest>

namespace {

// Every paint the main window's widgets get, as the area each painted, in
// the window's coordinates.
class PaintLog : public QObject
{
public:
    explicit PaintLog(QWidget *window) : m_window(window) { qApp->installEventFilter(this); }

    void clear() { m_painted.clear(); }

    QRegion of(const QWidget *widget) const { return m_painted.value(widget); }

    QRegion all() const
    {
        QRegion region;
        for (const QRegion &painted : m_painted)
            region += painted;
        return region;
    }

    // Names of the widgets that painted anything outside `allowed`.
    QStringList outside(const QRegion &allowed) const
    {
        QStringList names;
        for (auto it = m_painted.begin(); it != m_painted.end(); ++it)
            if (!(it.value() - allowed).isEmpty())
                names << (it.key()->objectName().isEmpty() ? it.key()->metaObject()->className() : it.key()->objectName());
        return names;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (event->type() == QEvent::Paint && widget && widget->window() == m_window)
            m_painted[widget] += static_cast<QPaintEvent *>(event)->region().translated(widget->mapTo(m_window, QPoint()));
        return false;
    }

private:
    QWidget *m_window;
    QMap<const QWidget *, QRegion> m_painted;
};

// The main window, shown and dealt a known position, its first paint done.
struct ShownWindow
{
    ScriptedRuntime runtime;
    std::unique_ptr<FrmMain> window;
    std::unique_ptr<PaintLog> log;

    explicit ShownWindow(const QString &position)
    {
        const std::vector<float> draws = drawsFor(position);
        runtime.randomValues.assign(draws.begin(), draws.end());
        window = std::make_unique<FrmMain>(runtime);
        log = std::make_unique<PaintLog>(window.get());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QTRY_VERIFY(!log->of(cell(15)).isEmpty());
        // Whatever else opening the window brings (activation) settles first.
        QTest::qWait(50);
        log->clear();
    }

    ImageCell *cell(int i) const { return window->findChild<ImageCell *>(QStringLiteral("ImgP_%1").arg(i)); }
    // What shows of a widget (cells overlap their neighbours), in window coordinates.
    QRegion area(const QWidget *widget) const
    {
        return widget->visibleRegion().translated(widget->mapTo(window.get(), QPoint()));
    }
    void click(int i) const { QTest::mouseClick(cell(i), Qt::LeftButton, {}, QPoint(25, 25)); }
};

} // namespace

// What the board repaints when the player clicks it: a move must not redraw
// the whole window, which flickers and costs time on large or remote screens.
class TestRepaint : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { applyAppearance(); }

    void aMoveRepaintsItsTwoCellsAndTheCounterOnly()
    {
        ShownWindow w(QStringLiteral("1 2 3 4 / 5 6 7 8 / 9 10 . 11 / 13 14 15 12"));
        const QWidget *counter = w.window->findChild<QLabel *>(QStringLiteral("Label2"));
        // The focus follows the tile: the button that had it loses its ring, the board gains its own.
        const QWidget *focused = w.window->focusWidget();
        const QWidget *board = w.cell(0)->parentWidget();
        w.click(6); // tile 7 down into the blank
        QCOMPARE(w.cell(6)->tag(), QStringLiteral("16"));

        QTRY_COMPARE(w.log->of(w.cell(6)), w.area(w.cell(6)));
        QTRY_COMPARE(w.log->of(w.cell(10)), w.area(w.cell(10)));
        for (int i = 0; i < 16; ++i)
            if (i != 6 && i != 10)
                QVERIFY2(w.log->of(w.cell(i)).isEmpty(), qPrintable(QStringLiteral("cell %1 repainted").arg(i)));
        const QRegion rings = focusRingAround(focused->geometry()).translated(focused->parentWidget()->mapTo(w.window.get(), QPoint()))
                              + focusRingAround(board->childrenRect()).translated(board->mapTo(w.window.get(), QPoint()));
        const QRegion changed = w.area(w.cell(6)) + w.area(w.cell(10)) + w.area(counter) + w.area(focused) + rings;
        QCOMPARE(w.log->outside(changed), QStringList());
    }

    // What the screen holds as the focus moves on, Tab by Tab: the ring leaves
    // the control that lost the focus and rings the one that took it.
    void theRingFollowsTheFocusOnTheScreen_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::newRow("button to button") << "CmdNew" << "CmdRecord";
        QTest::newRow("button to the board") << "CmdExit" << "FrmPole";
        QTest::newRow("the board to a button") << "FrmPole" << "CmdNew";
    }
    void theRingFollowsTheFocusOnTheScreen()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        ShownWindow w(QStringLiteral("1 2 3 4 / 5 6 7 8 / 9 10 . 11 / 13 14 15 12"));
        QApplication::setActiveWindow(w.window.get());
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        QWidget *left = w.window->findChild<QWidget *>(from), *taken = w.window->findChild<QWidget *>(to);
        // A button's ring stands round it; the board's round its cells.
        const auto ring = [&w](const QWidget *control) {
            const bool board = control->objectName() == QLatin1String("FrmPole");
            return board ? focusRingAround(control->childrenRect()).translated(control->mapTo(w.window.get(), QPoint()))
                         : focusRingAround(control->geometry()).translated(control->parentWidget()->mapTo(w.window.get(), QPoint()));
        };
        const auto blueOnScreen = [&w](const QRegion &region) {
            const QImage screen = w.window->screen()->grabWindow(w.window->winId()).toImage();
            int blue = 0, all = 0;
            for (const QRect &part : region)
                for (int y = part.top(); y <= part.bottom(); ++y)
                    for (int x = part.left(); x <= part.right(); ++x, ++all)
                        blue += screen.pixelColor(x, y) == QColor(0, 0, 255);
            return blue == all ? 1 : blue == 0 ? 0 : -1; // all ringed, none, or some
        };
        left->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(blueOnScreen(ring(left)), 1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), taken);
        QTRY_COMPARE(blueOnScreen(ring(taken)), 1);
        QCOMPARE(blueOnScreen(ring(left)), 0);
    }

    void aClickWithoutAMoveRepaintsNothing()
    {
        ShownWindow w(QStringLiteral("1 2 3 4 / 5 6 7 8 / 9 10 . 11 / 13 14 15 12"));
        w.click(0);
        QTest::qWait(50);
        QCOMPARE(w.cell(0)->tag(), QStringLiteral("1"));
        QVERIFY(w.log->all().isEmpty());
    }
};

QTEST_MAIN(TestRepaint)
#include "test_repaint.moc"
