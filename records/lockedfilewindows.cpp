// SPDX-License-Identifier: GPL-3.0-or-later

#include "records/lockedfile.h"

#include <QDir>

#include <chrono>
#include <io.h>
#include <thread>
#include <utility>
#include <windows.h>

// The Windows counterpart of lockedfile.cpp, with the same contract. The handle is kept as a C
// run-time descriptor (m_fd) so that both systems share one header; _get_osfhandle() gives it
// back. The lock is LockFileEx() over the whole file on that handle. Unlike flock() it is
// mandatory: while one copy of the game saves, another cannot even read the table, so every read
// happens under the lock. The file is opened sharing reading and writing, so that a second copy
// opens it and waits for the lock rather than failing, but not deletion: nobody can rename or
// replace the file while it is held, so the lock always belongs to the file the path names.

using Reason = RecordFileError::Reason;

namespace {

// As long as another copy's save can take on a slow or busy disk, with room to spare.
constexpr std::chrono::milliseconds LockWait(5000);

HANDLE handleOf(int fd)
{
    return reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
}

const wchar_t *nativePath(const QString &native)
{
    return reinterpret_cast<const wchar_t *>(native.utf16());
}

} // namespace

LockedFile::LockedFile(QString path, Mode mode) : m_path(std::move(path)), m_mode(mode) {}

LockedFile::~LockedFile()
{
    close();
}

RecordFileResult LockedFile::open()
{
    const QString native = QDir::toNativeSeparators(m_path);
    const DWORD attributes = ::GetFileAttributesW(nativePath(native));
    const bool missing = attributes == INVALID_FILE_ATTRIBUTES;
    if (missing && ::GetLastError() != ERROR_FILE_NOT_FOUND)
        return systemFailure(Reason::OpenFailed);
    if (!missing && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return failure(Reason::IsDirectory);

    const DWORD access = m_mode == Mode::Read ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    const HANDLE handle =
        ::CreateFileW(nativePath(native), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return openFailure(missing);
    m_fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), 0);
    if (m_fd < 0) {
        ::CloseHandle(handle);
        return failure(Reason::OpenFailed);
    }
    // A console, a pipe or a printer port can stand under a file's name: never a table.
    if (::GetFileType(handle) != FILE_TYPE_DISK)
        return failure(Reason::NotRegularFile);
    return lock();
}

// The file could not be opened. Where there was none and none may be made, a reader finds an
// empty table, as in a fresh folder; a writer is told that the folder may not be written.
RecordFileResult LockedFile::openFailure(bool missing) const
{
    const DWORD error = ::GetLastError();
    if (!missing || (error != ERROR_ACCESS_DENIED && error != ERROR_WRITE_PROTECT))
        return systemFailure(Reason::OpenFailed);
    if (m_mode == Mode::Read)
        return std::nullopt;
    return error == ERROR_WRITE_PROTECT ? failure(Reason::ReadOnlyFileSystem, int(error))
                                        : failure(Reason::FolderNotWritable, int(error));
}

RecordFileResult LockedFile::lock()
{
    const DWORD flags =
        LOCKFILE_FAIL_IMMEDIATELY | (m_mode == Mode::Read ? 0 : LOCKFILE_EXCLUSIVE_LOCK);
    const auto deadline = std::chrono::steady_clock::now() + LockWait;
    OVERLAPPED whole = {};
    while (!::LockFileEx(handleOf(m_fd), flags, 0, MAXDWORD, MAXDWORD, &whole)) {
        // A file system that cannot lock (some network shares): the table is used without the
        // lock rather than lost, its save still one write and a flush.
        if (::GetLastError() != ERROR_LOCK_VIOLATION)
            return std::nullopt;
        if (std::chrono::steady_clock::now() >= deadline)
            return failure(Reason::Busy);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return std::nullopt;
}

RecordFileResult LockedFile::read(QByteArray &bytes, qsizetype size)
{
    if (m_fd < 0) {
        bytes.clear();
        return std::nullopt;
    }
    bytes.resize(size);
    qsizetype done = 0;
    while (done < size) {
        OVERLAPPED at = {};
        at.Offset = DWORD(done);
        DWORD got = 0;
        if (!::ReadFile(handleOf(m_fd), bytes.data() + done, DWORD(size - done), &got, &at)) {
            if (::GetLastError() == ERROR_HANDLE_EOF)
                break;
            bytes.clear();
            return systemFailure(Reason::ReadFailed);
        }
        if (got == 0)
            break;
        done += got;
    }
    bytes.truncate(done);
    return std::nullopt;
}

// The new table goes in with one WriteFile() of its 60 bytes at offset 0, which the system copies
// into the file's first page whole, and FlushFileBuffers() puts it on the disk. A write that stops
// short or fails, and a flush that fails, are undone as on Linux: the old bytes are written back,
// what this save added past the old end is cut off, and that is flushed. NTFS journals the
// folder's own changes, so a new file's name needs no flush of its own.
RecordFileResult LockedFile::replace(const QByteArray &old, const QByteArray &image)
{
    const HANDLE handle = handleOf(m_fd);
    int error = writeAtStart(image);
    if (error == 0 && !::FlushFileBuffers(handle))
        error = int(::GetLastError());
    if (error == 0)
        return std::nullopt;

    writeAtStart(old);
    if (old.size() < image.size()) {
        LARGE_INTEGER end = {};
        end.QuadPart = old.size();
        if (::SetFilePointerEx(handle, end, nullptr, FILE_BEGIN))
            ::SetEndOfFile(handle);
    }
    ::FlushFileBuffers(handle);
    const bool full = error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL;
    return failure(full ? Reason::DiskFull : Reason::WriteFailed, error);
}

// 0 when all of bytes went in with one write, the system's error code otherwise.
int LockedFile::writeAtStart(const QByteArray &bytes)
{
    OVERLAPPED start = {};
    DWORD written = 0;
    if (!::WriteFile(handleOf(m_fd), bytes.constData(), DWORD(bytes.size()), &written, &start))
        return int(::GetLastError());
    return written == DWORD(bytes.size()) ? 0 : ERROR_WRITE_FAULT;
}

void LockedFile::close()
{
    if (m_fd >= 0)
        ::_close(m_fd);
    m_fd = -1;
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

// The failure GetLastError() tells of, or otherwise when it names nothing more particular.
RecordFileError LockedFile::systemFailure(Reason otherwise) const
{
    const int error = int(::GetLastError());
    switch (error) {
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_DIRECTORY:
        return failure(Reason::FolderMissing, error);
    case ERROR_ACCESS_DENIED:
        return failure(Reason::AccessDenied, error);
    case ERROR_WRITE_PROTECT:
        return failure(Reason::ReadOnlyFileSystem, error);
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return failure(Reason::Busy, error);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return failure(Reason::DiskFull, error);
    default:
        return failure(otherwise, error);
    }
}
