// SPDX-License-Identifier: GPL-3.0-or-later

#include "puzzle/game.h"

#include <chrono>
#include <random>

Game::Game(TileBoard &board, MoveCounter &counter) : m_board(board), m_counter(counter) {}

void Game::newGameCommand()
{
    NewGame();
    m_moveCount = 0;
    showMoveCount();
}

// Every deal is seeded afresh from the clock, as the game always did. A nanosecond clock alone
// could still hand two deals in the same tick the same seed, so the number of the deal is mixed
// in: two new games are independent however fast they follow each other.
void Game::reseed()
{
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    std::seed_seq seed{quint32(ticks), quint32(quint64(ticks) >> 32), ++m_deals};
    m_random.seed(seed);
}

void Game::NewGame()
{
    reseed();
    for (int i = 0; i < TileBoard::TileCount; ++i)
        m_board.setTileEnabled(i, true);
    for (int i = 0; i < TileBoard::TileCount; ++i) {
        const int d = int(m_random.generateDouble() * 10);
        setTile(i, d % 2 != 0 ? TileState::Red : TileState::Blue);
    }
}

void Game::setTile(int i, TileState state)
{
    m_board.setTag(i, QString::number(int(state)));
    m_board.showPicture(i, state);
}

void Game::FlipTile(int i)
{
    setTile(i, tileState(m_board.tag(i)) == TileState::Red ? TileState::Blue : TileState::Red);
}

bool Game::PlayMove(int k)
{
    if (k < 0 || k >= TileBoard::TileCount || !m_board.tileEnabled(k))
        return false;

    const int rowStart = k / TileBoard::Side * TileBoard::Side;
    for (int i = rowStart; i < rowStart + TileBoard::Side; ++i)
        FlipTile(i);
    for (int i = k % TileBoard::Side; i < TileBoard::TileCount; i += TileBoard::Side)
        FlipTile(i);
    // The clicked tile was flipped with its row and again with its column.
    FlipTile(k);

    // A game can outlast the counter; it stops at its top rather than wrap to a negative count,
    // which would later beat every real record.
    if (m_moveCount < MaxMoves)
        ++m_moveCount;
    showMoveCount();

    int redCount = 0;
    for (int i = 0; i < TileBoard::TileCount; ++i)
        redCount += tileState(m_board.tag(i)) == TileState::Red;
    if (redCount != TileBoard::TileCount)
        return false;
    EndGame();
    return true;
}

void Game::showMoveCount()
{
    m_counter.setCounterCaption(QString::number(m_moveCount));
}

void Game::EndGame()
{
    for (int i = 0; i < TileBoard::TileCount; ++i)
        m_board.setTileEnabled(i, false);
}
