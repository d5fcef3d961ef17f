#include "records/recordkeeper.h"

#include <utility>

RecordKeeper::RecordKeeper(RecordFile file, RecordFileErrorSink &errors)
    : m_file(std::move(file)), m_errors(errors)
{}

int RecordKeeper::AddResult(qint16 moves, NamePrompt &prompt, RecordsView &view)
{
    int place = 0;
    RecordFileResult failure = m_file.LoadRecords(m_table);
    if (failure) {
        failure->operation = RecordFileError::Operation::Enter;
    } else if (m_table.qualifies(moves)) {
        failure = m_file.checkWritable();
        if (!failure) {
            const QString name = prompt.askName();
            failure = m_file.SaveRecords([&](RecordTable &table) {
                place = table.insert(moves, name);
                return place != 0;
            });
            if (failure)
                place = 0;
        }
    }
    if (failure)
        m_errors.reportFileError(*failure);
    view.showResult(moves);
    ViewRec(view, failure.has_value());
    return place;
}

void RecordKeeper::showRecords(RecordsView &view)
{
    view.hideResult();
    ViewRec(view, false);
}

void RecordKeeper::ViewRec(RecordsView &view, bool failureReported)
{
    const RecordFileResult failure = m_file.LoadRecords(m_table);
    if (failure && !failureReported)
        m_errors.reportFileError(*failure);
    for (int n = 1; n <= RecordTable::SlotCount; ++n) {
        const RecordEntry &entry = m_table.entry(n);
        view.setRow(n, entry.name(), entry.moves());
    }
    view.showModal();
}
