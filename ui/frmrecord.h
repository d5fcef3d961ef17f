// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "records/recordtable.h"
#include "ui/designdialog.h"

#include <QtGlobal>

#include <array>

class QFrame;
class QLabel;

// The records window: five rows of place, name and moves, the trophy, and under the table the
// result line of a game just won. It shows what it is given and reads nothing itself. A new
// window holds the design-time texts: names "LblName", moves "0", an empty result line that is
// visible; the caller sets every row and the result line before each showing.
class FrmRecord : public DesignDialog
{
    Q_OBJECT

public:
    static constexpr int Rows = 5;

    explicit FrmRecord(QWidget *parent = nullptr);

    // Row n, 1 to 5 (other n are ignored): the name up to its first NUL character, and the moves
    // in decimal with a minus sign when negative.
    void setRow(int n, const QString &name, qint16 moves);
    // Row n shows slot n of table, for every row.
    void showTable(const RecordTable &table);
    // In place of the rows, that the table could not be read.
    void showUnreadable();
    // Shows the result line "Вы справились за <moves> ходов".
    void showResult(qint16 moves);
    // Shows, in the result line, that the result was not entered after all: while the name was
    // typed, other copies of the game saved better results.
    void showOvertaken();
    // Hides the result line altogether, its coloured band included.
    void hideResult();

private:
    void createTable();

    std::array<QLabel *, Rows> m_names{};
    std::array<QLabel *, Rows> m_moves{};
    QFrame *m_table = nullptr;
    QLabel *m_unreadable = nullptr;
    QLabel *m_result = nullptr;
};
