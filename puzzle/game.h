#pragma once

#include "puzzle/movecounter.h"
#include "puzzle/tileboard.h"

#include <QRandomGenerator>
#include <QtGlobal>

#include <functional>

// One game from the deal to the solved board. The board holds the tiles' states; the game holds
// only the move counter. A solved board locks its tiles and hands the count to the win hook,
// which returns when the player has seen the records.
class Game
{
public:
    using WinHook = std::function<void(qint16 moves)>;

    static constexpr qint16 MaxMoves = 32767;

    Game(TileBoard &board, MoveCounter &counter);

    void setWinHook(WinHook hook) { m_winHook = std::move(hook); }

    // What the main window does once when it is created, before it is first shown.
    void start();
    // The new-game command: a fresh deal, unlocked tiles, counter back to 0.
    void newGameCommand();
    // Deals a new random board and unlocks the tiles; leaves the counter alone.
    void NewGame();
    // The move of a click on tile k (0..15). A locked tile or an index off the board is ignored.
    void PlayMove(int k);

    qint16 moveCount() const { return m_moveCount; }

private:
    void FlipTile(int i);
    void setTile(int i, TileState state);
    void showMoveCount();
    void EndGame();
    void reseed();

    TileBoard &m_board;
    MoveCounter &m_counter;
    WinHook m_winHook;
    QRandomGenerator m_random;
    quint32 m_deals = 0;
    qint16 m_moveCount = 0;
};
