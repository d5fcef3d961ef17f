#pragma once

#include "records/recordtable.h"

#include <QString>
#include <optional>

class QFile;

// Why the records file could not be used. The player's wording belongs to the window that reports
// it; detail is the system's own message, kept for diagnostics.
struct RecordFileError
{
    enum class Reason {
        IsDirectory,   // a folder stands where the file should be
        FolderMissing, // the file's folder does not exist, or is not a folder
        AccessDenied,  // the file or its folder is write-protected (or unreadable)
        OpenFailed,
        ReadFailed,
        WriteFailed,
        DiskFull,
    };

    // Whether the table was being read or written: a failed write means the record is not saved.
    enum class Operation { Read, Write };

    Reason reason = Reason::OpenFailed;
    Operation operation = Operation::Read;
    QString filePath;
    QString detail;
};

using RecordFileResult = std::optional<RecordFileError>;

// Records.dat: record n (1 to 5) is the 12 bytes at offset (n - 1) * 12. The file is opened and
// closed again for every record; a missing file is created empty. Nothing past byte 60 is ever
// touched, and the file is never truncated, deleted or renamed.
//
// Every operation returns nothing on success and the first failure otherwise. A record the file
// does not hold in full (a short file, or one removed since the last load) reads as an empty,
// never-written entry: that is not a failure. A file that may not be written is still read.
class RecordFile
{
public:
    explicit RecordFile(QString path);

    QString path() const { return m_path; }

    // Reads record n into slot n; on failure slot n is left empty. A slot outside 1..5 is ignored.
    [[nodiscard]] RecordFileResult ReadRecord(int n, RecordTable &table) const;
    // Writes slot n as record n. A slot outside 1..5 is ignored.
    [[nodiscard]] RecordFileResult WriteRecord(int n, const RecordTable &table) const;
    // Reads all five records even after a failure, so the table holds whatever could be read.
    [[nodiscard]] RecordFileResult LoadRecords(RecordTable &table) const;
    // Stops at the first record that cannot be written: the records before it are new, the
    // records from it on are as they were.
    [[nodiscard]] RecordFileResult SaveRecords(const RecordTable &table) const;

private:
    using Access = RecordFileError::Operation;

    RecordFileResult open(QFile &file, Access access) const;
    RecordFileError failure(RecordFileError::Reason reason, Access access,
                            const QString &detail = {}) const;

    QString m_path;
};
