#include "platform/ScriptedRuntime.h"
#include "support/BoardText.h"
#include "support/Modal.h"
#include "support/PixelDiff.h"
#include "ui/Appearance.h"
#include "ui/Artwork.h"
#include "ui/FrmMain.h"
#include "ui/GameKeys.h"
#include "ui/ImageCell.h"
#include "ui/Spoken.h"

#include <QAccessible>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <memory>

namespace {

// The main window on scripted services, dealt a known position.
struct MainWindow
{
    ScriptedRuntime runtime;
    std::unique_ptr<FrmMain> window;

    explicit MainWindow(const QString &position = QStringLiteral("1 2 3 4 / 5 6 7 8 / 9 10 11 12 / 13 14 . 15"))
    {
        const std::vector<float> draws = drawsFor(position);
        runtime.randomValues.assign(draws.begin(), draws.end());
        window = std::make_unique<FrmMain>(runtime);
        window->show();
    }

    template<typename T = QWidget>
    T *find(const QString &name) const
    {
        T *widget = window->findChild<T *>(name);
        if (!widget)
            qWarning("no control named %s", qPrintable(name));
        return widget;
    }
    ImageCell *cell(int i) const { return find<ImageCell>(QStringLiteral("ImgP_%1").arg(i)); }
    QString counter() const { return find<QLabel>(QStringLiteral("Label2"))->text(); }
    QAction *item(const QString &name) const { return window->findChild<QAction *>(name); }

    QString position() const
    {
        Position tiles{};
        for (int i = 0; i < 16; ++i)
            tiles[i] = static_cast<int16_t>(cell(i)->tag().toInt());
        return boardToText(tiles);
    }
    void click(int i) const { QTest::mouseClick(cell(i), Qt::LeftButton, {}, QPoint(25, 25)); }
};

QString reading(const QAccessibleInterface *control)
{
    return control->text(QAccessible::Name) + QStringLiteral(", ") + control->text(QAccessible::Description);
}

// What a screen reader says as the focus lands: the focused control's name and description.
QString heard()
{
    return reading(QAccessible::queryAccessibleInterface(QApplication::focusWidget()));
}

QAccessible::Id identity(QWidget *control)
{
    return QAccessible::uniqueId(QAccessible::queryAccessibleInterface(control));
}

// What a screen reader says after a key: it reads a control as the focus comes
// to it, unless it has just read that very one (the same control under the
// same identity); then it says nothing.
QString heardAfter(QWidget *to, Qt::Key key)
{
    QWidget *before = QApplication::focusWidget();
    const QAccessible::Id id = identity(before);
    QTest::keyClick(to, key);
    QWidget *now = QApplication::focusWidget();
    return now == before && identity(now) == id ? QString() : heard();
}

void activate(QWidget *window)
{
    QApplication::setActiveWindow(window);
    QVERIFY(QTest::qWaitForWindowActive(window));
}

bool showsTile(ImageCell *cell, int tile)
{
    const QImage shown = cell->picture().toImage();
    const QImage expected = tilePicture(tile, cell->devicePixelRatioF()).toImage();
    if (shown.size() != expected.size())
        return false;
    return clearlyDifferentPixels(shown, expected) <= 8;
}

} // namespace

