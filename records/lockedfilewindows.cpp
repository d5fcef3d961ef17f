// SPDX-License-Identifier: GPL-3.0-or-later

#include "records/lockedfile.h"

#include <QDir>

#include <io.h>
#include <windows.h>

// The Windows calls of the locked file. The handle is kept as a C run-time descriptor (m_fd) so
// that both systems share one header; _get_osfhandle() gives it back. The lock is LockFileEx()
// over the whole file on that handle. Unlike flock() it is mandatory: while one copy of the game
// saves, another cannot even read the table, so every read happens under the lock. The file is
// opened sharing reading and writing, so that a second copy opens it and waits for the lock rather
// than failing, but not deletion: nobody can rename or replace the file while it is held, so the
// lock always belongs to the file the path names.

using Reason = RecordFileError::Reason;

namespace {

HANDLE handleOf(int fd)
{
    return reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
}

const wchar_t *nativePath(const QString &native)
{
    return reinterpret_cast<const wchar_t *>(native.utf16());
}

} // namespace

RecordFileResult LockedFile::openOnce(bool &replaced)
{
    replaced = false;
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

bool LockedFile::tryLock()
{
    const DWORD flags =
        LOCKFILE_FAIL_IMMEDIATELY | (m_mode == Mode::Read ? 0 : LOCKFILE_EXCLUSIVE_LOCK);
    OVERLAPPED whole = {};
    if (::LockFileEx(handleOf(m_fd), flags, 0, MAXDWORD, MAXDWORD, &whole))
        return true;
    // A file system that cannot lock (some network shares): the table is used without the lock
    // rather than lost, its save still one write and a flush.
    return ::GetLastError() != ERROR_LOCK_VIOLATION;
}

qsizetype LockedFile::readAt(char *data, qsizetype size, qsizetype offset)
{
    OVERLAPPED at = {};
    at.Offset = DWORD(offset);
    DWORD got = 0;
    if (::ReadFile(handleOf(m_fd), data, DWORD(size), &got, &at))
        return got;
    return ::GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
}

// The system copies the 60 bytes into the file's first page whole.
int LockedFile::writeAtStart(const QByteArray &bytes)
{
    OVERLAPPED start = {};
    DWORD written = 0;
    if (!::WriteFile(handleOf(m_fd), bytes.constData(), DWORD(bytes.size()), &written, &start))
        return int(::GetLastError());
    return written == DWORD(bytes.size()) ? 0 : ERROR_WRITE_FAULT;
}

int LockedFile::syncData()
{
    return ::FlushFileBuffers(handleOf(m_fd)) ? 0 : int(::GetLastError());
}

void LockedFile::truncateTo(qsizetype size)
{
    LARGE_INTEGER end = {};
    end.QuadPart = size;
    if (::SetFilePointerEx(handleOf(m_fd), end, nullptr, FILE_BEGIN))
        ::SetEndOfFile(handleOf(m_fd));
}

// NTFS journals the folder's own changes: a new file's name needs no flush of its own.
void LockedFile::syncFolder() const {}

void LockedFile::close()
{
    if (m_fd >= 0)
        ::_close(m_fd);
    m_fd = -1;
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

bool LockedFile::isDiskFull(int error)
{
    return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL;
}
