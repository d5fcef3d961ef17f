// SPDX-License-Identifier: GPL-3.0-or-later

#include "records/lockedfile.h"

#include <QFile>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

// The POSIX calls of the locked file. The lock is flock(): it follows the file through symbolic
// and hard links, which a lock on another file would not.

using Reason = RecordFileError::Reason;

namespace {

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

// Opens and locks the file the path names. The file may be swapped between the first look and
// the open, and between the open and the lock; replaced says that the lock was taken on a file
// the path no longer names, which is then closed again.
RecordFileResult LockedFile::openOnce(bool &replaced)
{
#ifdef SIGXFSZ
    // A file size limit must make the write fail, as a full disk does, not end the game.
    if (m_mode != Mode::Read)
        std::signal(SIGXFSZ, SIG_IGN);
#endif
    const QByteArray name = QFile::encodeName(m_path);
    struct stat seen = {};
    const bool missing = ::stat(name.constData(), &seen) != 0;
    if (missing && errno != ENOENT)
        return systemFailure(Reason::OpenFailed);
    if (!missing && S_ISDIR(seen.st_mode))
        return failure(Reason::IsDirectory);
    if (!missing && !S_ISREG(seen.st_mode))
        return failure(Reason::NotRegularFile);

    const int access = m_mode == Mode::Read ? O_RDONLY : O_RDWR;
    m_fd = ::open(name.constData(), access | O_CREAT | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666);
    if (m_fd < 0)
        return openFailure(missing);
    struct stat opened = {};
    if (::fstat(m_fd, &opened) != 0)
        return systemFailure(Reason::OpenFailed);
    if (!S_ISREG(opened.st_mode))
        return failure(Reason::NotRegularFile);
    const int flags = ::fcntl(m_fd, F_GETFL);
    if (flags < 0 || ::fcntl(m_fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
        return systemFailure(Reason::OpenFailed);

    if (auto error = lock())
        return error;
    struct stat now = {};
    replaced = ::stat(name.constData(), &now) != 0 || !sameFile(now, opened);
    if (replaced)
        close();
    return std::nullopt;
}

bool LockedFile::tryLock()
{
    if (::flock(m_fd, (m_mode == Mode::Read ? LOCK_SH : LOCK_EX) | LOCK_NB) == 0)
        return true;
    // The file system cannot lock (ENOLCK, EOPNOTSUPP, ENOSYS: some network and FUSE file
    // systems). The lock only guards against other copies of the game; the table is used without
    // it rather than lost, its save still one write and a sync.
    return errno != EWOULDBLOCK && errno != EINTR;
}

qsizetype LockedFile::readAt(char *data, qsizetype size, qsizetype offset)
{
    ssize_t got;
    do
        got = ::pread(m_fd, data, size_t(size), off_t(offset));
    while (got < 0 && errno == EINTR);
    return got;
}

// The 60 bytes lie in the file's first page, which the kernel fills under the page's lock and
// looks for a fatal signal only between pages: a process killed at any instant leaves all of them
// written or none. A write that stops short gives no reason; the rest is tried once more to learn
// it (a full disk, a size limit).
int LockedFile::writeAtStart(const QByteArray &bytes)
{
    const ssize_t written = ::pwrite(m_fd, bytes.constData(), size_t(bytes.size()), 0);
    if (written == bytes.size())
        return 0;
    if (written < 0)
        return errno;
    const ssize_t rest =
        ::pwrite(m_fd, bytes.constData() + written, size_t(bytes.size() - written), written);
    return rest < 0 ? errno : EIO;
}

// On the disk the 60 bytes lie in one sector, written whole.
int LockedFile::syncData()
{
#if defined(_POSIX_SYNCHRONIZED_IO) && _POSIX_SYNCHRONIZED_IO > 0
    return ::fdatasync(m_fd) == 0 ? 0 : errno;
#else
    return ::fsync(m_fd) == 0 ? 0 : errno;
#endif
}

void LockedFile::truncateTo(qsizetype size)
{
    ::ftruncate(m_fd, off_t(size));
}

// A file that was empty before its first save may be new: its name in the folder must survive a
// power cut as well as its bytes.
void LockedFile::syncFolder() const
{
    const qsizetype slash = m_path.lastIndexOf(u'/');
    const QByteArray folder =
        slash < 0 ? QByteArray(".") : QFile::encodeName(m_path.left(slash + 1));
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

void LockedFile::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

// The failure errno tells of, or otherwise when errno names nothing more particular.
RecordFileError LockedFile::systemFailure(Reason otherwise) const
{
    const int error = errno;
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return failure(Reason::FolderMissing, error);
    case EISDIR:
        return failure(Reason::IsDirectory, error);
    case EACCES:
    case EPERM:
        return failure(Reason::AccessDenied, error);
    case EROFS:
        return failure(Reason::ReadOnlyFileSystem, error);
    case ENOSPC:
    case EDQUOT:
        return failure(Reason::DiskFull, error);
    default:
        return failure(otherwise, error);
    }
}

bool LockedFile::isDiskFull(int error)
{
    return error == ENOSPC || error == EDQUOT;
}
