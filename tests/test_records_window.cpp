#include "platform/ScriptedRuntime.h"
#include "records/RecordFormat.h"
#include "support/BoardText.h"
#include "support/Modal.h"
#include "support/TableText.h"
#include "ui/Appearance.h"
#include "ui/FrmMain.h"
#include "ui/ImageCell.h"

#include <QAccessible>
#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <memory>

namespace {

// The main window one move from a win, with a records file of its own.
struct WinningGame
{
    ScriptedRuntime runtime;
    std::unique_ptr<FrmMain> window;

    explicit WinningGame(const QString &table = QString())
    {
        if (!table.isNull())
            setFile(encodeTable(tableFromText(table)));
        const std::vector<float> draws = drawsFor(QStringLiteral("1 2 3 4 / 5 6 7 8 / 9 10 11 12 / 13 14 . 15"));
        runtime.randomValues.assign(draws.begin(), draws.end());
        window = std::make_unique<FrmMain>(runtime);
        window->show();
    }
    QString path() const { return QDir(runtime.programFolder).filePath(QStringLiteral("Records.dat")); }
    void setFile(const QByteArray &bytes) const
    {
        QFile f(path());
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
    }
    QByteArray file() const
    {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(no file)");
    }
    void win() const { QTest::mouseClick(window->findChild<ImageCell *>("ImgP_15"), Qt::LeftButton, {}, {25, 25}); }
    void recordsButton() const { window->findChild<QPushButton *>("CmdRecord")->click(); }
};

// What a player reads on the records window.
struct Shown
{
    QPointer<QWidget> window;
    QString title;
    QStringList names, moves;
    QStringList spoken; // the names as a screen reader reads them
    QString described;  // what a screen reader reads of the window as it opens
    // Names drawn otherwise than their characters written out literally.
    QStringList drawnOtherwise;
    bool resultVisible = false;
    QString result;
};

// Reads the next records window as soon as it is open, then closes it with `close`.
void readNextRecordsWindow(Shown &shown, std::function<void(QWidget *)> close)
{
    onNextModal([&shown, close](QWidget *w) {
        if (!w)
            return;
        shown.window = w;
        shown.title = w->windowTitle();
        shown.described = QAccessible::queryAccessibleInterface(w)->text(QAccessible::Description);
        for (int place = 1; place <= 5; ++place) {
            auto *name = w->findChild<QLabel *>(QStringLiteral("Label2_%1").arg(place));
            shown.names << name->text();
            shown.spoken << QAccessible::queryAccessibleInterface(name)->text(QAccessible::Name);
            QLabel literal(name->parentWidget());
            literal.setTextFormat(Qt::PlainText);
            literal.setText(name->text());
            literal.setFont(name->font());
            literal.setAlignment(name->alignment());
            literal.setGeometry(name->geometry());
            if (literal.grab().toImage() != name->grab().toImage())
                shown.drawnOtherwise << name->text();
            shown.moves << w->findChild<QLabel *>(QStringLiteral("LblHod_%1").arg(place))->text();
        }
        auto *line = w->findChild<QLabel *>(QStringLiteral("Label3"));
        shown.resultVisible = line->isVisible();
        shown.result = line->text();
        close(w);
    });
}

void okButton(QWidget *w)
{
    w->findChild<QPushButton *>(QStringLiteral("Command1"))->click();
}

void closeBox(QWidget *w)
{
    w->close();
}

} // namespace

