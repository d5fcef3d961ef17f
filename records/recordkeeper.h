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
// The table is read from the file before every use and written back before anything is shown.
// A failing file never ends the game: each call reports at most one failure, its first, to the
// sink, before the window opens; the window opens in every case and shows what could be read,
// an unreadable record as an empty row. When the table cannot be loaded, a won game is not
// entered (no name is asked for, nothing is written), since writing would overwrite records
// that could not be seen.
class RecordKeeper
{
public:
    RecordKeeper(RecordFile file, RecordFileErrorSink &errors);

    // After a game won in `moves` moves: when the result qualifies, asks for a name, sorts the new
    // entry in and saves the table; then shows the window with the result line. Returns the slot
    // the result was saved in, or 0 when it did not enter the table or the save failed.
    int AddResult(qint16 moves, NamePrompt &prompt, RecordsView &view);
    // The records command: the window without the result line.
    void showRecords(RecordsView &view);

    // The table as last read from the file.
    const RecordTable &table() const { return m_table; }

private:
    // Fills the rows from the file, one record at a time, and shows the window. Reports a read
    // failure only when this call has not reported one yet.
    void ViewRec(RecordsView &view, bool failureReported);

    RecordFile m_file;
    RecordFileErrorSink &m_errors;
    RecordTable m_table;
};
