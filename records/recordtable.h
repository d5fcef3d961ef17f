// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "records/recordentry.h"

#include <QString>
#include <QtGlobal>
#include <array>

// The five best results, in slots 1 to 5 (there is no slot 0); slot 1 holds the best.
//
// Order: fewer moves are better, an empty slot (0 moves) is worse than any result, and of two
// equal results the one that entered the table earlier stands higher. Moves compare as signed
// numbers. Nothing checks that a table read from the file keeps this order, and insert() works on
// such a table exactly as on an ordered one.
class RecordTable
{
public:
    static constexpr int SlotCount = 5;

    // A slot outside 1..5 reads as an empty entry.
    const RecordEntry &entry(int slot) const;
    // A slot outside 1..5 is ignored.
    void setEntry(int slot, const RecordEntry &entry);

    // Whether a game won in this many moves enters the table: it beats slot 5, or slot 5 is empty.
    // A result equal to a filled slot 5 does not enter.
    bool qualifies(qint16 moves) const;

    // Enters a qualifying result: it replaces slot 5 and climbs by one upward pass over the pairs
    // 5/4, 4/3, 3/2 and 2/1, in that order, each pair swapping when the lower slot is strictly
    // better or the upper one is empty. Returns the slot the result ended in, or 0 when it did
    // not qualify and the table is unchanged.
    int insert(qint16 moves, const QString &name);

private:
    std::array<RecordEntry, SlotCount> m_slots;
};
