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

} // namespace

RecordKeeper::RecordKeeper(RecordFile file) : m_file(std::move(file)) {}

RecordsShown RecordKeeper::AddResult(qint16 moves, const AskName &askName) const
{
    RecordsShown entered;
    RecordTable table;
    entered.failure = stopped(m_file.LoadRecords(table), Operation::Enter);
    if (!entered.failure && table.qualifies(moves)) {
        entered.failure = stopped(m_file.checkWritable(), Operation::Write);
        if (!entered.failure) {
            const QString name = askName();
            entered.failure = stopped(m_file.SaveRecords([&](RecordTable &stored) {
                entered.place = stored.insert(moves, name);
                return entered.place != 0;
            }),
                                      Operation::Write);
            if (entered.failure)
                entered.place = 0;
            else
                entered.overtaken = entered.place == 0;
        }
    }

    RecordsShown shown = ViewRec();
    shown.place = entered.place;
    shown.overtaken = entered.overtaken;
    if (entered.failure)
        shown.failure = entered.failure;
    return shown;
}

RecordsShown RecordKeeper::ViewRec() const
{
    RecordsShown shown;
    RecordTable table;
    shown.failure = stopped(m_file.LoadRecords(table), Operation::Read);
    if (!shown.failure)
        shown.table = table;
    return shown;
}
