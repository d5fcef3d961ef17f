// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "puzzle/tileboard.h"

#include <QFrame>
#include <QPointer>

#include <array>

class TileImage;

// The board: the frame `Frame2` with its sixteen tile images `Image1_0` … `Image1_15`, as the
// game sees them through TileBoard. A tile shows the picture of one of the window's two hidden
// holders, copied from it whenever the tile changes.
//
// Every way of playing a tile ends in tileClicked(k): a click, a screen reader's press action,
// and the keyboard. The board is not in the Tab chain and a click leaves the focus where it is;
// it takes the focus only when given it (takeFocus()), and then shows a cursor on one tile.
// Arrows move the cursor and stop at the edges; Space or Enter play its tile; Escape gives the
// focus back to the control it came from, and Tab and Shift+Tab go on through the window's chain
// as if the board stood where that control stands.
class BoardFrame : public QFrame, public TileBoard
{
    Q_OBJECT

public:
    BoardFrame(const TileImage &blue, const TileImage &red, QWidget *parent);

    // Gives the board the focus, the cursor on the tile last used (tile 0 the first time).
    void takeFocus(QWidget *from);

    QString tag(int k) const override;
    void setTag(int k, const QString &tag) override;
    void showPicture(int k, TileState state) override;
    bool tileEnabled(int k) const override;
    void setTileEnabled(int k, bool enabled) override;

signals:
    void tileClicked(int k);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void play(int k);
    void moveCursor(int k);
    static int tileAt(int row, int column);
    // Tells a screen reader that the tile under the cursor has the focus.
    void announceCursor();

    std::array<TileImage *, TileCount> m_tiles{};
    const TileImage &m_blue;
    const TileImage &m_red;
    // The tile last used: played in any way, or reached with the arrows.
    int m_cursor = 0;
    QPointer<QWidget> m_cameFrom;
};
