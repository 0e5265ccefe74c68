#include "shared/offline/LocalFile.h"

#include "shared/base/AppClock.h"
#include "shared/db/DbOpener.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// SQLite's files beside the database: a -journal is there only while a new
// file gets its tables, before it turns to WAL.
const char* const kCompanions[] = {"-wal", "-shm", "-journal"};

QString errnoText(int code) {
    return QString::fromLocal8Bit(std::strerror(code));
}

bool exists(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

// The file or any of its companions exists.
bool anyExists(const QString& path) {
    if (exists(path))
        return true;
    for (const char* suffix : kCompanions)
        if (exists(path + QLatin1String(suffix)))
            return true;
    return false;
}

// A new file is made empty with mode 0660 before SQLite opens it: SQLite
// would make it as the umask allows, and gives the -wal and -shm the mode of
// the file. An existing file of this user and its companions lose the
// others' rights. 0, or the error number of a failed creation.
int makePrivate(const QString& path) {
    const QByteArray p = QFile::encodeName(path);
    const int fd = ::open(p.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0660);
    if (fd >= 0) {
        const bool ok = ::fchmod(fd, 0660) == 0;
        const int code = errno;
        ::close(fd);
        return ok ? 0 : code;
    }
    if (errno != EEXIST)
        return errno;
    QList<QByteArray> files{p};
    for (const char* suffix : kCompanions)
        files << p + suffix;
    for (const QByteArray& file : files) {
        struct stat st {};
        if (::stat(file.constData(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & 0007) &&
            st.st_uid == ::geteuid())
            ::chmod(file.constData(), st.st_mode & 07770);
    }
    return 0;
}

} // namespace

LocalFile::LocalFile(const QString& path, const QStringList& schema, Unusable unusable)
    : m_path(path) {
    if (open(schema) != Verdict::Unusable || unusable == Unusable::Leave)
        return;
    close();
    const QString why = m_problem;
    if (!setAside())
        return;
    if (open(schema) == Verdict::Open)
        m_problem = QStringLiteral("%1; kept as %2, a new one started").arg(why, m_keptAs);
    else
        m_problem = QStringLiteral("%1; kept as %2, and a new one could not be started: %3")
                        .arg(why, m_keptAs, m_problem);
}

LocalFile::~LocalFile() {
    close();
}

LocalFile::Verdict LocalFile::open(const QStringList& schema) {
    m_open = false;
    const QByteArray p = QFile::encodeName(m_path);
    struct stat st {};
    if (::stat(p.constData(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) {
            m_problem = QStringLiteral("%1 is not a file").arg(m_path);
            return Verdict::Unusable;
        }
        // SQLite would open a read-only file for reading alone, and say so
        // only at the first write.
        const int fd = ::open(p.constData(), O_RDWR | O_CLOEXEC);
        if (fd < 0) {
            const int code = errno;
            m_problem = QStringLiteral("%1 cannot be written: %2").arg(m_path, errnoText(code));
            return code == EACCES || code == EPERM || code == EROFS ? Verdict::Unusable
                                                                    : Verdict::Transient;
        }
        ::close(fd);
    }
    if (const int code = makePrivate(m_path); code != 0) {
        m_problem = QStringLiteral("cannot create %1: %2").arg(m_path, errnoText(code));
        m_folderUnusable = true;
        return Verdict::Transient;
    }

    Error error;
    m_session = DbSession::OpenFile(m_path, DbOpener::Profile::Local, &error, schema);
    if (m_session.IsOpen()) {
        m_open = true;
        m_problem.clear();
        return Verdict::Open;
    }
    m_problem = QStringLiteral("%1: %2").arg(m_path, error.Text());
    // SQLite's primary result codes that say nothing about the file itself:
    // busy, locked, out of memory, interrupted, a disk error, a full disk,
    // the locking protocol.
    switch (error.Code()) {
    case 5:
    case 6:
    case 7:
    case 9:
    case 10:
    case 13:
    case 15:
        return Verdict::Transient;
    default:
        return Verdict::Unusable;
    }
}

void LocalFile::close() {
    m_session.Close();
    m_open = false;
}

// The file goes first: should it stay, nothing moved. A -wal or -journal
// left behind would be read into the new file, so then no new one is
// started.
bool LocalFile::setAside() {
    const QString kept = KeptName(m_path);
    if (::rename(QFile::encodeName(m_path).constData(), QFile::encodeName(kept).constData()) != 0) {
        m_problem = QStringLiteral("%1; it cannot be kept under a new name: %2")
                        .arg(m_problem, errnoText(errno));
        m_folderUnusable = true;
        return false;
    }
    m_keptAs = kept;
    for (const char* suffix : kCompanions) {
        const QString from = m_path + QLatin1String(suffix);
        if (exists(from) &&
            ::rename(QFile::encodeName(from).constData(),
                     QFile::encodeName(kept + QLatin1String(suffix)).constData()) != 0) {
            m_problem = QStringLiteral("%1; kept as %2, but %3 cannot be moved beside it: %4")
                            .arg(m_problem, kept, from, errnoText(errno));
            m_folderUnusable = true;
            return false;
        }
    }
    return true;
}

QString LocalFile::KeptName(const QString& path) {
    const QString base = path + QStringLiteral(".damaged-") +
                         AppClock::now().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString name = base;
    for (int n = 2; anyExists(name); ++n)
        name = base + QLatin1Char('-') + QString::number(n);
    return name;
}
