// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "records/recordfileerror.h"

#include <QByteArray>
#include <QString>

// Records.dat opened and locked for one load or one save, and closed (its lock released) when the
// object goes. Qt has no lock on an open file, no data sync and no write at an offset in one call,
// so this is the one place that calls the system directly: lockedfile.cpp keeps the waits, the
// undoing of a failed save and the failures, and one file per system makes the calls
// (lockedfileposix.cpp, lockedfilewindows.cpp).
//
// The lock is on the table file itself: it goes away with a process that dies, and leaves no lock
// file behind.
class LockedFile
{
public:
    enum class Mode {
        Read,  // shared lock: readers together, never beside a writer
        Write, // exclusive lock, opened for writing
    };

    LockedFile(QString path, Mode mode);
    ~LockedFile();
    LockedFile(const LockedFile &) = delete;
    LockedFile &operator=(const LockedFile &) = delete;

    // Only a regular file is a table (a symbolic link to one is followed). Anything else is
    // refused before it is opened, since opening a FIFO or a device can block or have effects; a
    // missing file is created empty. Where it cannot be created because its folder may not be
    // written, a reader opens nothing and reads an empty file, and a writer fails with
    // Reason::FolderNotWritable (or ReadOnlyFileSystem).
    //
    // The wait for the lock is bounded (a few seconds): a lock not had by then is a failure,
    // Reason::Busy, never a hang. Where the file system cannot lock at all, the file is opened
    // without the lock.
    [[nodiscard]] RecordFileResult open();
    // At most size bytes from offset 0; fewer when the file is shorter.
    [[nodiscard]] RecordFileResult read(QByteArray &bytes, qsizetype size);
    // Puts image at offset 0 in place of old, the bytes read() gave, and syncs it to the disk.
    // All or nothing: on failure the file holds old again, at its old length.
    [[nodiscard]] RecordFileResult replace(const QByteArray &old, const QByteArray &image);

private:
    RecordFileResult openFailure(bool missing) const;
    RecordFileResult lock();
    RecordFileError failure(RecordFileError::Reason reason, int error = 0) const;

    // The system's calls. Those returning int give 0 or the system's error code; systemFailure()
    // reads the error the last call left.
    RecordFileResult openOnce(bool &replaced);
    bool tryLock();
    qsizetype readAt(char *data, qsizetype size, qsizetype offset);
    int writeAtStart(const QByteArray &bytes);
    int syncData();
    void truncateTo(qsizetype size);
    void syncFolder() const;
    void close();
    RecordFileError systemFailure(RecordFileError::Reason otherwise) const;
    static bool isDiskFull(int error);

    QString m_path;
    Mode m_mode;
    int m_fd = -1;
};
