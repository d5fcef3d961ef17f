// SPDX-License-Identifier: GPL-3.0-or-later

// screen-board solve|read SHOT.png — finds the game's board on the X display, as a player sees it,
// and saves the whole screen to SHOT.png. "read" prints the sixteen tiles, top row first, as
// 0 (blue) and 1 (red); "solve" prints the screen points to click, one "x y" a line, that turn
// every tile red, in the fewest moves. A board already all red gets one move and its undoing.
#include "puzzle/game.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTextStream>

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

namespace {

constexpr int Side = TileBoard::Side;
constexpr int TileCount = TileBoard::TileCount;

struct Square
{
    QRect rect;
    bool red;
};

bool isPiece(QRgb pixel)
{
    return pixel == qRgb(255, 0, 0) || pixel == qRgb(0, 0, 255);
}

// Solid squares of pure red or blue, at least 20 pixels a side.
std::vector<Square> findSquares(const QImage &screen)
{
    std::vector<Square> squares;
    for (int y = 1; y < screen.height(); ++y)
        for (int x = 1; x < screen.width(); ++x) {
            const QRgb colour = screen.pixel(x, y);
            if (!isPiece(colour) || screen.pixel(x - 1, y) == colour ||
                screen.pixel(x, y - 1) == colour)
                continue;
            int side = 0;
            while (x + side < screen.width() && screen.pixel(x + side, y) == colour)
                ++side;
            const QRect rect(x, y, side, side);
            bool solid = side >= 20 && rect.bottom() < screen.height();
            for (int dy = 0; solid && dy < side; ++dy)
                for (int dx = 0; solid && dx < side; ++dx)
                    solid = screen.pixel(x + dx, y + dy) == colour;
            if (solid)
                squares.push_back({rect, colour == qRgb(255, 0, 0)});
        }
    return squares;
}

// The squares of one board, top row first, each row from left to right.
std::optional<std::vector<Square>> findBoard(const QImage &screen)
{
    std::vector<Square> squares = findSquares(screen);
    if (squares.size() != TileCount)
        return std::nullopt;
    std::sort(squares.begin(), squares.end(), [](const Square &a, const Square &b) {
        return std::pair(a.rect.top(), a.rect.left()) < std::pair(b.rect.top(), b.rect.left());
    });
    for (int k = 0; k < TileCount; ++k)
        if (squares[k].rect.top() != squares[k - k % Side].rect.top())
            return std::nullopt;
    return squares;
}

// A board of tags only, for the game's own move rule to play on.
class TagBoard : public TileBoard, public MoveCounter
{
public:
    QString tag(int k) const override { return m_tags[k]; }
    void setTag(int k, const QString &tag) override { m_tags[k] = tag; }
    void showPicture(int, TileState) override {}
    bool tileEnabled(int) const override { return true; }
    void setTileEnabled(int, bool) override {}
    void setCounterCaption(const QString &) override {}

private:
    std::array<QString, TileCount> m_tags;
};

// The tiles a move on tile k flips, as bits k = row * 4 + column: what the game's move rule
// turns red on a board of blue tiles.
quint16 moveMask(int k)
{
    TagBoard board;
    for (int i = 0; i < TileCount; ++i)
        board.setTag(i, "0");
    Game(board, board).PlayMove(k);
    quint16 mask = 0;
    for (int i = 0; i < TileCount; ++i)
        if (board.tag(i) == "1")
            mask |= 1 << i;
    return mask;
}

// The fewest tiles whose moves flip exactly the blue tiles.
std::vector<int> solve(quint16 blue)
{
    std::array<quint16, TileCount> masks;
    for (int k = 0; k < TileCount; ++k)
        masks[k] = moveMask(k);
    std::vector<int> best;
    for (int set = 0; set < (1 << TileCount); ++set) {
        quint16 flipped = 0;
        std::vector<int> moves;
        for (int k = 0; k < TileCount; ++k)
            if (set & (1 << k)) {
                flipped ^= masks[k];
                moves.push_back(k);
            }
        if (flipped == blue && (best.empty() || moves.size() < best.size()))
            best = moves;
    }
    return best;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (args.size() != 3 || (args[1] != "solve" && args[1] != "read")) {
        err << "usage: screen-board solve|read SHOT.png\n";
        return 2;
    }
    const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(
        QImage::Format_RGB32);
    if (!screen.save(args[2]))
        err << "could not save " << args[2] << "\n";
    const std::optional<std::vector<Square>> board = findBoard(screen);
    if (!board) {
        err << "no board of 4 x 4 red and blue squares on the screen\n";
        return 1;
    }

    quint16 blue = 0;
    for (int k = 0; k < TileCount; ++k)
        if (!(*board)[k].red)
            blue |= 1 << k;
    if (args[1] == "read") {
        for (int k = 0; k < TileCount; ++k)
            out << ((blue & (1 << k)) ? '0' : '1');
        out << "\n";
        return 0;
    }
    std::vector<int> moves = blue ? solve(blue) : std::vector<int>{0, 0};
    for (int k : moves) {
        const QPoint centre = (*board)[k].rect.center();
        out << centre.x() << " " << centre.y() << "\n";
    }
    return 0;
}
