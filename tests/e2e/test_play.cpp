// The real program on a real X server: started from a folder of its own,
// read from the screen and played with XTest's mouse and keyboard, as a
// player would. The package's own test (debian/tests) plays the installed
// program with it too.
#include "Solver.h"
#include "XDesk.h"
#include "support/PixelDiff.h"
#include "ui/Appearance.h"
#include "ui/Artwork.h"
#include "ui/Twips.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <algorithm>
#include <functional>

#include <X11/keysym.h>

namespace {

const QString Title = QStringLiteral("Пятнашки");
const QString PlayerName = QStringLiteral("Ёжик Ваня");
// The name as Records.dat keeps it: Windows-1251, blank-padded to ten bytes.
const QByteArray PlayerNameBytes("\xA8\xE6\xE8\xEA\x20\xC2\xE0\xED\xFF\x20", 10);

// Places from the window designs, in twips; the main window's are in its
// client area, below the menu bar.
const QSize ClientSize(tw(4935), tw(3495));
const QRect CmdHelp = twipsRect(3360, 600, 1500, 375);
const QRect CmdExit = twipsRect(3360, 3000, 1500, 375);
const QRect Counter = twipsRect(600, 480, 375, 255).translated(twipsRect(3360, 1800, 1500, 855).topLeft());
const QRect HelpOk = twipsRect(2160, 4080, 1335, 375);
const QRect AboutOk = twipsRect(2520, 2640, 1455, 300);
const QRect RecordOk = twipsRect(3120, 2640, 1455, 300);
const QRect RecordResult = twipsRect(120, 2640, 2895, 300);
const QPoint RecordTable = twipsRect(120, 480, 2900, 2055).topLeft();
const QRect FirstName = twipsRect(480, 240, 1455, 200).translated(RecordTable);
const QRect FirstMoves = twipsRect(2280, 240, 495, 195).translated(RecordTable);

QRect cellRect(int i)
{
    return twipsRect(120 + 720 * (i % 4), 240 + 720 * (i / 4), 750, 750).translated(twipsRect(75, 75, 0, 0).topLeft());
}

Desk *desk = nullptr;
QString display;
std::array<QImage, 17> tiles; // tiles[n]: what the game shows for tile n, 16 the blank
QImage lastShot;              // the last screenshot a check read

struct Failure
{
    QString what;
};

QString screenshotBase()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QLatin1String(QTest::currentTestFunction()));
}

// Keeps the last screenshot and the whole screen beside the test for a look.
[[noreturn]] void fail(const QString &what)
{
    const QString base = screenshotBase();
    QString where;
    if (!lastShot.isNull() && lastShot.save(base + QStringLiteral("-last.png")))
        where += QStringLiteral("\n  last screenshot read: %1-last.png").arg(base);
    if (desk->grabScreen().save(base + QStringLiteral("-screen.png")))
        where += QStringLiteral("\n  whole screen at the failure: %1-screen.png").arg(base);
    throw Failure{what + where};
}

void expect(bool ok, const QString &what)
{
    if (!ok)
        fail(what);
}

void waitFor(const std::function<bool()> &done, const QString &expected, int ms = 4000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms)
            fail(QStringLiteral("waited %1 s for the screen to show %2").arg(ms / 1000.0).arg(expected));
        QThread::msleep(15);
    }
}

void run(const std::function<void()> &steps)
{
    try {
        steps();
    } catch (const Failure &failure) {
        QFAIL(qPrintable(failure.what));
    }
}

QString text(const Board &board)
{
    QStringList cells;
    for (const int t : board)
        cells << (t == 16 ? QStringLiteral(".") : QString::number(t));
    return cells.join(QLatin1Char(' '));
}

void expectCentred(const QRect &rect, const QString &what)
{
    // No window manager: the window's own rectangle is its frame.
    const QPoint centre = rect.center(), screen = QRect(QPoint(), PrivateX::screenSize()).center();
    expect(qAbs(centre.x() - screen.x()) <= 2 && qAbs(centre.y() - screen.y()) <= 2,
           QStringLiteral("%1 at %2,%3 size %4x%5 is not centred: its centre %6,%7, the screen's %8,%9")
               .arg(what).arg(rect.x()).arg(rect.y()).arg(rect.width()).arg(rect.height())
               .arg(centre.x()).arg(centre.y()).arg(screen.x()).arg(screen.y()));
}

