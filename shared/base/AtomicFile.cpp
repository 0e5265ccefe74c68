#include "shared/base/AtomicFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

std::atomic<bool> g_refuseUnnamed{false};
std::atomic<int (*)(int)> g_sync{nullptr};

// Flushes a new file's data to the disk.
int syncData(int fd) {
    int (*sync)(int) = g_sync.load();
    return sync ? sync(fd) : ::fsync(fd);
}

QString systemError(int code) {
    return QString::fromLocal8Bit(std::strerror(code));
}

// A temporary file beside the target, removed again unless it was committed.
class TempFile {
public:
    TempFile() = default;
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile() {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_path.isEmpty())
            ::unlink(m_path.constData());
    }

    // 0 or the error number; EEXIST when no free name was found.
    int create(const QString& target) {
        const QFileInfo info(target);
        const QByteArray dir = QFile::encodeName(info.absolutePath());
        for (int attempt = 0; attempt < 100; ++attempt) {
            const QByteArray path = dir + '/' + '.' + QFile::encodeName(info.fileName()) + '.' +
                                    QByteArray::number(QRandomGenerator::global()->generate(), 36) +
                                    ".tmp";
            const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd >= 0) {
                m_fd = fd;
                m_path = path;
                return 0;
            }
            if (errno != EEXIST)
                return errno;
        }
        return EEXIST;
    }

    int fd() const { return m_fd; }

    // Writes everything, flushes it to the disk and closes the file: 0 or
    // the error number.
    int write(const QByteArray& bytes) {
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(m_fd, bytes.constData() + done, size_t(bytes.size() - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return n < 0 ? errno : ENOSPC;
            done += n;
        }
        if (syncData(m_fd) != 0)
            return errno;
        const int fd = m_fd;
        m_fd = -1;
        if (::close(fd) != 0)
            return errno;
        return 0;
    }

    const QByteArray& path() const { return m_path; }
    // The file now lives under another name.
    void committed() { m_path.clear(); }

private:
    int m_fd = -1;
    QByteArray m_path;
};

