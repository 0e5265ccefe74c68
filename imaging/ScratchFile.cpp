#include "imaging/ScratchFile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

ScratchFile::ScratchFile() {
    const QByteArray dir = QFile::encodeName(QDir::tempPath());
#ifdef O_TMPFILE
    m_fd = ::open(dir.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
#endif
    if (m_fd < 0) {
        // File systems without nameless files: a named one, unlinked at once.
        QByteArray name = dir + "/.jpegenc-XXXXXX";
        m_fd = ::mkostemp(name.data(), O_CLOEXEC);
        if (m_fd >= 0)
            ::unlink(name.constData());
    }
    if (m_fd < 0)
        fail("create", errno);
}

ScratchFile::~ScratchFile() {
    if (m_fd >= 0)
        ::close(m_fd);
}

bool ScratchFile::fail(const char* what, int error) const {
    if (m_error.isEmpty())
        m_error = QStringLiteral("cannot %1 a temporary file in %2: %3")
                      .arg(QLatin1String(what), QDir::tempPath(),
                           error == ENOSPC ? QStringLiteral("the disk is full")
                                           : QString::fromLocal8Bit(std::strerror(error)));
    return false;
}

namespace {

// Transfers n bytes at the offset in whole, again after interruptions: 0, or
// the error number (`short` for a transfer that moved nothing).
template <class Op> int transfer(Op op, qint64 offset, qint64 n, int shortError) {
    while (n > 0) {
        const ssize_t done = op(size_t(n), off_t(offset));
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            return done < 0 ? errno : shortError;
        n -= done;
        offset += done;
    }
    return 0;
}

} // namespace

bool ScratchFile::Append(const void* data, qint64 n) {
    if (m_fd < 0 || !m_error.isEmpty())
        return false;
    const char* p = static_cast<const char*>(data);
    const qint64 start = m_size;
    const int error = transfer(
        [&](size_t count, off_t at) { return ::pwrite(m_fd, p + (at - start), count, at); }, start,
        n, ENOSPC);
    if (error)
        return fail("write", error);
    m_size += n;
    return true;
}

bool ScratchFile::ReadAt(qint64 offset, void* to, qint64 n) const {
    if (m_fd < 0 || offset < 0 || offset + n > m_size)
        return false;
    char* p = static_cast<char*>(to);
    const int error = transfer(
        [&](size_t count, off_t at) { return ::pread(m_fd, p + (at - offset), count, at); }, offset,
        n, EIO);
    return error == 0 || fail("read", error);
}
