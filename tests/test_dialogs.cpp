// The rules and about windows, checked through their real widgets as a
// player would see and use them.
#include "support/Modal.h"
#include "ui/Appearance.h"
#include "ui/FrmAbout.h"
#include "ui/FrmHelp.h"

#include <QAccessible>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <memory>

namespace {

struct Control
{
    const char *name;
    QRect twips;      // Left, Top, Width, Height as designed
    const char *text; // nullptr: a credit line of the implementer's own
    int pixelSize = 0; // 0: the window's standard font
    bool bold = false;
    QColor colour = {}; // invalid: the standard text colour
    bool centred = false;
};

const QColor Red(255, 0, 0), Blue(0, 0, 255);

// Both windows' controls in their design (tab) order.
const std::vector<Control> HelpControls = {
    {"Label1", {840, 120, 2055, 255}, "Правила игры", 16, true, Red, true},
    {"Label2", {600, 480, 2415, 495}, "Для тех , кто ни разу не играл в \"пятнашки\"", 13, false, Blue, true},
    {"Command1", {2160, 4080, 1335, 375}, "Ok!"},
    {"Label3", {120, 1440, 3375, 855},
     "На квадратном поле 4х4 клетки расположены 15 фишек, пронумерованных от 1 до 15. "
     "Одна клетка игрового поля остается пустой. ", 0, false, {}, true},
    {"Label4", {120, 2400, 3375, 855},
     "Меняя местами фишки, расположенные рядом с пустой клеткой, добиться расположения "
     "пронумерованных фишек в порядке возрастания.", 0, false, {}, true},
    {"Label5", {720, 3360, 2295, 375}, "УДАЧНОЙ ИГРЫ!", 16, true, Red},
};
const std::vector<Control> AboutControls = {
    {"CmdClose", {2520, 2640, 1455, 300}, "Ок!"},
    {"Label4", {120, 2640, 2055, 300}, nullptr, 13},
    {"Label6", {960, 1920, 2295, 255}, nullptr},
    {"Label5", {960, 1560, 2775, 255}, nullptr},
    {"Label3", {960, 1200, 2895, 255}, nullptr},
    {"Label2", {960, 600, 3015, 255}, "Версия 1.2"},
    {"Label1", {960, 240, 3015, 255}, "Логическая игра \"Пятнашки\"", 13, false, Blue},
    {"Image1", {120, 240, 600, 600}, ""},
};

// All design measures are whole pixels at 15 twips each.
QRect pixels(QRect twips)
{
    return QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15);
}

std::unique_ptr<QDialog> makeWindow(const QString &name, QWidget *parent = nullptr)
{
    if (name == QLatin1String("FrmHelp"))
        return std::make_unique<FrmHelp>(parent);
    return std::make_unique<FrmAbout>(parent);
}

const std::vector<Control> &controlsOf(const QString &name)
{
    return name == QLatin1String("FrmHelp") ? HelpControls : AboutControls;
}

QLabel *label(QWidget *window, const char *name)
{
    return window->findChild<QLabel *>(QLatin1String(name));
}

QPushButton *closeButton(QWidget *window)
{
    return window->findChild<QPushButton *>();
}

void addWindowRows()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("rules") << "FrmHelp";
    QTest::newRow("about") << "FrmAbout";
}

bool isYellow(QColor c)
{
    return c.red() > 200 && c.green() > 200 && c.blue() < 100;
}

bool isCentred(const QWidget *window)
{
    const QPoint offset = window->frameGeometry().center() - window->screen()->availableGeometry().center();
    return offset.manhattanLength() <= 2;
}

} // namespace

class TestDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { applyAppearance(); }

    void windowIsFixedWithCaptionCloseBoxAndIcon_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QSize>("client");
        QTest::newRow("rules") << "FrmHelp" << "Правила игры" << QSize(243, 303);
        QTest::newRow("about") << "FrmAbout" << "О программе" << QSize(277, 208);
    }
    void windowIsFixedWithCaptionCloseBoxAndIcon()
    {
        QFETCH(QString, window);
        QFETCH(QString, caption);
        QFETCH(QSize, client);
        auto w = makeWindow(window);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QCOMPARE(w->objectName(), window);
        QCOMPARE(w->windowTitle(), caption);
        QCOMPARE(w->size(), client);
        QCOMPARE(w->minimumSize(), client);
        QCOMPARE(w->maximumSize(), client);
        const Qt::WindowFlags flags = w->windowFlags();
        QVERIFY((flags & Qt::WindowCloseButtonHint) && (flags & Qt::WindowTitleHint));
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint) && !(flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(flags & Qt::WindowContextHelpButtonHint));

        if (window == QLatin1String("FrmAbout")) {
            QCOMPARE(w->windowIcon().cacheKey(), QApplication::windowIcon().cacheKey()); // none of its own
            return;
        }
        // The rules' own icon: a yellow question mark on a transparent ground.
        const QImage mark = w->windowIcon().pixmap(32, 32).toImage();
        QCOMPARE(mark.pixelColor(0, 0).alpha(), 0);
        int yellow = 0;
        for (int y = 0; y < mark.height(); ++y)
            for (int x = 0; x < mark.width(); ++x)
                yellow += mark.pixelColor(x, y).alpha() == 255 && isYellow(mark.pixelColor(x, y));
        QVERIFY(yellow > 30);
    }

    void controlsMatchTheDesignInTabOrder_data() { addWindowRows(); }
    void controlsMatchTheDesignInTabOrder()
    {
        QFETCH(QString, window);
        auto w = makeWindow(window);
        const QFont standardFont = QApplication::font();
        const QColor standardColour = w->palette().color(QPalette::WindowText);
        QStringList order;
        for (const Control &c : controlsOf(window)) {
            order << QLatin1String(c.name);
            auto *widget = w->findChild<QWidget *>(order.last());
            QVERIFY2(widget, c.name);
            QCOMPARE(widget->parentWidget(), w.get());
            QCOMPARE(widget->geometry(), pixels(c.twips));
            if (auto *button = qobject_cast<QPushButton *>(widget)) {
                QCOMPARE(button->text(), QString::fromUtf8(c.text));
                QVERIFY(!button->isDefault() && !button->autoDefault());
                QCOMPARE_NE(button->focusPolicy(), Qt::NoFocus);
                continue;
            }
            auto *l = qobject_cast<QLabel *>(widget);
            QVERIFY(l);
            QCOMPARE(l->focusPolicy(), Qt::NoFocus);
            if (c.text)
                QCOMPARE(l->text(), QString::fromUtf8(c.text));
            if (l->text().isEmpty())
                continue; // the picture
            QCOMPARE(l->font().families(), standardFont.families());
            QCOMPARE(l->font().pixelSize(), c.pixelSize ? c.pixelSize : standardFont.pixelSize());
            QCOMPARE(l->font().bold(), c.bold);
            QCOMPARE(l->palette().color(QPalette::WindowText), c.colour.isValid() ? c.colour : standardColour);
            QCOMPARE(l->alignment(), (c.centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
        }
        // Controls are made in design order, which is also the order Tab would take.
        QStringList chain;
        for (QWidget *next = w->nextInFocusChain(); next != w.get(); next = next->nextInFocusChain())
            if (order.contains(next->objectName()))
                chain << next->objectName();
        QCOMPARE(chain, order);
        QCOMPARE(w->findChildren<QPushButton *>().size(), 1);
        // Every text is heard once as it opens: a screen reader reads the title and
        // the labels of three words or more itself, the description the rest.
        const QString described = QAccessible::queryAccessibleInterface(w.get())->text(QAccessible::Description);
        for (QLabel *l : w->findChildren<QLabel *>()) {
            const QString text = l->text().simplified();
            if (text.isEmpty())
                continue; // the picture
            const int readings = int(text == w->windowTitle()) + int(text.count(u' ') >= 2) + int(described.contains(text));
            QVERIFY2(readings == 1, qPrintable(QStringLiteral("%1 heard %2 times").arg(l->objectName()).arg(readings)));
        }
        // The rules tell how the keyboard plays, the key that reads the position again among it.
        for (const QString &key : {QStringLiteral("стрелк"), QStringLiteral("Tab"), QStringLiteral("F5")})
            QCOMPARE(described.contains(key), window == QLatin1String("FrmHelp"));
    }

    void buttonsAndRulesUseTheExactLetters()
    {
        FrmHelp rules;
        FrmAbout about;
        // Latin "Ok!" on the rules, Cyrillic "Ок!" on the about window.
        QCOMPARE(closeButton(&rules)->text().toUcs4(), (QList<uint>{0x4F, 0x6B, 0x21}));
        QCOMPARE(closeButton(&about)->text().toUcs4(), (QList<uint>{0x41E, 0x43A, 0x21}));
        const QString subheading = label(&rules, "Label2")->text();
        QVERIFY(subheading.startsWith(QStringLiteral("Для тех , кто")));
        const QString firstRule = label(&rules, "Label3")->text();
        const qsizetype board = firstRule.indexOf(QLatin1Char('4'));
        QCOMPARE(firstRule.at(board + 1).unicode(), 0x445); // Cyrillic "х" in "4х4"
        QVERIFY(firstRule.endsWith(QStringLiteral("пустой. ")));
    }

    void everyTextFitsItsControl_data() { addWindowRows(); }
    void everyTextFitsItsControl()
    {
        QFETCH(QString, window);
        auto w = makeWindow(window);
        for (QLabel *l : w->findChildren<QLabel *>()) {
            if (l->text().isEmpty())
                continue;
            const QFontMetrics metrics(l->font());
            const bool tooLongForOneLine = metrics.horizontalAdvance(l->text()) > l->width();
            QVERIFY2(l->wordWrap() == tooLongForOneLine, qPrintable(l->objectName()));
            const QRect wrapped =
                metrics.boundingRect(QRect(0, 0, l->width(), 10000), Qt::TextWordWrap | l->alignment(), l->text());
            QVERIFY2(wrapped.width() <= l->width(), qPrintable(l->objectName()));
            // The leading under the last line is blank, so it may fall outside.
            QVERIFY2(wrapped.height() - metrics.leading() <= l->height(), qPrintable(l->objectName()));
        }
        QPushButton *button = closeButton(w.get());
        QVERIFY(QFontMetrics(button->font()).horizontalAdvance(button->text()) < button->width());
    }

    void aboutCreditsNameTheGameYearTechnologyAndLicence()
    {
        FrmAbout about;
        QString credits;
        for (const char *name : {"Label3", "Label5", "Label6", "Label4"}) {
            const QString line = label(&about, name)->text();
            QVERIFY2(!line.trimmed().isEmpty(), name);
            credits += line + QLatin1Char('\n');
        }
        for (const char *needed : {"Пятнашки", "2026", "C++", "Qt 6", "MIT"})
            QVERIFY2(credits.contains(QString::fromUtf8(needed)), needed);
    }

    void aboutShowsTheVersionThePackageCarries()
    {
        FrmAbout about;
        QCOMPARE(label(&about, "Label2")->text(), QStringLiteral("Версия " PROJECT_VERSION));
    }

    void linesAndPictureAreDrawnWhereDesigned()
    {
        // A plain line is one pixel of text colour exactly from its start to its end.
        auto checkLine = [](QWidget *window, int x1, int x2, int y) {
            const QImage shot = window->grab().toImage();
            const QColor ink = window->palette().color(QPalette::WindowText);
            const QColor ground = window->palette().color(QPalette::Window);
            for (int x = x1; x < x2; ++x)
                QCOMPARE(shot.pixelColor(x, y), ink);
            QCOMPARE(shot.pixelColor(x1 - 1, y), ground);
            QCOMPARE(shot.pixelColor(x2, y), ground);
            QCOMPARE(shot.pixelColor((x1 + x2) / 2, y - 1), ground);
            QCOMPARE(shot.pixelColor((x1 + x2) / 2, y + 1), ground);
        };
        FrmHelp rules;
        checkLine(&rules, 8, 232, 80);
        checkLine(&rules, 8, 232, 264);
        FrmAbout about;
        checkLine(&about, 8, 264, 152);

        // The game's picture fills its 40 x 40 box: yellow to every corner, "15" in black.
        const QImage picture = about.findChild<QLabel *>(QStringLiteral("Image1"))->grab().toImage();
        QCOMPARE(picture.size(), QSize(40, 40));
        for (QPoint corner : {QPoint(0, 0), QPoint(39, 0), QPoint(0, 39), QPoint(39, 39)})
            QVERIFY(isYellow(picture.pixelColor(corner)));
        int black = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x)
                black += picture.pixelColor(x, y).lightness() < 60;
        QVERIFY(black > 40);
    }

    void openWindowIsModalWithFocusOnItsButton_data() { addWindowRows(); }
    void openWindowIsModalWithFocusOnItsButton()
    {
        QFETCH(QString, window);
        QWidget owner;
        auto *ownerButton = new QPushButton(QStringLiteral("x"), &owner);
        ownerButton->setGeometry(0, 0, 100, 100);
        owner.resize(200, 200);
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        int ownerClicks = 0;
        connect(ownerButton, &QPushButton::clicked, this, [&] { ++ownerClicks; });
        auto clickOwner = [&] { QTest::mouseClick(owner.windowHandle(), Qt::LeftButton, {}, QPoint(50, 50)); };

        auto w = makeWindow(window, &owner);
        QWidget *modal = nullptr, *focus = nullptr;
        bool active = false, becameDefault = true;
        int clicksWhileOpen = -1;
        onNextModal([&](QWidget *open) {
            modal = open;
            if (!open)
                return;
            active = QTest::qWaitForWindowActive(open);
            focus = QApplication::focusWidget();
            becameDefault = closeButton(open)->isDefault();
            clickOwner();
            clicksWhileOpen = ownerClicks;
            QTest::mouseClick(closeButton(open), Qt::LeftButton);
        });
        w->exec(); // returns only once the button is clicked
        QCOMPARE(modal, w.get());
        QVERIFY(active);
        QCOMPARE(focus, closeButton(w.get()));
        QVERIFY(!becameDefault);
        QVERIFY(!w->isVisible());
        QCOMPARE(clicksWhileOpen, 0);
        clickOwner(); // the same click counts once the window is gone
        QCOMPARE(ownerClicks, 1);
    }

    void keysOnTheButtonAndTheCloseBoxCloseTheWindow_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("key"); // 0: the title bar's close box
        QTest::addColumn<bool>("closes");
        for (const char *window : {"FrmHelp", "FrmAbout"}) {
            QTest::addRow("%s Return", window) << window << int(Qt::Key_Return) << true;
            QTest::addRow("%s keypad Enter", window) << window << int(Qt::Key_Enter) << true;
            QTest::addRow("%s space", window) << window << int(Qt::Key_Space) << true;
            QTest::addRow("%s close box", window) << window << 0 << true;
            // The button is no cancel button.
            QTest::addRow("%s Escape", window) << window << int(Qt::Key_Escape) << false;
        }
    }
    void keysOnTheButtonAndTheCloseBoxCloseTheWindow()
    {
        QFETCH(QString, window);
        QFETCH(int, key);
        QFETCH(bool, closes);
        auto w = makeWindow(window);
        bool active = false, closed = false;
        onNextModal([&](QWidget *open) {
            if (!open)
                return;
            active = QTest::qWaitForWindowActive(open);
            if (key)
                QTest::keyClick(open->windowHandle(), Qt::Key(key));
            else
                open->close();
            closed = !open->isVisible();
            if (!closed)
                closeButton(open)->click();
        });
        w->exec();
        QVERIFY(active);
        QCOMPARE(closed, closes);
    }

    void everyOpeningIsCentredEvenAfterAMove_data() { addWindowRows(); }
    void everyOpeningIsCentredEvenAfterAMove()
    {
        QFETCH(QString, window);
        for (int opening = 1; opening <= 2; ++opening) {
            // As the main window does it: a fresh window at each opening.
            auto w = makeWindow(window);
            bool centred = false, moved = false;
            onNextModal([&](QWidget *open) {
                if (!open)
                    return;
                centred = isCentred(open);
                open->move(open->screen()->availableGeometry().topLeft() + QPoint(10, 10));
                moved = !isCentred(open);
                QTest::mouseClick(closeButton(open), Qt::LeftButton);
            });
            w->exec();
            QVERIFY2(centred, qPrintable(QStringLiteral("opening %1").arg(opening)));
            QVERIFY(moved);
        }
    }
};

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