void syncFolder(const QString& target) {
    const int fd = ::open(QFile::encodeName(QFileInfo(target).absolutePath()).constData(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool pathTaken(const QByteArray& path) {
    struct stat st;
    return ::lstat(path.constData(), &st) == 0;
}

} // namespace

void AtomicFile::SetTestSeams(bool refuseUnnamed, int (*sync)(int)) {
    g_refuseUnnamed = refuseUnnamed;
    g_sync = sync;
}

bool AtomicFile::fail(const QString& message) {
    m_error = message;
    return false;
}

bool AtomicFile::applyAttributes(int fd) {
    if (!m_keep)
        return true;
    // Rewriting keeps the file's permissions and, where allowed, its owner.
    if (::fchmod(fd, m_old.st_mode & 07777) != 0)
        return fail(QStringLiteral("Cannot write the file: %1").arg(systemError(errno)));
    if (m_old.st_uid != ::geteuid() || m_old.st_gid != ::getegid())
        (void)::fchown(fd, m_old.st_uid, m_old.st_gid);
    return true;
}

bool AtomicFile::WriteWhole(const QString& path, const QByteArray& bytes, bool replace,
                            Error* error) {
    AtomicFile file(path);
    if (file.write(bytes, replace ? Existing::Replace : Existing::Refuse))
        return true;
    return Error(QStringLiteral("cannot write %1").arg(path), Error(file.errorString()))
        .Report(error);
}

bool AtomicFile::write(const QByteArray& bytes, Existing existing) {
    m_error.clear();
    if (existing == Existing::Refuse && pathTaken(QFile::encodeName(m_path)))
        return fail(QStringLiteral("The file %1 already exists").arg(m_path));
    const QByteArray dir = QFile::encodeName(QFileInfo(m_path).absolutePath());
    const int fd = g_refuseUnnamed
                       ? (errno = EOPNOTSUPP, -1)
                       : ::open(dir.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd >= 0)
        return writeUnnamed(fd, bytes, existing);
    // File systems without unnamed files refuse them with one of these.
    if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)
        return writeNamed(bytes, existing);
    return fail(
        QStringLiteral("Cannot write in the folder of %1: %2").arg(m_path, systemError(errno)));
}

bool AtomicFile::writeUnnamed(int fd, const QByteArray& bytes, Existing existing) {
    struct Closer {
        int fd;
        ~Closer() {
            if (fd >= 0)
                ::close(fd);
        }
    } file{fd};
    if (!applyAttributes(fd))
        return false;
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail(QStringLiteral("Cannot write the file: %1")
                            .arg(systemError(n < 0 ? errno : ENOSPC)));
        done += n;
    }
    if (syncData(fd) != 0)
        return fail(QStringLiteral("Cannot write the file: %1").arg(systemError(errno)));
    // The unnamed file gets a name through its /proc entry; a link never
    // replaces an existing name.
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
    const QByteArray target = QFile::encodeName(m_path);
    const auto linkTo = [&](const QByteArray& name) {
        return ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(),
                        AT_SYMLINK_FOLLOW) == 0
                   ? 0
                   : errno;
    };
    if (existing == Existing::Refuse) {
        if (const int code = linkTo(target)) {
            if (code == EEXIST)
                return fail(QStringLiteral("The file %1 already exists").arg(m_path));
            return fail(QStringLiteral("Cannot save %1: %2").arg(m_path, systemError(code)));
        }
    } else {
        // Linked under a hidden name, then renamed over the old file in one step.
        const QFileInfo info(m_path);
        QByteArray temp;
        int code = EEXIST;
        for (int attempt = 0; attempt < 100 && code == EEXIST; ++attempt) {
            temp = QFile::encodeName(info.absolutePath()) + '/' + '.' +
                   QFile::encodeName(info.fileName()) + '.' +
                   QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".tmp";
            code = linkTo(temp);
        }
        if (code == EEXIST)
            return fail(QStringLiteral("Cannot create a temporary file beside %1").arg(m_path));
        if (code != 0)
            return fail(QStringLiteral("Cannot save %1: %2").arg(m_path, systemError(code)));
        if (::rename(temp.constData(), target.constData()) != 0) {
            const int renameError = errno;
            ::unlink(temp.constData());
            return fail(QStringLiteral("Cannot save %1: %2").arg(m_path, systemError(renameError)));
        }
    }
    file.fd = -1;
    if (::close(fd) != 0)
        return fail(QStringLiteral("Cannot write the file: %1").arg(systemError(errno)));
    // Make the new name itself durable; the data is already safe either way.
    syncFolder(m_path);
    return true;
}

bool AtomicFile::writeNamed(const QByteArray& bytes, Existing existing) {
    const QByteArray target = QFile::encodeName(m_path);
    TempFile temp;
    if (const int code = temp.create(m_path)) {
        if (code == EEXIST)
            return fail(QStringLiteral("Cannot create a temporary file beside %1").arg(m_path));
        return fail(
            QStringLiteral("Cannot write in the folder of %1: %2").arg(m_path, systemError(code)));
    }
    if (!applyAttributes(temp.fd()))
        return false;
    if (const int code = temp.write(bytes))
        return fail(QStringLiteral("Cannot write the file: %1").arg(systemError(code)));
    if (existing == Existing::Replace) {
        if (::rename(temp.path().constData(), target.constData()) != 0)
            return fail(QStringLiteral("Cannot save %1: %2").arg(m_path, systemError(errno)));
        temp.committed();
    } else {
        // An atomic rename that refuses an existing target, or a hard link
        // (which refuses one too) where the file system lacks that rename.
        if (::renameat2(AT_FDCWD, temp.path().constData(), AT_FDCWD, target.constData(),
                        RENAME_NOREPLACE) == 0) {
            temp.committed();
        } else {
            int code = errno;
            if (code == EINVAL || code == ENOSYS || code == EOPNOTSUPP) {
                // On success the temporary name is removed by TempFile.
                code = ::link(temp.path().constData(), target.constData()) == 0 ? 0 : errno;
            }
            if (code == EEXIST)
                return fail(QStringLiteral("The file %1 already exists").arg(m_path));
            if (code != 0)
                return fail(QStringLiteral("Cannot save %1: %2").arg(m_path, systemError(code)));
        }
    }
    syncFolder(m_path);
    return true;
}
