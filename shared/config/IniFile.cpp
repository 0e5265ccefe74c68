#include "shared/config/IniFile.h"

#include "shared/base/AtomicFile.h"
#include "shared/config/IniDocument.h"

#include <QFile>
#include <QFileInfo>
#include <QMutex>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool HasLineBreak(const QString& s) {
    return s.contains(QLatin1Char('\n')) || s.contains(QLatin1Char('\r')) || s.contains(QChar(0));
}

// A file descriptor closed when it goes out of scope.
class Fd {
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    ~Fd() { reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    // Closes the current descriptor (false when close reports a failed
    // write) and takes the new one.
    bool reset(int fd = -1) {
        bool ok = true;
        if (m_fd >= 0)
            ok = ::close(m_fd) == 0;
        m_fd = fd;
        return ok;
    }

private:
    int m_fd;
};

// Reads to the end into a buffer sized by the file's length.
bool ReadAll(int fd, QByteArray& out) {
    struct stat st {};
    qsizetype size = 0;
    out.resize(::fstat(fd, &st) == 0 && st.st_size > 0 ? qsizetype(st.st_size) + 1 : 65536);
    for (;;) {
        if (size == out.size())
            out.resize(out.size() * 2);
        const ssize_t n = ::read(fd, out.data() + size, size_t(out.size() - size));
        if (n == 0) {
            out.truncate(size);
            return true;
        }
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        size += n;
    }
}

// Reads the whole file; a missing file is empty. 0, or the error number of
// any other failure.
int ReadFile(const QByteArray& path, QByteArray& out, bool* exists = nullptr) {
    out.clear();
    Fd fd(::open(path.constData(), O_RDONLY | O_CLOEXEC));
    if (exists)
        *exists = fd.valid();
    if (!fd.valid())
        return errno == ENOENT ? 0 : errno;
    return ReadAll(fd.get(), out) ? 0 : errno;
}

// The parsed file of these bytes. The last file parsed is kept: programs
// read one file key by key, and reading its bytes again to compare them is
// cheap beside decoding them.
std::shared_ptr<const IniDocument> Parsed(const QByteArray& bytes) {
    static QMutex mutex;
    static std::shared_ptr<const IniDocument> last;
    const QMutexLocker locker(&mutex);
    if (!last || last->bytes() != bytes)
        last = std::make_shared<const IniDocument>(bytes);
    return last;
}

} // namespace

QByteArray IniFile::ToAnsi(const QString& text, bool* ok) {
    return IniDocument::Encode(IniDocument::Encoding::Gbk, text, ok);
}

QString IniFile::FromAnsi(const QByteArray& bytes) {
    return IniDocument::Decode(IniDocument::Encoding::Gbk, bytes);
}

QString IniFile::Read(const QString& group, const QString& key) const {
    const QString k = key.trimmed();
    if (m_fileName.isEmpty() || k.isEmpty())
        return QString();
    QByteArray bytes;
    if (ReadFile(QFile::encodeName(m_fileName), bytes) != 0)
        return QString();
    return Parsed(bytes)->Value(group.trimmed(), k).value_or(QString());
}

QString IniFile::ReadProblem() const {
    QByteArray bytes;
    const int code = m_fileName.isEmpty() ? 0 : ReadFile(QFile::encodeName(m_fileName), bytes);
    if (code == 0)
        return QString();
    return QStringLiteral("cannot read %1: %2")
        .arg(m_fileName, QString::fromLocal8Bit(std::strerror(code)));
}

bool IniFile::Write(const QString& group, const QString& key, const QString& value) {
    return WriteKeys({{group, key, value}});
}

bool IniFile::WriteKeys(const std::vector<Entry>& entries) {
    if (m_fileName.isEmpty() || entries.empty())
        return false;
    for (const Entry& e : entries) {
        const QString g = e.group.trimmed(), k = e.key.trimmed();
        if (g.isEmpty() || k.isEmpty() || HasLineBreak(e.group) || HasLineBreak(e.key) ||
            HasLineBreak(e.value) || g.contains(QLatin1Char(']')) || k.contains(QLatin1Char('=')) ||
            k.startsWith(QLatin1Char('[')) || k.startsWith(QLatin1Char(';')) ||
            k.startsWith(QLatin1Char('#')))
            return false;
    }

    // A link is followed, so the file it points at is the one replaced.
    QString target = m_fileName;
    const QFileInfo info(m_fileName);
    if (info.isSymLink()) {
        target = info.canonicalFilePath();
        if (target.isEmpty())
            return false;
    }
    const QByteArray path = QFile::encodeName(target);

    // Held for the whole read-modify-write, so concurrent writers take turns
    // and neither loses the other's key.
    const QByteArray lockPath = path + ".lock";
    Fd lock(::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666));
    if (!lock.valid() && errno == EACCES)
        lock.reset(::open(lockPath.constData(), O_RDONLY | O_CLOEXEC));
    if (!lock.valid())
        return false;
    while (::flock(lock.get(), LOCK_EX) != 0)
        if (errno != EINTR)
            return false;

    QByteArray before;
    bool exists = false;
    if (ReadFile(path, before, &exists) != 0)
        return false;
    struct stat st {};
    if (exists) {
        // A read-only file stays untouched, even though its directory would
        // let it be replaced.
        if (::stat(path.constData(), &st) != 0 || !S_ISREG(st.st_mode) ||
            ::access(path.constData(), W_OK) != 0)
            return false;
    }
    // The keys are written in the file's own encoding, all of them or none.
    IniDocument doc(before);
    for (const Entry& e : entries)
        if (!doc.Set(e.group.trimmed(), e.key.trimmed(), e.value))
            return false;
    if (exists && doc.bytes() == before)
        return true;
    AtomicFile file(target);
    // A new file is for the owner and the group alone, like the database: it
    // holds what the password is derived from.
    if (exists)
        file.keepAttributesOf(st);
    else
        file.setMode(0660);
    return file.write(doc.bytes(), AtomicFile::Existing::Replace);
}
