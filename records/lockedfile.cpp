// SPDX-License-Identifier: GPL-3.0-or-later

#include "records/lockedfile.h"

#include <chrono>
#include <thread>
#include <utility>

using Reason = RecordFileError::Reason;

namespace {

// How long another copy of the game may hold the lock: as long as a save can take on a slow or
// busy disk (a read, a write and a sync), with room to spare. A copy that holds it longer is
// stopped, and waiting on would only hang this one.
constexpr std::chrono::milliseconds LockWait(5000);
// Times the file may be found replaced between opening and locking it before the open gives up.
constexpr int OpenAttempts = 5;

} // namespace

LockedFile::LockedFile(QString path, Mode mode) : m_path(std::move(path)), m_mode(mode) {}

LockedFile::~LockedFile()
{
    close();
}

RecordFileResult LockedFile::open()
{
    for (int attempt = 0; attempt < OpenAttempts; ++attempt) {
        bool replaced = false;
        if (auto error = openOnce(replaced))
            return error;
        if (!replaced)
            return std::nullopt;
    }
    return failure(Reason::Busy);
}

// The file could not be opened. Where there was none and none may be made, a reader finds an
// empty table, as in a fresh folder; a writer is told that the folder may not be written.
RecordFileResult LockedFile::openFailure(bool missing) const
{
    RecordFileError error = systemFailure(Reason::OpenFailed);
    const bool denied = error.reason == Reason::AccessDenied;
    if (!missing || (!denied && error.reason != Reason::ReadOnlyFileSystem))
        return error;
    if (m_mode == Mode::Read)
        return std::nullopt;
    if (denied)
        error.reason = Reason::FolderNotWritable;
    return error;
}

RecordFileResult LockedFile::lock()
{
    const auto deadline = std::chrono::steady_clock::now() + LockWait;
    while (!tryLock()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return failure(Reason::Busy);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return std::nullopt;
}

RecordFileResult LockedFile::read(QByteArray &bytes, qsizetype size)
{
    bytes.clear();
    if (m_fd < 0)
        return std::nullopt;
    bytes.resize(size);
    qsizetype done = 0;
    while (done < size) {
        const qsizetype got = readAt(bytes.data() + done, size - done, done);
        if (got < 0) {
            const RecordFileError error = systemFailure(Reason::ReadFailed);
            bytes.clear();
            return error;
        }
        if (got == 0)
            break;
        done += got;
    }
    bytes.truncate(done);
    return std::nullopt;
}

// The new table goes in with one write of its 60 bytes at offset 0 (why that is whole or nothing
// is the system's part to say), then a sync puts it on the disk. A write that stops short (a size
// limit, a full disk) or fails, and a sync that fails (an I/O error, after which the bytes may
// never reach the disk), are undone: the old bytes are written back, the bytes this save added
// past the old end are cut off again (the file never becomes shorter than it was), and that is
// synced. Whatever the failure, the file then holds the table from before, and the caller tells
// the player that the record was not saved.
RecordFileResult LockedFile::replace(const QByteArray &old, const QByteArray &image)
{
    int error = writeAtStart(image);
    if (error == 0)
        error = syncData();
    if (error == 0) {
        if (old.isEmpty())
            syncFolder();
        return std::nullopt;
    }

    writeAtStart(old);
    if (old.size() < image.size())
        truncateTo(old.size());
    syncData();
    return failure(isDiskFull(error) ? Reason::DiskFull : Reason::WriteFailed, error);
}

// What the failure stopped is for the caller to say, who knows what the table was opened for.
RecordFileError LockedFile::failure(Reason reason, int error) const
{
    RecordFileError failure;
    failure.reason = reason;
    failure.filePath = m_path;
    if (error)
        failure.detail = qt_error_string(error);
    return failure;
}
