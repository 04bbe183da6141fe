#include "game/Solvability.h"
#include "support/GameFixture.h"

#include <cmath>
#include <set>

// Dealing: where the random values put the tiles, what a deal resets, and
// that every deal can be solved.
class TestDeal : public QObject
{
    Q_OBJECT

private slots:
    void scriptedValuesPlaceTilesInIncreasingOrder()
    {
        GameFixture f;
        const QString position = QStringLiteral("1 5 9 13 / 2 6 10 14 / 3 7 11 15 / 4 8 12 .");
        QVERIFY(IsSolvable(boardFromText(position)));
        f.deal(position);
        QVERIFY(f.board.picturesMatchTags());
        QCOMPARE(f.runtime.draws, 16);
    }

    void extremeRandomValuesReachTheFirstAndLastCell()
    {
        // Tile 1 is placed by the first value drawn.
        GameFixture zero;
        zero.script(Solved);
        zero.runtime.randomValues.front() = 0.0f;
        zero.game.NewGame();
        QCOMPARE(zero.board.tags[0], QStringLiteral("1"));

        // In single precision 16r + 1 would round up to 17 and name a cell that does not exist.
        GameFixture top;
        const QString position = QStringLiteral(". 3 2 4 / 5 6 7 8 / 9 10 11 12 / 13 14 15 1");
        QVERIFY(IsSolvable(boardFromText(position)));
        top.script(position);
        top.runtime.randomValues.front() = std::nextafter(1.0f, 0.0f);
        top.game.NewGame();
        QCOMPARE(top.board.text(), position);
        QVERIFY(top.board.picturesMatchTags());
    }

    void aTakenCellIsDrawnAgain()
    {
        GameFixture f;
        // Tile 1 to cell 5; tile 2 draws cell 5 twice before cell 7 comes up.
        f.runtime.randomValues = {drawFor(5), drawFor(5), drawFor(5), drawFor(7)};
        f.game.NewGame();
        QCOMPARE(f.board.tags[5], QStringLiteral("1"));
        QCOMPARE(f.board.tags[7], QStringLiteral("2"));
        QVERIFY(f.runtime.draws >= 16 + 2);
    }

    void everyDealHoldsEachTileOnceWithItsPictureAndOpensTheBoard()
    {
        GameFixture f;
        for (int deal = 1; deal <= 200; ++deal) {
            f.game.NewGame();
            std::set<QString> seen(f.board.tags.begin(), f.board.tags.end());
            QCOMPARE(seen.size(), size_t(16));
            for (int n = 1; n <= 16; ++n)
                QVERIFY(seen.count(QString::number(n)));
            QVERIFY(f.board.picturesMatchTags());
            QCOMPARE(f.board.counter, QStringLiteral("0"));
            QVERIFY(f.board.enabled);
            QCOMPARE(f.runtime.reseeds, deal);
        }
    }

    void thousandsOfDealsAreAllSolvable()
    {
        GameFixture f;
        int blankHome = 0;
        for (int deal = 0; deal < 5000; ++deal) {
            f.game.NewGame();
            const Position tiles = boardFromText(f.board.text());
            QVERIFY2(IsSolvable(tiles), qPrintable(f.board.text()));
            blankHome += tiles[15] == 16;
        }
        // The repair only exchanges two tiles: the blank still lands anywhere, evenly.
        QVERIFY(blankHome > 5000 / 16 * 0.7 && blankHome < 5000 / 16 * 1.3);
    }

    void anUnsolvableDrawComesOutWithTilesOneAndTwoExchanged()
    {
        GameFixture f;
        const QString drawn = QStringLiteral("1 2 3 4 / 5 6 7 8 / 9 10 11 12 / 13 15 14 .");
        QVERIFY(!IsSolvable(boardFromText(drawn)));
        f.script(drawn);
        f.game.NewGame();
        QCOMPARE(f.board.text(), QStringLiteral("2 1 3 4 / 5 6 7 8 / 9 10 11 12 / 13 15 14 ."));
        QVERIFY(f.board.picturesMatchTags());

        // Wherever tiles 1 and 2 stand.
        const QString scattered = QStringLiteral("3 4 5 6 / 7 8 9 1 / 10 11 12 13 / . 14 2 15");
        QVERIFY(!IsSolvable(boardFromText(scattered)));
        f.script(scattered);
        f.game.NewGame();
        QCOMPARE(f.board.text(), QStringLiteral("3 4 5 6 / 7 8 9 2 / 10 11 12 13 / . 14 1 15"));
        QVERIFY(f.board.picturesMatchTags());
    }

    void aSolvedDealIsLeftAloneUntilTheNextClick()
    {
        GameFixture f;
        f.deal(Solved);
        QCOMPARE(f.wins, 0);
        QVERIFY(f.board.enabled);
        QCOMPARE(f.board.counter, QStringLiteral("0"));
    }

    void dealingAgainDropsTheGameAndReopensAWonBoard()
    {
        GameFixture f;
        f.deal(QStringLiteral("1 2 3 4 / 5 6 7 8 / 9 10 11 12 / 13 14 . 15"));
        f.click(15);
        QCOMPARE(f.wins, 1);
        QVERIFY(!f.board.enabled);
        QCOMPARE(f.board.counter, QStringLiteral("1"));

        f.deal(QStringLiteral("1 2 3 4 / 5 6 7 8 / 9 10 11 12 / 13 . 14 15"));
        QVERIFY(f.board.enabled);
        QCOMPARE(f.board.counter, QStringLiteral("0"));
        QCOMPARE(f.game.moves(), int16_t(0));
        f.click(14);
        QCOMPARE(f.board.counter, QStringLiteral("1"));
        QCOMPARE(f.wins, 1);
    }
};

QTEST_GUILESS_MAIN(TestDeal)
#include "test_deal.moc"
