// SPDX-License-Identifier: GPL-3.0-or-later

#include "records/lockedfile.h"

#include <QFile>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>

using Reason = RecordFileError::Reason;

namespace {

// How long another copy of the game may hold the lock: as long as a save can take on a slow or
// busy disk (a read, a write and a sync), with room to spare. A copy that holds it longer is
// stopped, and waiting on would only hang this one.
constexpr std::chrono::milliseconds LockWait(5000);
// Times the file may be found replaced between opening and locking it before the open gives up.
constexpr int OpenAttempts = 5;

int syncData(int fd)
{
#if defined(_POSIX_SYNCHRONIZED_IO) && _POSIX_SYNCHRONIZED_IO > 0
    return ::fdatasync(fd);
#else
    return ::fsync(fd);
#endif
}

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

LockedFile::LockedFile(QString path, Mode mode) : m_path(std::move(path)), m_mode(mode) {}

LockedFile::~LockedFile()
{
    close();
}

RecordFileResult LockedFile::open()
{
#ifdef SIGXFSZ
    // A file size limit must make the write fail, as a full disk does, not end the game.
    if (m_mode != Mode::Read)
        std::signal(SIGXFSZ, SIG_IGN);
#endif
    for (int attempt = 0; attempt < OpenAttempts; ++attempt) {
        bool replaced = false;
        if (auto error = openOnce(replaced))
            return error;
        if (!replaced)
            return std::nullopt;
    }
    return failure(Reason::Busy);
}

// Opens and locks the file the path names. The file may be swapped between the first look and
// the open, and between the open and the lock; replaced says that the lock was taken on a file
// the path no longer names, which is then closed again.
RecordFileResult LockedFile::openOnce(bool &replaced)
{
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

// The file could not be opened. Where there was none and none may be made, a reader finds an
// empty table, as in a fresh folder; a writer is told that the folder may not be written.
RecordFileResult LockedFile::openFailure(bool missing) const
{
    const int error = errno;
    if (!missing || (error != EACCES && error != EPERM && error != EROFS))
        return systemFailure(Reason::OpenFailed);
    if (m_mode == Mode::Read)
        return std::nullopt;
    return error == EROFS ? failure(Reason::ReadOnlyFileSystem, error)
                          : failure(Reason::FolderNotWritable, error);
}

RecordFileResult LockedFile::lock()
{
    const int operation = m_mode == Mode::Read ? LOCK_SH : LOCK_EX;
    const auto deadline = std::chrono::steady_clock::now() + LockWait;
    while (::flock(m_fd, operation | LOCK_NB) != 0) {
        // The file system cannot lock (ENOLCK, EOPNOTSUPP, ENOSYS: some network and FUSE file
        // systems). The lock only guards against other copies of the game; the table is used
        // without it rather than lost, its save still one write and a sync.
        if (errno != EWOULDBLOCK && errno != EINTR)
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
        const ssize_t got = ::pread(m_fd, bytes.data() + done, size_t(size - done), off_t(done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
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

// Why this is all or nothing. The new table goes in with one pwrite() of its 60 bytes at offset
// 0. They lie in the file's first page, which the kernel fills under the page's lock and looks for
// a fatal signal only between pages: a process killed at any instant leaves all 60 bytes written
// or none. fdatasync() then puts them on the disk, where they lie in one sector, written whole.
// A write that stops short (a size limit, a full disk) or fails, and a sync that fails (an I/O
// error, after which the page may never reach the disk), are undone: the old bytes are written
// back, the bytes this save added past the old end are cut off again (the file never becomes
// shorter than it was), and that is synced. Whatever the failure, the file then holds the table
// from before, and the caller tells the player that the record was not saved.
RecordFileResult LockedFile::replace(const QByteArray &old, const QByteArray &image)
{
    int error = writeAtStart(image);
    if (error == 0 && syncData(m_fd) != 0)
        error = errno;
    if (error == 0) {
        if (old.isEmpty())
            syncFolder();
        return std::nullopt;
    }

    writeAtStart(old);
    if (old.size() < image.size())
        ::ftruncate(m_fd, off_t(old.size()));
    syncData(m_fd);
    return failure(error == ENOSPC || error == EDQUOT ? Reason::DiskFull : Reason::WriteFailed,
                   error);
}

// 0 when all of bytes went in with one write, errno otherwise. A write that stops short gives no
// reason; the rest is tried once more to learn it (a full disk, a size limit).
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

// What the failure stopped is for the caller to say, who knows what the table was opened for.
RecordFileError LockedFile::failure(Reason reason, int error) const
{
    RecordFileError failure;
    failure.reason = reason;
    failure.filePath = m_path;
    if (error)
        failure.detail = QString::fromLocal8Bit(std::strerror(error));
    return failure;
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