// The main window driven through its real widgets.
class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { applyAppearance(); }

    void windowHasItsFixedClientAreaCaptionAndBoxes()
    {
        MainWindow m;
        FrmMain &w = *m.window;
        QCOMPARE(w.windowTitle(), QStringLiteral("Пятнашки"));
        QCOMPARE(w.centralWidget()->size(), QSize(329, 233));
        QCOMPARE(w.centralWidget()->y(), w.menuBar()->height());
        QCOMPARE(w.minimumSize(), w.maximumSize());
        QCOMPARE(w.size(), QSize(329, 233 + w.menuBar()->height()));
        QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(w.windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(w.windowFlags() & Qt::WindowCloseButtonHint);
        QVERIFY(!w.windowIcon().isNull());
        const QRect screen = w.screen()->availableGeometry();
        QVERIFY(qAbs(w.frameGeometry().center().x() - screen.center().x()) <= 1);
        QVERIFY(qAbs(w.frameGeometry().center().y() - screen.center().y()) <= 1);
    }

    void everyControlStandsAtItsDesignedPlace_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("container");
        QTest::addColumn<QRect>("place");
        QTest::newRow("FrmPole") << "FrmPole" << "ClientArea" << QRect(5, 5, 209, 222);
        QTest::newRow("CmdNew") << "CmdNew" << "ClientArea" << QRect(224, 8, 100, 25);
        QTest::newRow("CmdHelp") << "CmdHelp" << "ClientArea" << QRect(224, 40, 100, 25);
        QTest::newRow("CmdRecord") << "CmdRecord" << "ClientArea" << QRect(224, 72, 100, 25);
        QTest::newRow("Frame1") << "Frame1" << "ClientArea" << QRect(224, 120, 100, 57);
        QTest::newRow("Label1") << "Label1" << "Frame1" << QRect(32, 8, 41, 17);
        QTest::newRow("Label2") << "Label2" << "Frame1" << QRect(40, 32, 25, 17);
        QTest::newRow("CmdExit") << "CmdExit" << "ClientArea" << QRect(224, 200, 100, 25);
        for (int i = 0; i < 16; ++i)
            QTest::addRow("ImgP_%d", i) << QStringLiteral("ImgP_%1").arg(i) << "FrmPole"
                                        << QRect(8 + 48 * (i % 4), 16 + 48 * (i / 4), 50, 50);
    }

    void everyControlStandsAtItsDesignedPlace()
    {
        QFETCH(QString, name);
        QFETCH(QString, container);
        QFETCH(QRect, place);
        MainWindow m;
        QWidget *control = m.find(name);
        QVERIFY(control);
        QCOMPARE(control->parentWidget()->objectName(), container);
        QCOMPARE(control->geometry(), place);
    }

    void counterLabelsUseTheirFontsAndColours()
    {
        MainWindow m;
        auto *heading = m.find<QLabel>(QStringLiteral("Label1"));
        auto *count = m.find<QLabel>(QStringLiteral("Label2"));
        QCOMPARE(heading->text(), QStringLiteral("Ход"));
        QCOMPARE(count->text(), QStringLiteral("0"));
        for (QLabel *label : {heading, count}) {
            QCOMPARE(label->font().pixelSize(), 16);
            QVERIFY(label->font().bold());
            QVERIFY(label->alignment() & Qt::AlignHCenter);
            QCOMPARE(label->accessibleName(), QString()); // screen readers read the text itself
        }
        QCOMPARE(heading->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QCOMPARE(count->palette().color(QPalette::WindowText), QColor(255, 128, 0));
        QVERIFY(QFontInfo(heading->font()).family().contains(QStringLiteral("Sans")));
        QVERIFY(QFontMetrics(heading->font()).inFont(QChar(u'Х')));
    }

    void menuBarHoldsTheTwoMenusWithPlainItems()
    {
        MainWindow m;
        const QList<QAction *> titles = m.window->menuBar()->actions();
        QCOMPARE(titles.size(), 2);
        QCOMPARE(titles[0]->text(), QStringLiteral("Игра"));
        QCOMPARE(titles[1]->text(), QStringLiteral("Помощь"));
        QCOMPARE(titles[0]->menu()->objectName(), QStringLiteral("Mnu1"));
        QCOMPARE(titles[1]->menu()->objectName(), QStringLiteral("Mnu2"));

        QStringList game, help;
        for (QAction *a : titles[0]->menu()->actions())
            game << a->objectName() + u'=' + a->text();
        for (QAction *a : titles[1]->menu()->actions())
            help << a->objectName() + u'=' + a->text();
        QCOMPARE(game, QStringList({"Mnu3=Новая", "Mnu4=Рекорды", "Mnu5=Выход"}));
        QCOMPARE(help, QStringList({"Mnu6=Правила", "Mnu8=О программе"}));
        for (QAction *a : m.window->findChildren<QAction *>()) {
            QVERIFY(!a->isSeparator());
            QVERIFY(a->shortcut().isEmpty());
            QVERIFY(!a->text().contains(u'&'));
            QVERIFY(a->isEnabled() && a->isVisible());
        }
    }

    void picturesButtonsCarryTheirWordsAndTabInTheirOwnOrder()
    {
        MainWindow m;
        activate(m.window.get());
        const QStringList words = {"Новая", "Рекорды", "Правила", "Выход"};
        const QStringList order = {"CmdNew", "CmdRecord", "CmdHelp", "CmdExit"};
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("CmdNew"));
        for (int i = 0; i < order.size(); ++i) {
            QWidget *focused = QApplication::focusWidget();
            QCOMPARE(focused->objectName(), order[i]);
            auto *button = qobject_cast<QPushButton *>(focused);
            QCOMPARE(button->text(), QString());
            QCOMPARE(button->accessibleName(), words[i]);
            QCOMPARE(button->toolTip(), QString());
            QVERIFY(!button->isDefault() && !button->autoDefault());
            QTest::keyClick(focused, Qt::Key_Tab);
        }
        // Then the board, as one stop a screen reader names; from the tile
        // that just slid Tab goes on to the first button, Shift+Tab back.
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("FrmPole"));
        QCOMPARE(QApplication::focusWidget()->accessibleName(), QStringLiteral("Игровое поле"));
        // Rung in blue while it holds the focus, brought by a key or a click.
        QWidget *board = m.find(QStringLiteral("FrmPole"));
        const auto ringed = [board] { return board->grab().toImage().pixelColor(5, 100) == QColor(0, 0, 255); };
        QVERIFY(ringed());
        m.click(13);
        QVERIFY(ringed());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("CmdNew"));
        QVERIFY(!ringed());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("FrmPole"));
    }

    // The window's hint names a key that takes the board in one press, and is
    // heard as the window first opens, not again as each dialog closes.
    void theHintIsHeardOnceAndItsKeyReachesTheBoard()
    {
        MainWindow m;
        activate(m.window.get());
        const auto hint = [&m] { return QAccessible::queryAccessibleInterface(m.window.get())->text(QAccessible::Description); };
        QVERIFY(hint().endsWith(QStringLiteral(" ведёт к игровому полю, стрелки сдвигают фишки.")));
        const GameKey *key = gameKey(QKeySequence::fromString(hint().section(u' ', 0, 0))[0].key());
        QVERIFY2(key, qPrintable(hint()));
        QTest::keyClick(QApplication::focusWidget(), key->key);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("FrmPole"));

        onNextModal([](QWidget *rules) {
            if (rules)
                rules->close();
        });
        m.item(QStringLiteral("Mnu6"))->trigger();
        activate(m.window.get());
        QCOMPARE(hint(), QString());
    }

    void windowOpensDealtWithTheCounterAtZero()
    {
        MainWindow m(QStringLiteral("3 1 2 4 / 5 6 7 8 / 9 10 11 12 / 13 14 15 ."));
        QCOMPARE(m.position(), QStringLiteral("3 1 2 4 / 5 6 7 8 / 9 10 11 12 / 13 14 15 ."));
        QCOMPARE(m.runtime.reseeds, 1);
        QCOMPARE(m.counter(), QStringLiteral("0"));
        for (int i = 0; i < 16; ++i)
            QVERIFY(showsTile(m.cell(i), m.cell(i)->tag().toInt()));
    }

    void clickingATileBesideTheBlankSlidesAndCountsIt()
    {
        MainWindow m(QStringLiteral("1 2 3 4 / 5 6 7 8 / 9 10 . 11 / 13 14 15 12"));
        m.click(6); // tile 7 down into the blank
        QCOMPARE(m.position(), QStringLiteral("1 2 3 4 / 5 6 . 8 / 9 10 7 11 / 13 14 15 12"));
        QCOMPARE(m.counter(), QStringLiteral("1"));
        QVERIFY(showsTile(m.cell(6), 16));
        QVERIFY(showsTile(m.cell(10), 7));
        m.click(0); // far from the blank
        QCOMPARE(m.counter(), QStringLiteral("1"));
        // A right click is no click.
        QTest::mouseClick(m.cell(7), Qt::RightButton, {}, QPoint(25, 25));
        QCOMPARE(m.counter(), QStringLiteral("1"));
    }

    void aWonBoardTakesNoClicksUntilANewDealYetSaysItIsSolved()
    {
        MainWindow m;
        activate(m.window.get());
        QString shown;
        onNextModal([&shown](QWidget *records) {
            shown = records ? records->windowTitle() : QString();
            if (records)
                records->close();
        });
        m.click(15);
        QCOMPARE(shown, QStringLiteral("Рекордсмены"));
        QCOMPARE(m.position(), Solved);
        QCOMPARE(m.counter(), QStringLiteral("1"));
        // The solved board stays in full colour.
        QVERIFY(showsTile(m.cell(0), 1));
        m.click(14);
        QCOMPARE(m.position(), Solved);
        // It holds the focus and its Tab stop, and says that it is solved and in how many moves;
        // an arrow there says so again.
        activate(m.window.get());
        const QString solved = QStringLiteral("Игровое поле, Головоломка решена за 1 ход, «Новая» сдаёт новую игру. "
                                              "Ряд 1: 1, 2, 3, 4. Ряд 2: 5, 6, 7, 8. Ряд 3: 9, 10, 11, 12. "
                                              "Ряд 4: 13, 14, 15, пустая клетка");
        QCOMPARE(heard(), solved);
        m.find(QStringLiteral("CmdExit"))->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(heard(), solved);
        QCOMPARE(heardAfter(QApplication::focusWidget(), Qt::Key_Left), solved);
        QCOMPARE(m.position(), Solved);

        m.runtime.randomValues.clear();
        m.find<QPushButton>(QStringLiteral("CmdNew"))->click();
        QVERIFY(m.find(QStringLiteral("FrmPole"))->isEnabled());
        QCOMPARE(m.counter(), QStringLiteral("0"));
        QCOMPARE(m.runtime.reseeds, 2);
    }

    void cellsAndCounterTellAScreenReaderWhatTheyShow()
    {
        MainWindow m(QStringLiteral("1 2 3 4 / 5 6 7 8 / 9 10 . 11 / 13 14 15 12"));
        const auto said = [](QObject *control, QAccessible::Text text) {
            return QAccessible::queryAccessibleInterface(control)->text(text);
        };
        const auto cellNames = [&] {
            QStringList names;
            for (int i = 0; i < 16; ++i)
                names << said(m.cell(i), QAccessible::Name);
            return names.join(u' ');
        };
        QCOMPARE(cellNames(), QStringLiteral("1 2 3 4 5 6 7 8 9 10 пустая клетка 11 13 14 15 12"));
        activate(m.window.get());
        m.click(6);
        QCOMPARE(cellNames(), QStringLiteral("1 2 3 4 5 6 пустая клетка 8 9 10 7 11 13 14 15 12"));
        // The focus follows the tile: which moved, where it stands now, the count.
        QCOMPARE(QApplication::focusWidget(), m.cell(10));
        QCOMPARE(heard(), QStringLiteral("7, ряд 3, столбец 3, ход 1"));
        QCOMPARE(said(m.cell(6), QAccessible::Description), QStringLiteral("ряд 2, столбец 3"));
        // The board reads the whole position by rows.
        QCOMPARE(said(m.find(QStringLiteral("FrmPole")), QAccessible::Description),
                 QStringLiteral("Ход 1. Ряд 1: 1, 2, 3, 4. Ряд 2: 5, 6, пустая клетка, 8. "
                                "Ряд 3: 9, 10, 7, 11. Ряд 4: 13, 14, 15, 12"));
        auto *counter = m.find<QLabel>(QStringLiteral("Label2"));
        QCOMPARE(said(counter, QAccessible::Name), QStringLiteral("1"));
        QCOMPARE(said(counter, QAccessible::Description), QStringLiteral("Ход"));
    }

    void arrowKeysSlideTheTileOnTheFarSideOfTheBlankLikeAClick()
    {
        MainWindow m(QStringLiteral("1 2 3 4 / 5 6 7 8 / 9 10 . 11 / 13 14 15 12"));
        activate(m.window.get());
        m.find<QPushButton>(QStringLiteral("CmdRecord"))->setFocus();
        // Keys go where the system sends them: to an open menu, else to the focus.
        const auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
            QWidget *popup = QApplication::activePopupWidget();
            QTest::keyClick(popup ? popup : QApplication::focusWidget(), key, modifiers);
        };

        press(Qt::Key_Down); // tile 7 from above
        QCOMPARE(m.position(), QStringLiteral("1 2 3 4 / 5 6 . 8 / 9 10 7 11 / 13 14 15 12"));
        QCOMPARE(QApplication::focusWidget(), m.cell(10));
        QCOMPARE(heard(), QStringLiteral("7, ряд 3, столбец 3, ход 1"));

        // Keypad arrows are the screen reader's review keys; with the menu bar
        // selected or a menu open, the arrows move in the menu.
        // (Far from a win, so a fault here opens no dialog.)
        const QString position = m.position();
        press(Qt::Key_Up, Qt::KeypadModifier);
        press(Qt::Key_Alt);
        QVERIFY(m.window->menuBar()->hasFocus());
        press(Qt::Key_Down);
        QVERIFY(QApplication::activePopupWidget());
        press(Qt::Key_Down);
        press(Qt::Key_Up);
        press(Qt::Key_Escape);
        press(Qt::Key_Escape);
        QVERIFY(!QApplication::activePopupWidget());
        QCOMPARE(m.position(), position);
        QCOMPARE(m.counter(), QStringLiteral("1"));
        press(Qt::Key_Up); // and back from below
        press(Qt::Key_Right); // tile 10 from the left
        QCOMPARE(m.position(), QStringLiteral("1 2 3 4 / 5 6 7 8 / 9 . 10 11 / 13 14 15 12"));
        press(Qt::Key_Left);
        press(Qt::Key_Left); // tile 11 from the right
        QCOMPARE(m.position(), QStringLiteral("1 2 3 4 / 5 6 7 8 / 9 10 11 . / 13 14 15 12"));
        // Nothing right of the blank: no move, and the blank says where it is, each time.
        const QString edge = QStringLiteral("пустая клетка, ряд 3, столбец 4");
        QCOMPARE(heardAfter(QApplication::focusWidget(), Qt::Key_Left), edge);
        QCOMPARE(heardAfter(QApplication::focusWidget(), Qt::Key_Left), edge);
        QCOMPARE(m.counter(), QStringLiteral("5"));

        QString shown;
        onNextModal([&shown](QWidget *records) {
            shown = records ? records->windowTitle() : QString();
            if (records)
                records->close();
        });
        press(Qt::Key_Up); // tile 12 from below wins, as a click would
        QCOMPARE(m.position(), Solved);
        QCOMPARE(shown, QStringLiteral("Рекордсмены"));
        QCOMPARE(m.runtime.inputPrompts.size(), 1);
        activate(m.window.get());
        press(Qt::Key_Down); // the closed board ignores keys too
        QCOMPARE(m.position(), Solved);
        QCOMPARE(m.counter(), QStringLiteral("6"));
    }

    void arrowsLeaveTheBoardAloneWhileTheMenuBarIsSelected()
    {
        MainWindow m(QStringLiteral("1 2 3 4 / 5 6 7 8 / 9 10 . 11 / 13 14 15 12"));
        activate(m.window.get());
        // Alt with the pointer over the bar's empty end: no title is under the selection.
        QMenuBar *bar = m.window->menuBar();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Alt);
        QVERIFY(bar->hasFocus());
        QTest::mouseMove(m.window->windowHandle(), bar->mapTo(m.window.get(), QPoint(bar->width() - 5, bar->height() / 2)));
        QVERIFY(!bar->activeAction());
        const QString position = m.position();
        for (Qt::Key key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down})
            QTest::keyClick(bar, key);
        QCOMPARE(m.position(), position);
        QCOMPARE(m.counter(), QStringLiteral("0"));
    }

    void f5ReadsTheCountAndThePositionAgainFromAnyTile()
    {
        MainWindow m(QStringLiteral("1 2 3 4 / 5 6 7 8 / 9 10 . 11 / 13 14 15 12"));
        activate(m.window.get());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), m.cell(10));
        const QString board = QStringLiteral("Игровое поле, Ход 1. Ряд 1: 1, 2, 3, 4. Ряд 2: 5, 6, пустая клетка, 8. "
                                             "Ряд 3: 9, 10, 7, 11. Ряд 4: 13, 14, 15, 12");
        QCOMPARE(heardAfter(QApplication::focusWidget(), Qt::Key_F5), board);
        QCOMPARE(heardAfter(QApplication::focusWidget(), Qt::Key_F5), board);
        QCOMPARE(m.counter(), QStringLiteral("1"));
    }

    void enterAndSpacePressTheFocusedButton_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("opens"); // a window's title, or empty
        const QList<QPair<const char *, const char *>> buttons{
            {"CmdNew", ""}, {"CmdRecord", "Рекордсмены"}, {"CmdHelp", "Правила игры"}, {"CmdExit", ""}};
        for (const auto &[button, opens] : buttons) {
            QTest::addRow("%s Return", button) << button << int(Qt::Key_Return) << opens;
            QTest::addRow("%s keypad Enter", button) << button << int(Qt::Key_Enter) << opens;
            QTest::addRow("%s space", button) << button << int(Qt::Key_Space) << opens;
        }
    }
    void enterAndSpacePressTheFocusedButton()
    {
        QFETCH(QString, button);
        QFETCH(int, key);
        QFETCH(QString, opens);
        MainWindow m;
        activate(m.window.get());
        m.find(button)->setFocus();
        QString shown;
        bool watched = opens.isEmpty();
        if (!watched)
            onNextModal([&](QWidget *window) {
                watched = true;
                shown = window ? window->windowTitle() : QString();
                if (window)
                    window->close();
            }, 300);
        m.runtime.msgBoxAnswers = {Runtime::No};
        const Qt::KeyboardModifiers keypad = key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), keypad);
        QTRY_VERIFY(watched); // the watch for a window ends, whether one opened or not
        QCOMPARE(shown, opens);
        QCOMPARE(m.runtime.reseeds, button == QLatin1String("CmdNew") ? 2 : 1);
        QCOMPARE(m.runtime.msgBoxPrompts.size(), button == QLatin1String("CmdExit") ? 1 : 0);
    }

    void movesAreCountedInRussian_data()
    {
        QTest::addColumn<int>("moves");
        QTest::addColumn<QString>("spoken");
        for (const auto &[moves, spoken] : QList<QPair<int, const char *>>{
                 {1, "1 ход"}, {2, "2 хода"}, {5, "5 ходов"}, {11, "11 ходов"}, {12, "12 ходов"},
                 {14, "14 ходов"}, {21, "21 ход"}, {22, "22 хода"}, {111, "111 ходов"}})
            QTest::addRow("%d", moves) << moves << QString::fromUtf8(spoken);
    }
    void movesAreCountedInRussian()
    {
        QFETCH(int, moves);
        QFETCH(QString, spoken);
        QCOMPARE(movesSpoken(moves), spoken);
    }

    void newGameFromTheMenuDealsWithoutAQuestion()
    {
        MainWindow m(QStringLiteral("1 2 3 4 / 5 6 7 8 / 9 10 . 11 / 13 14 15 12"));
        activate(m.window.get());
        m.click(6);
        QCOMPARE(m.counter(), QStringLiteral("1"));
        const std::vector<float> draws = drawsFor(QStringLiteral("1 2 3 4 / 5 6 7 8 / 9 10 11 . / 13 14 15 12"));
        m.runtime.randomValues.assign(draws.begin(), draws.end());
        m.item(QStringLiteral("Mnu3"))->trigger();
        QCOMPARE(m.counter(), QStringLiteral("0"));
        // The deal is heard: the focus goes to the board, which reads the new position.
        QCOMPARE(heard(), QStringLiteral("Игровое поле, Ход 0. Ряд 1: 1, 2, 3, 4. Ряд 2: 5, 6, 7, 8. "
                                         "Ряд 3: 9, 10, 11, пустая клетка. Ряд 4: 13, 14, 15, 12"));
        // No cell keeps the last game's count.
        QCOMPARE(m.cell(10)->accessibleDescription(), QStringLiteral("ряд 3, столбец 3"));
        // The cells are renamed a moment after the deal; a key at once finds the blank named already.
        QCOMPARE(heardAfter(QApplication::focusWidget(), Qt::Key_Left), QStringLiteral("пустая клетка, ряд 3, столбец 4"));
        // Untouched, they are renamed all the same.
        const std::vector<float> again = drawsFor(QStringLiteral("1 2 3 4 / 5 6 7 8 / 9 10 . 11 / 13 14 15 12"));
        m.runtime.randomValues.assign(again.begin(), again.end());
        m.item(QStringLiteral("Mnu3"))->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(m.cell(10)->accessibleName(), QStringLiteral("пустая клетка"), 2000);
        QCOMPARE(m.runtime.reseeds, 3);
        QVERIFY(m.runtime.msgBoxPrompts.isEmpty());
    }

    void exitAsksAndOnlyYesEnds()
    {
        MainWindow m(QStringLiteral("1 2 3 4 / 5 6 7 8 / 9 10 . 11 / 13 14 15 12"));
        m.click(6);
        const QString position = m.position();

        m.runtime.msgBoxAnswers = {Runtime::No};
        m.find<QPushButton>(QStringLiteral("CmdExit"))->click();
        QCOMPARE(m.runtime.msgBoxPrompts, QStringList{"Вы действительно хотите выйти из программы?"});
        QCOMPARE(m.runtime.msgBoxTitles, QStringList{"Пятнашки"});
        QCOMPARE(m.runtime.ends, 0);
        QCOMPARE(m.position(), position);
        QCOMPARE(m.counter(), QStringLiteral("1"));
        QVERIFY(m.window->isVisible());

        m.runtime.msgBoxAnswers = {Runtime::Yes};
        m.item(QStringLiteral("Mnu5"))->trigger();
        QCOMPARE(m.runtime.msgBoxPrompts.size(), 2);
        QCOMPARE(m.runtime.ends, 1);
    }

    void closingFromTheTitleBarAsksNothing()
    {
        MainWindow m;
        QVERIFY(m.window->close());
        QVERIFY(!m.window->isVisible());
        QVERIFY(m.runtime.msgBoxPrompts.isEmpty());
    }

    void rulesAndAboutOpenModallyAndFreshEachTime_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("window");
        QTest::newRow("rules button") << "CmdHelp" << "FrmHelp";
        QTest::newRow("rules menu") << "Mnu6" << "FrmHelp";
        QTest::newRow("about menu") << "Mnu8" << "FrmAbout";
    }

    void rulesAndAboutOpenModallyAndFreshEachTime()
    {
        QFETCH(QString, command);
        QFETCH(QString, window);
        MainWindow m;
        auto open = [&] {
            if (QAction *item = m.item(command))
                item->trigger();
            else
                m.find<QPushButton>(command)->click();
        };

        QPointer<QWidget> first;
        onNextModal([&](QWidget *dialog) {
            QVERIFY(dialog);
            first = dialog;
            QCOMPARE(dialog->objectName(), window);
            // The board is blocked while the window is open: tile 14 beside the
            // blank stays, clicked as the player would, through the window system.
            QWidget *tile = m.cell(13);
            QTest::mouseClick(m.window->windowHandle(), Qt::LeftButton, {}, tile->mapTo(m.window.get(), QPoint(25, 25)));
            QCOMPARE(m.counter(), QStringLiteral("0"));
            dialog->move(dialog->pos() + QPoint(40, 30));
            dialog->close();
        });
        open();
        QVERIFY(first.isNull()); // destroyed on closing

        QPoint centre;
        onNextModal([&](QWidget *dialog) {
            QVERIFY(dialog);
            QVERIFY(dialog != first);
            centre = dialog->frameGeometry().center();
            dialog->close();
        });
        open();
        const QPoint screenCentre = m.window->screen()->availableGeometry().center();
        QVERIFY((centre - screenCentre).manhattanLength() <= 2);
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
