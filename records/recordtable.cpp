// SPDX-License-Identifier: GPL-3.0-or-later

#include "records/recordtable.h"

#include <utility>

namespace {

bool validSlot(int slot)
{
    return slot >= 1 && slot <= RecordTable::SlotCount;
}

} // namespace

const RecordEntry &RecordTable::entry(int slot) const
{
    static const RecordEntry none;
    return validSlot(slot) ? m_slots[slot - 1] : none;
}

void RecordTable::setEntry(int slot, const RecordEntry &entry)
{
    if (validSlot(slot))
        m_slots[slot - 1] = entry;
}

bool RecordTable::qualifies(qint16 moves) const
{
    const qint16 last = entry(SlotCount).moves();
    return moves < last || last == 0;
}

int RecordTable::insert(qint16 moves, const QString &name)
{
    if (!qualifies(moves))
        return 0;
    RecordEntry &last = m_slots[SlotCount - 1];
    last.setMoves(moves);
    last.setName(name);

    int place = SlotCount;
    for (int i = SlotCount; i != 1; --i) {
        RecordEntry &lower = m_slots[i - 1];
        RecordEntry &upper = m_slots[i - 2];
        if (lower.moves() < upper.moves() || upper.moves() == 0) {
            std::swap(lower, upper);
            if (place == i)
                place = i - 1;
        }
    }
    return place;
}
