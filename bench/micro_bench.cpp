// Time per call of what a player waits on: the deal, a click, the main window.
#include "platform/ScriptedRuntime.h"
#include "support/GameFixture.h"
#include "ui/Appearance.h"
#include "ui/FrmMain.h"

#include <QTest>
#include <limits>

class MicroBench : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { applyAppearance(); }

    void deal()
    {
        GameFixture f; // with nothing scripted, the fixed-seed generator deals
        QBENCHMARK {
            f.game.NewGame();
        }
        QVERIFY(f.board.picturesMatchTags());
    }

    void clickWithAMoveAndTheSolvedCheck()
    {
        // Tile 13 slides between cells 12 and 13, never reaching a win.
        const QString position = QStringLiteral("1 2 3 4 / 5 6 7 8 / 9 10 11 12 / 13 . 14 15");
        GameFixture f;
        f.deal(position);
        int cell = 12;
        bool everyClickMoved = true;
        QBENCHMARK {
            // The counter stops at its largest value; a fresh deal lets it count again.
            if (f.game.moves() == std::numeric_limits<int16_t>::max()) {
                f.deal(position);
                cell = 12;
            }
            everyClickMoved &= f.game.ImgP_Click(static_cast<int16_t>(cell));
            cell ^= 1;
        }
        QVERIFY(everyClickMoved);
    }

    void buildMainWindow()
    {
        ScriptedRuntime runtime;
        QBENCHMARK {
            FrmMain window(runtime);
        }
        QVERIFY(runtime.reseeds > 0);
    }
};

QTEST_MAIN(MicroBench)
#include "micro_bench.moc"
