// SPDX-License-Identifier: GPL-3.0-or-later

#include "records/recordfile.h"

#include "records/lockedfile.h"

#include <utility>

namespace {

constexpr qsizetype TableSize = RecordTable::SlotCount * RecordEntry::RecordSize;

RecordTable tableOf(const QByteArray &bytes)
{
    RecordTable table;
    for (int n = 1; n <= RecordTable::SlotCount; ++n)
        table.setEntry(n, RecordEntry::fromRecord(QByteArrayView(bytes).sliced(
                              qMin(bytes.size(), (n - 1) * RecordEntry::RecordSize))));
    return table;
}

QByteArray bytesOf(const RecordTable &table)
{
    QByteArray bytes;
    for (int n = 1; n <= RecordTable::SlotCount; ++n)
        bytes += table.entry(n).toRecord();
    return bytes;
}

} // namespace

RecordFile::RecordFile(QString path) : m_path(std::move(path)) {}

RecordFileResult RecordFile::LoadRecords(RecordTable &table) const
{
    table = RecordTable();
    LockedFile file(m_path, LockedFile::Mode::Read);
    QByteArray bytes;
    if (auto error = file.open())
        return error;
    if (auto error = file.read(bytes, TableSize))
        return error;
    table = tableOf(bytes);
    return std::nullopt;
}

RecordFileResult RecordFile::checkWritable() const
{
    return LockedFile(m_path, LockedFile::Mode::Write).open();
}

RecordFileResult RecordFile::SaveRecords(const Change &change) const
{
    LockedFile file(m_path, LockedFile::Mode::Write);
    QByteArray old;
    if (auto error = file.open())
        return error;
    if (auto error = file.read(old, TableSize))
        return error;
    RecordTable table = tableOf(old);
    if (!change(table))
        return std::nullopt;
    return file.replace(old, bytesOf(table));
}
