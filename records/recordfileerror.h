// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <optional>

// Why the records file could not be used. The player's wording belongs to the window that reports
// it; detail is the system's own message, kept for diagnostics. The file layer says the reason;
// the record table, which knows what the file was opened for, says the operation.
struct RecordFileError
{
    enum class Reason {
        IsDirectory,        // a folder stands where the file should be
        FolderMissing,      // the file's folder does not exist, or is not a folder
        NotRegularFile,     // a FIFO, a device, a socket: never a table
        AccessDenied,       // the file or its folder is write-protected (or unreadable)
        FolderNotWritable,  // there is no file yet, and its folder may not be written
        ReadOnlyFileSystem, // the file lies on a file system mounted read-only
        Busy,               // another copy of the game held the file's lock too long
        OpenFailed,
        ReadFailed,
        WriteFailed,
        DiskFull,
    };

    enum class Operation {
        Read,  // showing the table
        Enter, // reading the table to enter a won game: the result is not entered
        Write, // writing the table: the record is not saved
    };

    Reason reason = Reason::OpenFailed;
    Operation operation = Operation::Read;
    QString filePath;
    QString detail;
};

using RecordFileResult = std::optional<RecordFileError>;
