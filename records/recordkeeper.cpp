// SPDX-License-Identifier: GPL-3.0-or-later

#include "records/recordkeeper.h"

#include <utility>

namespace {

using Operation = RecordFileError::Operation;

// The failure told for a use of the file, with what it stopped.
RecordFileResult stopped(RecordFileResult failure, Operation operation)
{
    if (failure)
        failure->operation = operation;
    return failure;
}

// Reads the table to show into shown; a failure already told there stays the one told.
void readTable(const RecordFile &file, RecordsShown &shown)
{
    RecordTable table;
    const RecordFileResult failure = stopped(file.LoadRecords(table), Operation::Read);
    if (!failure)
        shown.table = table;
    else if (!shown.failure)
        shown.failure = failure;
}

} // namespace

RecordKeeper::RecordKeeper(RecordFile file) : m_file(std::move(file)) {}

RecordsShown RecordKeeper::AddResult(qint16 moves, const AskName &askName) const
{
    RecordsShown shown;
    RecordTable table;
    shown.failure = stopped(m_file.LoadRecords(table), Operation::Enter);
    if (!shown.failure && table.qualifies(moves)) {
        shown.failure = stopped(m_file.checkWritable(), Operation::Write);
        if (!shown.failure) {
            const QString name = askName();
            int place = 0;
            shown.failure = stopped(m_file.SaveRecords([&](RecordTable &stored) {
                place = stored.insert(moves, name);
                return place != 0;
            }),
                                    Operation::Write);
            if (!shown.failure) {
                shown.place = place;
                shown.overtaken = place == 0;
            }
        }
    }
    readTable(m_file, shown);
    return shown;
}

RecordsShown RecordKeeper::ViewRec() const
{
    RecordsShown shown;
    readTable(m_file, shown);
    return shown;
}
