#pragma once

#include "records/recordfile.h"
#include "records/recordtable.h"

#include <QString>
#include <QtGlobal>

// Asks the player who has just entered the table for a name.
class NamePrompt
{
public:
    virtual ~NamePrompt() = default;
    // The text typed, unchanged; empty when the prompt was cancelled or closed.
    virtual QString askName() = 0;
};

// The records window. Each display gets a view of its own, made fresh for it by the caller.
class RecordsView
{
public:
    virtual ~RecordsView() = default;
    // Row n (1 to 5) shows slot n: the name as stored up to its first NUL, and the moves as
    // they are, negative or 0 included.
    virtual void setRow(int n, const QString &name, qint16 moves) = 0;
    // Makes the result line visible, telling the count of the game just won.
    virtual void showResult(qint16 moves) = 0;
    virtual void hideResult() = 0;
    // Shows the window modally and returns when the player has closed it.
    virtual void showModal() = 0;
};

class RecordFileErrorSink
{
public:
    virtual ~RecordFileErrorSink() = default;
    virtual void reportFileError(const RecordFileError &error) = 0;
};

// What the record table does for the game: enter a won game, and show the table.
//
// The table is read from the file before every use. A failing file never ends the game: each
// call reports at most one failure, its first, to the sink, before the window opens; the window
// opens in every case and shows what the file holds (five empty rows when it cannot be read).
//
// Several copies of the game may share the file. A won game's result is sorted into the table as
// it stands once the name has been entered, read again then under the file's lock; a result that
// no longer qualifies by then is not entered. No lock is held while the prompt is open. No name
// is asked for a result that cannot be kept: when the table cannot be read (writing would
// overwrite records that could not be seen) or the file cannot be written.
class RecordKeeper
{
public:
    RecordKeeper(RecordFile file, RecordFileErrorSink &errors);

    // After a game won in `moves` moves: when the result qualifies, asks for a name, sorts the new
    // entry into the table as the file then holds it and saves the table; then shows the window
    // with the result line. Returns the slot the result was saved in, or 0 when it did not enter
    // the table or the save failed.
    int AddResult(qint16 moves, NamePrompt &prompt, RecordsView &view);
    // The records command: the window without the result line.
    void showRecords(RecordsView &view);

    // The table as last read from the file.
    const RecordTable &table() const { return m_table; }

private:
    // Fills the rows from the file and shows the window. Reports a read failure only when this
    // call has not reported one yet.
    void ViewRec(RecordsView &view, bool failureReported);

    RecordFile m_file;
    RecordFileErrorSink &m_errors;
    RecordTable m_table;
};