// How many pixels of `area` differ clearly from `text` drawn there the way a
// label draws it (top-aligned, in `font` and `ink`) on the area's own ground.
int textMismatch(const QImage &shot, const QRect &area, const QString &text, const QFont &font, QColor ink,
                 Qt::Alignment alignment)
{
    const QImage seen = shot.copy(area);
    QHash<QRgb, int> counts;
    for (int y = 0; y < seen.height(); ++y)
        for (int x = 0; x < seen.width(); ++x)
            ++counts[seen.pixel(x, y)];
    QRgb ground = 0;
    for (auto it = counts.begin(); it != counts.end(); ++it)
        if (it.value() > counts.value(ground))
            ground = it.key();
    QImage drawn(area.size(), QImage::Format_RGB32);
    drawn.fill(ground);
    QPainter painter(&drawn);
    painter.setFont(font);
    painter.setPen(ink);
    painter.drawText(drawn.rect(), int(alignment | Qt::AlignTop), text);
    painter.end();
    return clearlyDifferentPixels(seen, drawn);
}

// A few edge pixels may come out differently; another word or number differs in many.
constexpr int TextTolerance = 3;

// The installed program to play where it stands, if PYATNASHKI_INSTALLED
// names one; otherwise the one just built.
QString installed()
{
    return qEnvironmentVariable("PYATNASHKI_INSTALLED");
}

