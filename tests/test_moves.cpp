#include "support/GameFixture.h"

#include <cstdlib>

namespace {

// A solvable position with the blank in `blankCell`.
QString positionWithBlankAt(int blankCell)
{
    Position tiles{};
    int16_t next = 1;
    for (int cell = 0; cell < 16; ++cell)
        tiles[cell] = cell == blankCell ? 16 : next++;
    if (!IsSolvable(tiles))
        std::swap(tiles[blankCell == 0 ? 1 : 0], tiles[blankCell <= 1 ? 2 : 1]);
    return boardToText(tiles);
}

} // namespace

// Clicks: which ones slide a tile, what a slide changes, and when the game is won.
class TestMoves : public QObject
{
    Q_OBJECT

private slots:
    void onlyATileBesideTheBlankSlides_data()
    {
        QTest::addColumn<int>("blank");
        QTest::addColumn<int>("clicked");
        for (int blank = 0; blank < 16; ++blank)
            for (int clicked = 0; clicked < 16; ++clicked)
                QTest::addRow("blank %d, click %d", blank, clicked) << blank << clicked;
    }

    void onlyATileBesideTheBlankSlides()
    {
        QFETCH(int, blank);
        QFETCH(int, clicked);
        GameFixture f;
        const QString before = positionWithBlankAt(blank);
        f.deal(before);
        f.click(clicked);

        const bool beside = std::abs(blank / 4 - clicked / 4) + std::abs(blank % 4 - clicked % 4) == 1;
        Position expected = boardFromText(before);
        if (beside)
            std::swap(expected[blank], expected[clicked]);
        QCOMPARE(f.board.text(), boardToText(expected));
        QCOMPARE(f.board.counter, beside ? QStringLiteral("1") : QStringLiteral("0"));
        QCOMPARE(f.game.moves(), int16_t(beside ? 1 : 0));
        QVERIFY(f.board.picturesMatchTags());
    }

    void noSlideWrapsRoundARowEnd()
    {
        GameFixture f;
        f.deal(positionWithBlankAt(4));
        f.click(3); // the right end of the row above
        QCOMPARE(f.board.tags[4], QStringLiteral("16"));
        f.deal(positionWithBlankAt(3));
        f.click(4); // the left end of the row below
        QCOMPARE(f.board.tags[3], QStringLiteral("16"));
        QCOMPARE(f.board.counter, QStringLiteral("0"));
    }

    void aSlideRedrawsOnlyTheTwoCells()
    {
        GameFixture f;
        f.deal(QStringLiteral("1 2 3 4 / 5 . 6 7 / 8 9 10 11 / 12 13 14 15"));
        const int writesBefore = f.board.pictureWrites;
        f.click(6);
        QCOMPARE(f.board.tags[6], QStringLiteral("16"));
        QCOMPARE(f.board.pictures[6], int16_t(16));
        QCOMPARE(f.board.tags[5], QStringLiteral("6"));
        QCOMPARE(f.board.pictures[5], int16_t(6));
        QCOMPARE(f.board.pictureWrites - writesBefore, 2);
    }

    void clicksOnTheBlankOrAFarTileChangeNothing()
    {
        GameFixture f;
        const QString position = QStringLiteral("1 2 3 4 / 5 . 6 7 / 8 9 10 11 / 12 13 14 15");
        f.deal(position);
        const int writes = f.board.pictureWrites;
        for (int cell : {5, 0, 3, 15, 10})
            f.click(cell);
        QCOMPARE(f.board.text(), boardToText(boardFromText(position)));
        QCOMPARE(f.board.pictureWrites, writes);
        QCOMPARE(f.board.counter, QStringLiteral("0"));
        QCOMPARE(f.wins, 0);
    }

    void theCompletingMoveIsCountedBeforeTheWin()
    {
        GameFixture f;
        f.deal(QStringLiteral("1 2 3 4 / 5 6 7 8 / 9 10 11 . / 13 14 15 12"));
        f.click(15);
        QCOMPARE(f.wins, 1);
        QCOMPARE(f.wonWith, int16_t(1));
        QCOMPARE(f.board.counter, QStringLiteral("1"));
        QVERIFY(!f.board.enabled);
        QCOMPARE(f.board.text(), Solved);
    }

    void aWonBoardIgnoresClicks()
    {
        GameFixture f;
        f.deal(QStringLiteral("1 2 3 4 / 5 6 7 8 / 9 10 11 12 / 13 14 . 15"));
        f.click(15);
        QCOMPARE(f.wins, 1);
        f.click(14);
        f.click(11);
        QCOMPARE(f.board.text(), Solved);
        QCOMPARE(f.wins, 1);
        QCOMPARE(f.board.counter, QStringLiteral("1"));
    }

    void aSolvedDealWinsAtTheFirstClickThatMakesNoMove_data()
    {
        QTest::addColumn<int>("cell");
        for (int cell = 0; cell < 16; ++cell)
            QTest::addRow("cell %d", cell) << cell;
    }

    void aSolvedDealWinsAtTheFirstClickThatMakesNoMove()
    {
        QFETCH(int, cell);
        GameFixture f;
        f.deal(Solved);
        f.click(cell);
        if (cell == 11 || cell == 14) {
            // That tile slides into the blank, and the board is no longer solved.
            QCOMPARE(f.wins, 0);
            QCOMPARE(f.board.counter, QStringLiteral("1"));
            QVERIFY(f.board.enabled);
        } else {
            QCOMPARE(f.wins, 1);
            QCOMPARE(f.wonWith, int16_t(0));
            QVERIFY(!f.board.enabled);
        }
    }

    void theMoveAfter32767IsNotMade()
    {
        GameFixture f;
        const QString position = QStringLiteral("2 1 3 4 / 5 6 7 8 / 9 10 11 12 / 13 15 14 .");
        f.deal(position);
        // Slide tile 14 to and fro: 32767 moves that never solve the board.
        for (int move = 1; move <= 32767; ++move)
            f.click(move % 2 ? 14 : 15);
        QCOMPARE(f.board.counter, QStringLiteral("32767"));
        const QString held = f.board.text();
        QCOMPARE(f.board.tags[14], QStringLiteral("16"));

        const int writes = f.board.pictureWrites;
        for (int besideTheBlank : {15, 13, 10})
            f.click(besideTheBlank);
        QCOMPARE(f.board.text(), held);
        QCOMPARE(f.board.pictureWrites, writes);
        QCOMPARE(f.board.counter, QStringLiteral("32767"));
        QCOMPARE(f.game.moves(), int16_t(32767));
        QVERIFY(f.board.enabled);
        QCOMPARE(f.runtime.ends, 0);
    }

    void aWinOnTheLastCountableMoveStillCounts()
    {
        GameFixture f;
        f.deal(QStringLiteral("1 2 3 4 / 5 6 7 8 / 9 10 11 12 / 13 14 . 15"));
        // 32766 moves of tile 11 down and up leave the position as dealt, never solved.
        for (int move = 1; move <= 32766; ++move)
            f.click(move % 2 ? 10 : 14);
        QCOMPARE(f.wins, 0);
        QCOMPARE(f.game.moves(), int16_t(32766));
        f.click(15);
        QCOMPARE(f.wins, 1);
        QCOMPARE(f.wonWith, int16_t(32767));
    }
};

QTEST_GUILESS_MAIN(TestMoves)
#include "test_moves.moc"
