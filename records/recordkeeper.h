// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "records/recordfile.h"
#include "records/recordtable.h"

#include <QString>
#include <QtGlobal>

#include <functional>
#include <optional>

// What one use of the record table came to, for the records window to show.
struct RecordsShown
{
    // The table as the file holds it now; nothing when it could not be read.
    std::optional<RecordTable> table;
    // The first failure of the file in this use, if any, with what it stopped.
    RecordFileResult failure;
    // The slot a won game's result was saved in; 0 when it was not entered.
    int place = 0;
    // The result qualified when the game was won, but no longer did when it was saved: another
    // copy of the game saved better results meanwhile.
    bool overtaken = false;
};

// What the record table does for the game: enter a won game, and read the table to show. It opens
// no window; the caller asks the name when told to, and shows what it is given.
//
// The table is read from the file before every use, and a failing file never ends the game.
//
// Several copies of the game may share the file. A won game's result is sorted into the table as
// it stands once the name has been entered, read again then under the file's lock; a result that
// no longer qualifies by then is not entered. No lock is held while the name is asked. No name is
// asked for a result that cannot be kept: when the table cannot be read (writing would overwrite
// records that could not be seen) or the file cannot be written.
class RecordKeeper
{
public:
    // Asks the player who has just entered the table for a name: the text typed, unchanged, or
    // an empty text when the question was cancelled.
    using AskName = std::function<QString()>;

    explicit RecordKeeper(RecordFile file);

    // After a game won in `moves` moves: when the result qualifies, asks for a name, sorts the new
    // entry into the table as the file then holds it and saves the table; then reads the table to
    // show.
    RecordsShown AddResult(qint16 moves, const AskName &askName) const;
    // The records command: the table to show.
    RecordsShown ViewRec() const;

private:
    RecordFile m_file;
};