// What lies beside a program, to show that playing wrote nothing there.
QStringList besideProgram(const QString &program)
{
    if (program.isEmpty())
        return {};
    return QFileInfo(program).dir().entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// The game started on the private screen with a fresh folder of its own:
// the built program is copied into it and keeps its Records.dat there; an
// installed one runs from its place with the folder as the player's home.
class Game
{
public:
    ~Game()
    {
        m_process.kill();
        m_process.waitForFinished(2000);
    }

    void start()
    {
        expect(m_folder.isValid(), QStringLiteral("no temporary folder"));
        QString program = installed();
        if (program.isEmpty()) {
            program = m_folder.filePath(QStringLiteral("pyatnashki"));
            expect(QFile::copy(QStringLiteral(PYATNASHKI_PROGRAM), program),
                   QStringLiteral("could not copy %1 to %2").arg(QStringLiteral(PYATNASHKI_PROGRAM), program));
        }
        // Our screen and xcb, whatever the test was started with, and for an
        // installed game our folder as the home its records go to.
        QStringList env = QProcess::systemEnvironment();
        env.removeIf([](const QString &v) {
            static const QRegularExpression ours(
                QStringLiteral("^(QT_|LC_|LANG=|DISPLAY=|XAUTHORITY=|WAYLAND_|HOME=|XDG_DATA_HOME=)"));
            return ours.match(v).hasMatch();
        });
        env << QStringLiteral("DISPLAY=") + display << QStringLiteral("QT_QPA_PLATFORM=xcb")
            << QStringLiteral("LANG=C") << QStringLiteral("HOME=") + m_folder.path();
        tieToTest(m_process);
        m_process.setEnvironment(env);
        m_process.setWorkingDirectory(m_folder.path());
        m_process.setProcessChannelMode(QProcess::ForwardedChannels);
        m_process.start(program, {});
        expect(m_process.waitForStarted(5000), QStringLiteral("could not start %1").arg(program));
        QByteArray windowClass;
        waitFor([this, &windowClass] {
            for (const ShownWindow &w : desk->windows(pid()))
                if (!w.popup && w.title == Title) {
                    m_main = w.id;
                    windowClass = w.windowClass;
                }
            return m_main != 0;
        }, QStringLiteral("the game's window «%1»").arg(Title), 8000);
        // What the menu entries give as StartupWMClass, so the dock ties the window to them.
        expect(windowClass == "pyatnashki", QStringLiteral("the window's class is «%1»").arg(QString::fromLatin1(windowClass)));
        const QRect rect = mainRect();
        expect(rect.width() == ClientSize.width() && rect.height() > ClientSize.height(),
               QStringLiteral("the main window is %1x%2; its client area alone is %3x%4 below a menu bar")
                   .arg(rect.width()).arg(rect.height()).arg(ClientSize.width()).arg(ClientSize.height()));
    }

    QString recordsFile() const
    {
        return m_folder.filePath(installed().isEmpty() ? QStringLiteral("Records.dat")
                                                       : QStringLiteral(".local/share/pyatnashki/Records.dat"));
    }
    pid_t pid() const { return pid_t(m_process.processId()); }
    XId main() const { return m_main; }

    QRect mainRect() const
    {
        for (const ShownWindow &w : desk->windows(pid()))
            if (w.id == m_main)
                return w.rect;
        fail(QStringLiteral("the main window is not on the screen"));
    }

    // The main window's pixels; its client area starts `menuHeight` below its top.
    QImage shot() const { return lastShot = desk->grab(m_main); }
    static int menuHeight(const QImage &shot) { return shot.height() - ClientSize.height(); }

    void click(const QRect &inClient) const
    {
        const QRect rect = mainRect();
        desk->click(rect.topLeft() + QPoint(0, rect.height() - ClientSize.height()) + inClient.center());
    }

    // The windows shown besides the main one, menus aside.
    std::vector<ShownWindow> others() const
    {
        std::vector<ShownWindow> found;
        for (const ShownWindow &w : desk->windows(pid()))
            if (!w.popup && w.id != m_main)
                found.push_back(w);
        return found;
    }

    ShownWindow waitForWindow(const QString &title, const QString &what) const
    {
        ShownWindow found;
        waitFor([&] {
            for (const ShownWindow &w : others())
                if (w.title == title)
                    found = w;
            return found.id != 0;
        }, QStringLiteral("%1, a window titled «%2»").arg(what, title));
        return found;
    }

    // A dialog takes the keys only once it holds the focus, a moment after it shows.
    ShownWindow waitForFocusedWindow(const QString &title, const QString &what) const
    {
        const ShownWindow window = waitForWindow(title, what);
        waitFor([&] { return desk->focus() == window.id; }, QStringLiteral("%1 holding the keyboard focus").arg(what));
        return window;
    }

    void waitUntilGone(const ShownWindow &window, const QString &after) const
    {
        waitFor([&] {
            for (const ShownWindow &w : desk->windows(pid()))
                if (w.id == window.id)
                    return false;
            return true;
        }, QStringLiteral("the window «%1» gone %2").arg(window.title, after));
    }

    // Whether it still runs after `ms` more.
    bool running(int ms = 0) { return !m_process.waitForFinished(ms) && m_process.state() == QProcess::Running; }

    void expectExitStatusZero(const QString &after)
    {
        const bool ended = !running(4000);
        expect(ended && m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0,
               QStringLiteral("after %1 the game should end with status 0; it %2")
                   .arg(after, !ended ? QStringLiteral("still ran after 4 s")
                               : m_process.exitStatus() == QProcess::CrashExit
                                   ? QStringLiteral("crashed")
                                   : QStringLiteral("ended with status %1").arg(m_process.exitCode())));
    }

    // The board as the cells show it, if every cell shows one tile clearly
    // and each tile once.
    static std::optional<Board> boardIn(const QImage &shot)
    {
        if (shot.isNull())
            return std::nullopt;
        Board board{};
        std::array<bool, 17> seen{};
        for (int i = 0; i < 16; ++i) {
            // Neighbouring cells overlap by two pixels: only the inner part is the cell's own.
            const QRect inner = cellRect(i).translated(0, menuHeight(shot)).adjusted(3, 3, -3, -3);
            int best = 0;
            qint64 bestDiff = 0;
            for (int t = 1; t <= 16; ++t) {
                qint64 diff = 0;
                for (int y = 0; y < inner.height(); ++y)
                    for (int x = 0; x < inner.width(); ++x) {
                        const QRgb a = shot.pixel(inner.x() + x, inner.y() + y), b = tiles[t].pixel(3 + x, 3 + y);
                        diff += qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b));
                    }
                if (best == 0 || diff < bestDiff) {
                    best = t;
                    bestDiff = diff;
                }
            }
            if (bestDiff > 2 * inner.width() * inner.height() || seen[best])
                return std::nullopt;
            seen[best] = true;
            board[i] = best;
        }
        return board;
    }

    Board waitForDeal() const
    {
        std::optional<Board> board;
        waitFor([&] { return (board = boardIn(shot())).has_value(); },
                QStringLiteral("a dealt board: fifteen tiles and the blank, each in its own cell"));
        return *board;
    }

    void waitForBoardAndCounter(const Board &board, int moves, const QString &after) const
    {
        const QFont font = designFont(16, true);
        const QString count = QString::number(moves);
        waitFor([&] {
            const QImage s = shot();
            return boardIn(s) == board
                && textMismatch(s, Counter.translated(0, menuHeight(s)), count, font, QColor(255, 128, 0),
                                Qt::AlignHCenter) <= TextTolerance;
        }, QStringLiteral("%1 the board %2 and the counter at %3").arg(after, text(board), count));
    }

private:
    QTemporaryDir m_folder;
    QProcess m_process;
    XId m_main = 0;
};

} // namespace

