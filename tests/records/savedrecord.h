#pragma once

#include "records/recordentry.h"

#include <QChar>
#include <QString>

// The record that savetable's writer saves as record n in round r.
inline RecordEntry savedRecord(QChar writer, int n, int round)
{
    RecordEntry entry;
    entry.setName(QStringLiteral("%1%2-%3").arg(writer).arg(n).arg(round));
    const int moves = (round * 7 + n) % 30000 + 1;
    entry.setMoves(qint16(writer == u'A' ? moves : -moves));
    return entry;
}
