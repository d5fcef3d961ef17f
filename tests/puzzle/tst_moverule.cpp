// SPDX-License-Identifier: GPL-3.0-or-later

#include "puzzle/game.h"

#include <QSet>
#include <QTest>

#include <array>
#include <cmath>

namespace {

// The board as plain data: what the game may see and change of a tile, and the counter caption.
class FakeBoard : public TileBoard, public MoveCounter
{
public:
    struct Tile
    {
        QString tag;
        TileState picture = TileState::Blue;
        bool enabled = true;
    };
    std::array<Tile, TileCount> tiles;
    QString caption;

    QString tag(int k) const override { return tiles[k].tag; }
    void setTag(int k, const QString &tag) override { tiles[k].tag = tag; }
    void showPicture(int k, TileState state) override { tiles[k].picture = state; }
    bool tileEnabled(int k) const override { return tiles[k].enabled; }
    void setTileEnabled(int k, bool enabled) override { tiles[k].enabled = enabled; }
    void setCounterCaption(const QString &caption) override { this->caption = caption; }

    // Lays out a board from a 16-character string of '0' (blue) and '1' (red).
    void lay(const QString &states)
    {
        for (int k = 0; k < TileCount; ++k) {
            tiles[k].tag = states.mid(k, 1);
            tiles[k].picture = states[k] == u'1' ? TileState::Red : TileState::Blue;
            tiles[k].enabled = true;
        }
    }
    QString states() const
    {
        QString s;
        for (const Tile &t : tiles)
            s += t.tag;
        return s;
    }
    bool picturesMatchTags() const
    {
        return std::all_of(tiles.begin(), tiles.end(),
                           [](const Tile &t) { return t.tag == QString::number(int(t.picture)); });
    }
    int enabledCount() const
    {
        return int(
            std::count_if(tiles.begin(), tiles.end(), [](const Tile &t) { return t.enabled; }));
    }
};

const QString AllRed(16, u'1');

QString flipped(QString states, std::initializer_list<int> tiles)
{
    for (int k : tiles)
        states[k] = states[k] == u'1' ? u'0' : u'1';
    return states;
}

} // namespace

class TestMoveRule : public QObject
{
    Q_OBJECT

private slots:
    void moveFlipsRowAndColumn_data();
    void moveFlipsRowAndColumn();
    void clickingTwiceRestoresBoard();
    void rowAndColumnClicksFlipOnlyTheCrossing();
    void winComesOnTheSolvingMove();
    void allRedDealIsNoWin();
    void lockedBoardCountsNoMove();
    void counterStopsAtItsTop();
    void newGameUnlocksAndResets();
    void dealIsFair();
    void dealsAreFresh();
};

void TestMoveRule::moveFlipsRowAndColumn_data()
{
    QTest::addColumn<int>("tile");
    QTest::addColumn<QList<int>>("changed");
    QTest::newRow("top-left") << 0 << QList<int>{0, 1, 2, 3, 4, 8, 12};
    QTest::newRow("tile 5") << 5 << QList<int>{1, 4, 5, 6, 7, 9, 13};
    QTest::newRow("bottom-right") << 15 << QList<int>{3, 7, 11, 12, 13, 14, 15};
}

void TestMoveRule::moveFlipsRowAndColumn()
{
    QFETCH(int, tile);
    QFETCH(QList<int>, changed);
    const QString start = "0110100111000011";
    FakeBoard board;
    Game game(board, board);
    board.lay(start);

    game.PlayMove(tile);

    for (int k = 0; k < TileBoard::TileCount; ++k)
        QCOMPARE(board.states()[k] != start[k], changed.contains(k));
    QVERIFY(board.picturesMatchTags());
    QCOMPARE(game.moveCount(), 1);
    QCOMPARE(board.caption, "1");
}

void TestMoveRule::clickingTwiceRestoresBoard()
{
    FakeBoard board;
    Game game(board, board);
    for (int k = 0; k < TileBoard::TileCount; ++k) {
        board.lay("1010010110100100");
        const qint16 before = game.moveCount();
        game.PlayMove(k);
        game.PlayMove(k);
        QCOMPARE(board.states(), "1010010110100100");
        QCOMPARE(game.moveCount(), before + 2);
    }
}

// Every board can be solved: the seven moves of one tile's row and column add up to a flip of
// that tile alone.
void TestMoveRule::rowAndColumnClicksFlipOnlyTheCrossing()
{
    FakeBoard board;
    Game game(board, board);
    const QString start = "0000111100001111";
    board.lay(start);
    for (int k : {4, 5, 6, 7, 1, 9, 13})
        game.PlayMove(k);
    QCOMPARE(board.states(), flipped(start, {5}));
    QCOMPARE(board.caption, "7");
}