class TestPlay : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Drawn by the game's own artwork code, to recognise the cells by.
        for (int n = 1; n <= 16; ++n)
            tiles[n] = tilePicture(n, 1.0).toImage().convertToFormat(QImage::Format_RGB32);
        QVERIFY2(desk->prepareTyping(PlayerName), "no spare keys on the X keyboard to type the name with");
    }

    void init()
    {
        // A failure's screenshots from an earlier run would mislead.
        for (const char *kind : {"-last.png", "-screen.png"})
            QFile::remove(screenshotBase() + QLatin1String(kind));
        lastShot = QImage();
    }

    void closeBoxEndsTheGameWithoutAQuestion()
    {
        run([] {
            Game game;
            game.start();
            expectCentred(game.mainRect(), QStringLiteral("the main window"));
            game.waitForDeal();
            desk->askToClose(game.main());
            QElapsedTimer clock;
            clock.start();
            while (game.running(10) && clock.elapsed() < 4000) {
                const auto shown = game.others();
                expect(shown.empty(),
                       QStringLiteral("the close box should end the game without asking; it showed «%1»")
                           .arg(shown.empty() ? QString() : shown.front().title));
            }
            game.expectExitStatusZero(QStringLiteral("the close box"));
        });
    }

    void exitAsksAndOnlyYesEnds()
    {
        run([] {
            Game game;
            game.start();
            const Board dealt = game.waitForDeal();
            game.click(CmdExit);
            const ShownWindow first = game.waitForFocusedWindow(Title, QStringLiteral("the question whether to leave"));
            desk->key(XK_Escape); // the box's «Нет»
            game.waitUntilGone(first, QStringLiteral("after «Нет»"));
            expect(game.running(), QStringLiteral("«Выход» and then «Нет» ended the game"));

            // Still playing: a tile next to the blank slides in and counts.
            const int blank = int(std::find(dealt.begin(), dealt.end(), 16) - dealt.begin());
            const int cell = blank >= 4 ? blank - 4 : blank + 4;
            game.click(cellRect(cell));
            game.waitForBoardAndCounter(*afterClick(dealt, cell), 1,
                                        QStringLiteral("after «Нет» and a click on cell %1,").arg(cell));

            game.click(CmdExit);
            game.waitForFocusedWindow(Title, QStringLiteral("the question whether to leave, again"));
            desk->key(XK_Return); // «Да», the default answer
            game.expectExitStatusZero(QStringLiteral("«Выход» and «Да»"));
        });
    }

    void rulesAndAboutOpenCentredAndCloseWithTheirButtons()
    {
        run([] {
            Game game;
            game.start();
            game.waitForDeal();

            game.click(CmdHelp);
            const ShownWindow rules =
                game.waitForWindow(QStringLiteral("Правила игры"), QStringLiteral("the rules"));
            expectCentred(rules.rect, QStringLiteral("the rules window"));
            desk->click(rules.rect.topLeft() + HelpOk.center());
            game.waitUntilGone(rules, QStringLiteral("after its «Ok!»"));

            // The menu bar's titles, found by their ink: «Игра», then «Помощь». The
            // rules window covered the bar, so wait for its repaint.
            QList<QPair<int, int>> titles;
            int menuHeight = 0;
            waitFor([&] {
                const QImage shot = game.shot();
                menuHeight = Game::menuHeight(shot);
                titles.clear();
                for (int x = 0, gap = 99; x < shot.width(); ++x) {
                    bool ink = false;
                    for (int y = 2; y < menuHeight - 2 && !ink; ++y)
                        ink = qGray(shot.pixel(x, y)) < 100;
                    if (ink && gap >= 6)
                        titles.append({x, x});
                    if (ink)
                        titles.last().second = x;
                    gap = ink ? 0 : gap + 1;
                }
                return titles.size() == 2;
            }, QStringLiteral("the menu bar with its two titles"));
            const int helpX = (titles[1].first + titles[1].second) / 2;
            desk->click(game.mainRect().topLeft() + QPoint(helpX, menuHeight / 2));
            ShownWindow menu;
            waitFor([&] {
                for (const ShownWindow &w : desk->windows(0))
                    if (w.popup)
                        menu = w;
                return menu.id != 0;
            }, QStringLiteral("the menu «Помощь» open"));
            // Its second item, «О программе».
            desk->click(menu.rect.topLeft() + QPoint(menu.rect.width() / 2, menu.rect.height() * 3 / 4));
            const ShownWindow about =
                game.waitForWindow(QStringLiteral("О программе"), QStringLiteral("the about window"));
            expectCentred(about.rect, QStringLiteral("the about window"));
            desk->click(about.rect.topLeft() + AboutOk.center());
            game.waitUntilGone(about, QStringLiteral("after its «Ок!»"));
            expect(game.running(), QStringLiteral("the game ended after the about window"));
        });
    }

    void aWonGameEntersTheRecordsTable()
    {
        run([] {
            const QStringList beside = besideProgram(installed());
            Game game;
            game.start();
            Board board = game.waitForDeal();
            const std::optional<std::vector<int>> clicks = solve(board);
            expect(clicks.has_value(), QStringLiteral("the deal cannot be solved: %1").arg(text(board)));
            const int moves = int(clicks->size());
            for (int k = 0; k < moves; ++k) {
                board = *afterClick(board, (*clicks)[k]);
                game.click(cellRect((*clicks)[k]));
                // The last click wins, and the name prompt may cover the board.
                if (k + 1 < moves)
                    waitFor([&] { return Game::boardIn(game.shot()) == board; },
                            QStringLiteral("after click %1 (cell %2) the board %3")
                                .arg(k + 1)
                                .arg((*clicks)[k])
                                .arg(text(board)));
            }

            const ShownWindow prompt =
                game.waitForFocusedWindow(Title, QStringLiteral("the name prompt for a new record"));
            desk->type(PlayerName);
            desk->key(XK_Return);
            game.waitUntilGone(prompt, QStringLiteral("after the name and Enter"));

            const ShownWindow records =
                game.waitForWindow(QStringLiteral("Рекордсмены"), QStringLiteral("the records"));
            expectCentred(records.rect, QStringLiteral("the records window"));
            const QString result = QStringLiteral("Вы справились за %1 ходов").arg(moves);
            const QString count = QString::number(moves);
            const QFont plain = designFont(11), bold = designFont(11, true);
            waitFor([&] {
                const QImage s = lastShot = desk->grab(records.id);
                const QImage aqua = s.copy(RecordResult);
                int aquaPixels = 0;
                for (int y = 0; y < aqua.height(); ++y)
                    for (int x = 0; x < aqua.width(); ++x)
                        aquaPixels += aqua.pixel(x, y) == qRgb(128, 255, 255);
                return aquaPixels > aqua.width() * aqua.height() / 2
                    && textMismatch(s, RecordResult, result, bold, Qt::black, Qt::AlignHCenter) <= TextTolerance
                    && textMismatch(s, FirstName, PlayerName, plain, Qt::black, Qt::AlignLeft) <= TextTolerance
                    && textMismatch(s, FirstMoves, count, plain, Qt::black, Qt::AlignLeft) <= TextTolerance;
            }, QStringLiteral("«%1» on aqua, and «%2» with %3 in the first place").arg(result, PlayerName, count));
            desk->click(records.rect.topLeft() + RecordOk.center());
            game.waitUntilGone(records, QStringLiteral("after its «Ok!»"));

            Board solved;
            for (int i = 0; i < 16; ++i)
                solved[i] = i + 1;
            game.waitForBoardAndCounter(solved, moves, QStringLiteral("after the win,"));

            QFile file(game.recordsFile());
            expect(file.open(QIODevice::ReadOnly),
                   QStringLiteral("no %1: %2").arg(file.fileName(), file.errorString()));
            const QByteArray bytes = file.readAll();
            // The first place, the count little-endian, then four empty places.
            const QByteArray expected = PlayerNameBytes + char(moves & 0xFF) + char(moves >> 8) + QByteArray(48, '\0');
            expect(bytes == expected, QStringLiteral("Records.dat holds\n  %1\nrather than\n  %2")
                                          .arg(QString::fromLatin1(bytes.toHex(' ')),
                                               QString::fromLatin1(expected.toHex(' '))));
            if (!installed().isEmpty())
                expect(besideProgram(installed()) == beside,
                       QStringLiteral("playing wrote beside %1: the folder held\n  %2\nand now holds\n  %3")
                           .arg(installed(), beside.join(QLatin1Char(' ')),
                                besideProgram(installed()).join(QLatin1Char(' '))));

            desk->askToClose(game.main());
            game.expectExitStatusZero(QStringLiteral("the close box after the win"));
        });
    }
};

int main(int argc, char *argv[])
{
    PrivateX x;
    if (x.display().isEmpty()) {
        fprintf(stderr, "No private X server: %s\n", qPrintable(x.error()));
        return 1;
    }
    display = x.display();
    // The expected pictures and words are drawn on the same server, with the
    // same platform and fonts as the game's.
    qputenv("DISPLAY", display.toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    Desk d(display);
    if (!d.ok()) {
        fprintf(stderr, "Cannot open %s with XTest\n", qPrintable(display));
        return 1;
    }
    desk = &d;
    TestPlay test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_play.moc"
