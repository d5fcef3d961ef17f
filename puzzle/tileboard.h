// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// A piece is blue (0) or red (1); its tile's tag text is the digit, and the only copy of it.
enum class TileState { Blue = 0, Red = 1 };

// The state a tag stands for. Any tag that does not read as 0 counts as red, so a tile always has
// one of the two states and a flip always writes a clean "0" or "1".
inline TileState tileState(const QString &tag)
{
    return tag.toInt() != 0 ? TileState::Red : TileState::Blue;
}

// The sixteen tiles as the game sees them. Tile index k lies in row k / 4
// and column k % 4: tiles 0..3 are the top row from left to right, tile 15 is bottom right.
// The board widget implements this over its tile images; tests over an array.
class TileBoard
{
public:
    static constexpr int Side = 4;
    static constexpr int TileCount = Side * Side;

    virtual ~TileBoard() = default;

    virtual QString tag(int k) const = 0;
    virtual void setTag(int k, const QString &tag) = 0;
    // Shows the picture of the holder for state; the tag is not touched.
    virtual void showPicture(int k, TileState state) = 0;
    virtual bool tileEnabled(int k) const = 0;
    virtual void setTileEnabled(int k, bool enabled) = 0;
};
