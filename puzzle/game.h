// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "puzzle/movecounter.h"
#include "puzzle/tileboard.h"

#include <QRandomGenerator>
#include <QtGlobal>

// One game from the deal to the solved board. The board holds the tiles' states; the game holds
// only the move counter. A solved board locks its tiles; what follows a win is the caller's.
class Game
{
public:
    static constexpr qint16 MaxMoves = 32767;

    Game(TileBoard &board, MoveCounter &counter);

    // A fresh deal, unlocked tiles, the counter back to 0: what the main window does when it is
    // created and what the new-game command does.
    void newGameCommand();
    // Deals a new random board and unlocks the tiles; leaves the counter alone.
    void NewGame();
    // The move of a click on tile k (0..15). A locked tile or an index off the board is ignored.
    // True when this move solved the board, which is then locked (EndGame).
    bool PlayMove(int k);

    qint16 moveCount() const { return m_moveCount; }

private:
    void FlipTile(int i);
    void setTile(int i, TileState state);
    void showMoveCount();
    void EndGame();
    void reseed();

    TileBoard &m_board;
    MoveCounter &m_counter;
    QRandomGenerator m_random;
    quint32 m_deals = 0;
    qint16 m_moveCount = 0;
};