void TestMoveRule::winComesOnTheSolvingMove()
{
    FakeBoard board;
    Game game(board, board);
    board.lay(flipped(AllRed, {3, 7, 11, 12, 13, 14, 15}));
    QVERIFY(!game.PlayMove(0));
    QVERIFY(!game.PlayMove(0));
    QCOMPARE(board.enabledCount(), TileBoard::TileCount);

    QVERIFY(game.PlayMove(15));

    QCOMPARE(board.states(), AllRed);
    QCOMPARE(board.enabledCount(), 0);
    QCOMPARE(game.moveCount(), 3);
    QCOMPARE(board.caption, "3");
}

void TestMoveRule::allRedDealIsNoWin()
{
    FakeBoard board;
    Game game(board, board);
    board.lay(AllRed);
    QVERIFY(!game.PlayMove(6));
    QCOMPARE(board.states().count(u'0'), 7);
    QCOMPARE(board.enabledCount(), TileBoard::TileCount);
}

void TestMoveRule::lockedBoardCountsNoMove()
{
    FakeBoard board;
    Game game(board, board);
    board.lay(flipped(AllRed, {0, 1, 2, 3, 4, 8, 12}));
    QVERIFY(game.PlayMove(0));
    QCOMPARE(board.enabledCount(), 0);

    for (int k = -1; k <= TileBoard::TileCount; ++k)
        QVERIFY(!game.PlayMove(k));

    QCOMPARE(board.states(), AllRed);
    QCOMPARE(game.moveCount(), 1);
    QCOMPARE(board.caption, "1");
}

void TestMoveRule::counterStopsAtItsTop()
{
    FakeBoard board;
    Game game(board, board);
    // Tile 5 is outside tile 0's row and column, so the board never comes out all red.
    board.lay(flipped(AllRed, {5}));
    for (int i = 0; i < Game::MaxMoves + 10; ++i)
        game.PlayMove(0);
    QCOMPARE(game.moveCount(), Game::MaxMoves);
    QCOMPARE(board.caption, "32767");
}

void TestMoveRule::newGameUnlocksAndResets()
{
    FakeBoard board;
    Game game(board, board);
    game.newGameCommand();
    QCOMPARE(board.caption, "0");
    QCOMPARE(board.enabledCount(), TileBoard::TileCount);
    QVERIFY(board.picturesMatchTags());

    board.lay(flipped(AllRed, {0, 1, 2, 3, 4, 8, 12}));
    game.PlayMove(0);
    QCOMPARE(board.enabledCount(), 0);

    game.newGameCommand();
    QCOMPARE(board.enabledCount(), TileBoard::TileCount);
    QCOMPARE(board.caption, "0");
    QCOMPARE(game.moveCount(), 0);
    QVERIFY(board.picturesMatchTags());
    for (const auto &tile : board.tiles)
        QVERIFY(tile.tag == "0" || tile.tag == "1");
}

// Each tile must come out red half the time. With 20,000 deals a tile's red count has a standard
// deviation of about 71; 5.5 of those on either side is missed by a fair deal with a chance of
// 4e-8 per tile, under one in a million for all sixteen.
void TestMoveRule::dealIsFair()
{
    FakeBoard board;
    Game game(board, board);
    constexpr int Deals = 20000;
    std::array<int, TileBoard::TileCount> red{};
    for (int n = 0; n < Deals; ++n) {
        game.NewGame();
        for (int k = 0; k < TileBoard::TileCount; ++k)
            red[k] += board.tiles[k].tag == "1";
    }
    const double bound = 5.5 * std::sqrt(Deals * 0.25);
    for (int k = 0; k < TileBoard::TileCount; ++k)
        QVERIFY2(std::abs(red[k] - Deals / 2) <= bound,
                 qPrintable(QString("tile %1 red %2 times of %3").arg(k).arg(red[k]).arg(Deals)));
}

// New games in quick succession must not repeat a board, as a deal seeded from a coarse clock
// would. 100 fair deals of 65,536 boards repeat one about 0.08 times on average.
void TestMoveRule::dealsAreFresh()
{
    FakeBoard board;
    Game game(board, board);
    QSet<QString> boards;
    for (int n = 0; n < 100; ++n) {
        game.NewGame();
        boards.insert(board.states());
    }
    QVERIFY2(boards.size() >= 95, qPrintable(QString::number(boards.size())));
}

QTEST_GUILESS_MAIN(TestMoveRule)
#include "tst_moverule.moc"
