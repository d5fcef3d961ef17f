#include "records/recordfile.h"

#include <QFile>
#include <QFileInfo>
#include <utility>

namespace {

bool validSlot(int n)
{
    return n >= 1 && n <= RecordTable::SlotCount;
}

qint64 recordOffset(int n)
{
    return qint64(n - 1) * RecordEntry::RecordSize;
}

} // namespace

RecordFile::RecordFile(QString path) : m_path(std::move(path)) {}

RecordFileResult RecordFile::ReadRecord(int n, RecordTable &table) const
{
    if (!validSlot(n))
        return std::nullopt;
    table.setEntry(n, RecordEntry());
    QFile file(m_path);
    if (auto error = open(file, Access::Read))
        return error;
    const qint64 offset = recordOffset(n);
    if (file.size() < offset + RecordEntry::RecordSize)
        return std::nullopt;
    QByteArray record;
    if (file.seek(offset))
        record = file.read(RecordEntry::RecordSize);
    if (record.size() != RecordEntry::RecordSize)
        return failure(RecordFileError::Reason::ReadFailed, Access::Read, file.errorString());
    table.setEntry(n, RecordEntry::fromRecord(record));
    return std::nullopt;
}

RecordFileResult RecordFile::WriteRecord(int n, const RecordTable &table) const
{
    if (!validSlot(n))
        return std::nullopt;
    QFile file(m_path);
    if (auto error = open(file, Access::Write))
        return error;
    const QByteArray record = table.entry(n).toRecord();
    if (!file.seek(recordOffset(n)) || file.write(record) != record.size()) {
        const auto reason = file.error() == QFileDevice::ResourceError
                                ? RecordFileError::Reason::DiskFull
                                : RecordFileError::Reason::WriteFailed;
        return failure(reason, Access::Write, file.errorString());
    }
    return std::nullopt;
}

RecordFileResult RecordFile::LoadRecords(RecordTable &table) const
{
    RecordFileResult first;
    for (int n = 1; n <= RecordTable::SlotCount; ++n) {
        RecordFileResult result = ReadRecord(n, table);
        if (result && !first)
            first = std::move(result);
    }
    return first;
}

RecordFileResult RecordFile::SaveRecords(const RecordTable &table) const
{
    for (int n = 1; n <= RecordTable::SlotCount; ++n) {
        if (auto error = WriteRecord(n, table))
            return error;
    }
    return std::nullopt;
}

RecordFileResult RecordFile::open(QFile &file, Access access) const
{
    const QFileInfo info(m_path);
    if (info.isDir())
        return failure(RecordFileError::Reason::IsDirectory, access);
    const QFileInfo folder(info.absolutePath());
    if (!folder.isDir())
        return failure(RecordFileError::Reason::FolderMissing, access);

    if (file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return std::nullopt;
    // A table the player may not change can still be shown.
    if (access == Access::Read && info.exists() &&
        file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return std::nullopt;

    const bool denied = !info.exists()            ? !folder.isWritable()
                        : access == Access::Write ? !info.isWritable()
                                                  : !info.isReadable();
    return failure(denied ? RecordFileError::Reason::AccessDenied
                          : RecordFileError::Reason::OpenFailed,
                   access, file.errorString());
}

RecordFileError RecordFile::failure(RecordFileError::Reason reason, Access access,
                                    const QString &detail) const
{
    return RecordFileError{reason, access, m_path, detail};
}
