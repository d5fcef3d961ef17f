// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "records/recordfileerror.h"
#include "records/recordtable.h"

#include <QString>
#include <functional>

// Records.dat: record n (1 to 5) is the 12 bytes at offset (n - 1) * 12. Only a regular file is a
// table; a missing one is created empty. Nothing past byte 60 is ever touched, and the file is
// never truncated, deleted or renamed, so its permissions, owner and links stay as they are.
//
// The table moves as one image of 60 bytes, never record by record: a load is one read under a
// shared lock, a save one write under an exclusive lock held from reading the table again to the
// end of the write. Written record by record, a crash, a full disk or a second copy of the game
// saving at the same time would tear the table.
//
// Every operation returns nothing on success and its failure otherwise; what the failure stopped
// (its operation) is left for the caller to say. A record the file does not hold in full (a short
// file) reads as an empty, never-written entry: that is not a failure. A file that may not be
// written is still read, and a missing one in a folder that may not be written reads as an empty
// table.
class RecordFile
{
public:
    // Changes a table read from the file; true when there is something to write back.
    using Change = std::function<bool(RecordTable &table)>;

    explicit RecordFile(QString path);

    // The table as the file holds it now. On failure the table is left with five empty slots.
    [[nodiscard]] RecordFileResult LoadRecords(RecordTable &table) const;
    // Whether a save could open and lock the file for writing now.
    [[nodiscard]] RecordFileResult checkWritable() const;
    // Reads the table again under the exclusive lock, lets change alter it and, when change says
    // so, writes all five records back and syncs them to the disk before the lock is released.
    // All or nothing: on failure the file holds the table it held before.
    [[nodiscard]] RecordFileResult SaveRecords(const Change &change) const;

private:
    QString m_path;
};