// The records window opened from the main window, through its real widgets.
class TestRecordsWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { applyAppearance(); }

    void windowIsLaidOutAsDesigned()
    {
        WinningGame g;
        bool checked = false;
        onNextModal([&checked](QWidget *w) {
            QVERIFY(w);
            QCOMPARE(w->objectName(), QStringLiteral("FrmRecord"));
            QCOMPARE(w->size(), QSize(314, 202));
            QCOMPARE(w->minimumSize(), w->maximumSize());
            QVERIFY(!(w->windowFlags() & (Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint)));
            QVERIFY(!w->windowIcon().isNull());
            const auto place = [w](const char *name) { return w->findChild<QWidget *>(name)->geometry(); };
            QCOMPARE(place("Label1"), QRect(8, 8, 193, 17));
            QCOMPARE(place("Frame1"), QRect(8, 32, 193, 137));
            QCOMPARE(place("LblMesto_0"), QRect(8, 16, 7, 13));
            QCOMPARE(place("Label2_3"), QRect(32, 64, 97, 13));
            QCOMPARE(place("LblHod_5"), QRect(152, 112, 33, 13));
            QCOMPARE(place("Label3"), QRect(8, 176, 193, 20));
            QCOMPARE(place("Image1"), QRect(208, 16, 97, 153));
            QCOMPARE(place("Command1"), QRect(208, 176, 97, 20));
            QStringList mesto;
            for (int i = 0; i < 5; ++i)
                mesto << w->findChild<QLabel *>(QStringLiteral("LblMesto_%1").arg(i))->text();
            QCOMPARE(mesto, QStringList({"1", "2", "3", "4", "5"}));

            auto *heading = w->findChild<QLabel *>("Label1");
            QCOMPARE(heading->text(), QStringLiteral("Пятерка сильнейших"));
            QCOMPARE(heading->palette().color(QPalette::WindowText), QColor(255, 0, 0));
            QCOMPARE(heading->font().pixelSize(), 16);
            QVERIFY(heading->font().bold());
            auto *line = w->findChild<QLabel *>("Label3");
            QCOMPARE(line->grab().toImage().pixelColor(2, 2), QColor(128, 255, 255));
            QVERIFY(line->font().bold());
            QCOMPARE(w->findChild<QLabel *>("Image1")->pixmap().deviceIndependentSize(), QSizeF(97, 153));
            auto *ok = w->findChild<QPushButton *>("Command1");
            QCOMPARE(ok->text(), QStringLiteral("Ok!"));
            QCOMPARE(w->focusWidget(), ok);
            for (QWidget *child : w->findChildren<QWidget *>())
                QVERIFY2(child == ok || child->focusPolicy() == Qt::NoFocus, qPrintable(child->objectName()));
            checked = true;
            okButton(w);
        });
        g.recordsButton();
        QVERIFY(checked);
    }

    void recordsButtonAndMenuShowTheFileWithoutTheResultLine()
    {
        WinningGame g(QStringLiteral("Иван 30 / abc 40 / Петров-Вод 50 / 60 / ."));
        Shown fromButton, fromMenu;
        readNextRecordsWindow(fromButton, okButton);
        g.recordsButton();
        readNextRecordsWindow(fromMenu, closeBox);
        g.window->findChild<QAction *>(QStringLiteral("Mnu4"))->trigger();

        QCOMPARE(fromButton.title, QStringLiteral("Рекордсмены"));
        QCOMPARE(fromButton.names,
                 QStringList({"Иван      ", "abc       ", "Петров-Вод", "          ", ""}));
        QCOMPARE(fromButton.moves, QStringList({"30", "40", "50", "60", "0"}));
        QVERIFY(!fromButton.resultVisible);
        // Read whole, place by place; an empty place is no "0".
        QCOMPARE(fromButton.described,
                 QStringLiteral("Пятерка сильнейших. 1 место: Иван, 30 ходов. 2 место: abc, 40 ходов. "
                                "3 место: Петров-Вод, 50 ходов. 4 место: без имени, 60 ходов. 5 место: пусто."));
        QCOMPARE(fromMenu.names, fromButton.names);
        QVERIFY(!fromMenu.resultVisible);
        // Each closing destroys the window: every opening starts from the design.
        QVERIFY(!fromButton.window && !fromMenu.window);
        QVERIFY(g.window->isEnabled());

        // Names are characters, never markup; a control character shows as a blank.
        g.setFile(QByteArray("<b>Ab</b> \x1e\0&lt;x     \x32\0<hr>      \x33\0A\tB\nC\x01""D\x7f""EF\x34\0", 48));
        Shown odd;
        readNextRecordsWindow(odd, okButton);
        g.recordsButton();
        const QStringList literally({"<b>Ab</b> ", "&lt;x     ", "<hr>      ", "A B C D EF", ""});
        QCOMPARE(odd.names, literally);
        QCOMPARE(odd.spoken, literally);
        QCOMPARE(odd.drawnOtherwise, QStringList());
        QCOMPARE(odd.moves, QStringList({"30", "50", "51", "52", "0"}));
    }

    void missingFileShowsFiveEmptyPlacesAndLeavesAnEmptyFile()
    {
        WinningGame g;
        Shown shown;
        readNextRecordsWindow(shown, okButton);
        g.recordsButton();
        QCOMPARE(shown.names, QStringList({"", "", "", "", ""}));
        QCOMPARE(shown.moves, QStringList({"0", "0", "0", "0", "0"}));
        QCOMPARE(g.file(), QByteArray());
    }

    void aWinAsksTheNameStoresItAndShowsTheResultLine()
    {
        WinningGame g(QStringLiteral("Аня 1 / Боря 40 / . / . / ."));
        g.runtime.inputAnswers = {QStringLiteral("Вася")};
        Shown afterWin, afterwards;
        readNextRecordsWindow(afterWin, closeBox);
        g.win();
        QCOMPARE(g.runtime.inputPrompts, QStringList{QStringLiteral("КАК ВАШЕ ИМЯ, НОВЫЙ РЕКОРДСМЕН?")});
        // A screen reader hears the win and its count with the question.
        QCOMPARE(g.runtime.inputDescriptions, QStringList{QStringLiteral("Головоломка решена за 1 ход.")});
        QVERIFY(afterWin.resultVisible);
        QCOMPARE(afterWin.result, QStringLiteral("Вы справились за 1 ходов"));
        QVERIFY(afterWin.described.startsWith(QStringLiteral("Пятерка сильнейших. 1 место: Аня, 1 ход. 2 место: Вася, 1 ход.")));
        // The result line a screen reader reads itself, so the description leaves it out.
        QVERIFY(afterWin.described.endsWith(QStringLiteral("5 место: пусто.")));
        QCOMPARE(afterWin.names.mid(0, 3), QStringList({"Аня       ", "Вася      ", "Боря      "}));
        QCOMPARE(afterWin.moves, QStringList({"1", "1", "40", "0", "0"}));
        QCOMPARE(g.file().mid(12, 12), QByteArray::fromHex("C2E0F1FF2020202020200100"));

        // "Рекорды" right after the win: the result line is hidden again.
        readNextRecordsWindow(afterwards, okButton);
        g.recordsButton();
        QVERIFY(!afterwards.resultVisible);
        QCOMPARE(afterwards.names, afterWin.names);
    }
};

QTEST_MAIN(TestRecordsWindow)
#include "test_records_window.moc"
