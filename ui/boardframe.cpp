// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/boardframe.h"

#include "ui/design.h"
#include "ui/heldkeys.h"
#include "ui/tileimage.h"

#include <QAccessible>
#include <QKeyEvent>

BoardFrame::BoardFrame(const TileImage &blue, const TileImage &red, QWidget *parent)
    : QFrame(parent), m_blue(blue), m_red(red)
{
    setUpFrame(this, "Frame2", twipsRect(75, 75, 3135, 3330));
    // Read out before the tile under the cursor when the board takes the focus.
    setAccessibleName("Игровое поле");
    for (int k = 0; k < TileCount; ++k) {
        auto *tile = new TileImage(this);
        tile->setObjectName(QString("Image1_%1").arg(k));
        tile->setPlace(QString("Ряд %1, столбец %2").arg(k / Side + 1).arg(k % Side + 1));
        tile->setGeometry(twipsRect(120 + 720 * (k % Side), 240 + 720 * (k / Side), 750, 750));
        connect(tile, &TileImage::clicked, this, [this, k] { play(k); });
        m_tiles[k] = tile;
    }
}

void BoardFrame::takeFocus(QWidget *from)
{
    m_cameFrom = from;
    setFocus(Qt::OtherFocusReason);
}

void BoardFrame::play(int k)
{
    moveCursor(k);
    emit tileClicked(k);
}

void BoardFrame::moveCursor(int k)
{
    if (k == m_cursor)
        return;
    m_tiles[m_cursor]->setCursorShown(false);
    m_cursor = k;
    m_tiles[k]->setCursorShown(hasFocus());
    announceCursor();
}

// The tile at row and column, or at the nearest edge of the board.
int BoardFrame::tileAt(int row, int column)
{
    return qBound(0, row, Side - 1) * Side + qBound(0, column, Side - 1);
}

void BoardFrame::announceCursor()
{
    if (!hasFocus())
        return;
    QAccessibleEvent focused(m_tiles[m_cursor], QAccessible::Focus);
    QAccessible::updateAccessibility(&focused);
}

void BoardFrame::keyPressEvent(QKeyEvent *event)
{
    const int row = m_cursor / Side;
    const int column = m_cursor % Side;
    switch (event->key()) {
    case Qt::Key_Left:
        return moveCursor(tileAt(row, column - 1));
    case Qt::Key_Right:
        return moveCursor(tileAt(row, column + 1));
    case Qt::Key_Up:
        return moveCursor(tileAt(row - 1, column));
    case Qt::Key_Down:
        return moveCursor(tileAt(row + 1, column));
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // A held key is one move, as a held mouse button is.
        if (!HeldKeys::isRepeat(*event))
            play(m_cursor);
        return;
    case Qt::Key_Escape:
        if (m_cameFrom)
            m_cameFrom->setFocus(Qt::OtherFocusReason);
        return;
    default:
        QFrame::keyPressEvent(event);
    }
}

void BoardFrame::focusInEvent(QFocusEvent *event)
{
    QFrame::focusInEvent(event);
    m_tiles[m_cursor]->setCursorShown(true);
    // Qt tells screen readers of the board's own focus after this returns; the tile is told of
    // afterwards, so that it is the tile they read.
    QMetaObject::invokeMethod(this, &BoardFrame::announceCursor, Qt::QueuedConnection);
}

void BoardFrame::focusOutEvent(QFocusEvent *event)
{
    QFrame::focusOutEvent(event);
    m_tiles[m_cursor]->setCursorShown(false);
}

bool BoardFrame::focusNextPrevChild(bool next)
{
    if (!m_cameFrom)
        return QFrame::focusNextPrevChild(next);
    QWidget *target = m_cameFrom;
    do
        target = next ? target->nextInFocusChain() : target->previousInFocusChain();
    while (target != m_cameFrom &&
           !((target->focusPolicy() & Qt::TabFocus) && target->isVisible() && target->isEnabled()));
    target->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

QString BoardFrame::tag(int k) const
{
    return m_tiles[k]->tag();
}

void BoardFrame::setTag(int k, const QString &tag)
{
    m_tiles[k]->setTag(tag);
}

void BoardFrame::showPicture(int k, TileState state)
{
    m_tiles[k]->setPicture((state == TileState::Red ? m_red : m_blue).picture());
}

bool BoardFrame::tileEnabled(int k) const
{
    return m_tiles[k]->isEnabled();
}

void BoardFrame::setTileEnabled(int k, bool enabled)
{
    m_tiles[k]->setEnabled(enabled);
}
