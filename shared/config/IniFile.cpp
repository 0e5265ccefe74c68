#include "shared/config/IniFile.h"

#include "shared/base/AtomicFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// The ANSI code page of the configuration file (Windows code page 936).
constexpr const char* kCodec = "GBK";

// One line of the file: its bytes and its own line terminator ("\r\n", "\n",
// or nothing for an unterminated last line), so unchanged lines are written
// back exactly.
struct Line {
    QByteArray text;
    QByteArray eol;
};

std::vector<Line> SplitLines(const QByteArray& bytes) {
    std::vector<Line> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype nl = bytes.indexOf('\n', start);
        if (nl < 0) {
            lines.push_back({bytes.mid(start), QByteArray()});
            break;
        }
        qsizetype end = nl;
        if (end > start && bytes[end - 1] == '\r')
            --end;
        lines.push_back({bytes.mid(start, end - start), bytes.mid(end, nl + 1 - end)});
        start = nl + 1;
    }
    return lines;
}

QByteArray JoinLines(const std::vector<Line>& lines) {
    QByteArray out;
    for (const Line& l : lines)
        out += l.text + l.eol;
    return out;
}

// The terminator new lines get: the file's own style, CRLF for a new file.
QByteArray LineEnding(const std::vector<Line>& lines) {
    for (const Line& l : lines)
        if (!l.eol.isEmpty())
            return l.eol;
    return QByteArrayLiteral("\r\n");
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

QByteArray TrimBlanks(const QByteArray& b) {
    qsizetype from = 0, to = b.size();
    while (from < to && IsBlank(b[from]))
        ++from;
    while (to > from && IsBlank(b[to - 1]))
        --to;
    return b.mid(from, to - from);
}

// Group name of a "[name]" line.
std::optional<QString> GroupOf(const QByteArray& lineText) {
    const QString s = IniFile::FromAnsi(lineText).trimmed();
    if (!s.startsWith(QLatin1Char('[')))
        return std::nullopt;
    qsizetype close = s.indexOf(QLatin1Char(']'), 1);
    if (close < 0)
        close = s.size();
    return s.mid(1, close - 1).trimmed();
}

// Position of the '=' of a "key=value" line whose key matches, or -1. The
// byte '=' never occurs inside a GBK double-byte character (trail bytes start
// at 0x40), so searching the raw bytes is safe.
qsizetype KeyMatch(const QByteArray& lineText, const QString& key) {
    const QByteArray t = TrimBlanks(lineText);
    if (t.isEmpty() || t[0] == ';' || t[0] == '#' || t[0] == '[')
        return -1;
    const qsizetype eq = lineText.indexOf('=');
    if (eq < 0)
        return -1;
    const QString name = IniFile::FromAnsi(lineText.left(eq)).trimmed();
    return name.compare(key, Qt::CaseInsensitive) == 0 ? eq : -1;
}

bool SameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Value as the private-profile rules read it: blanks and one pair of
// enclosing quotes removed, then cut to MaxValueBytes on a character boundary.
QString ValueOf(const QByteArray& raw) {
    QByteArray v = TrimBlanks(raw);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    qsizetype cut = 0;
    while (cut < v.size()) {
        const auto c = static_cast<unsigned char>(v[cut]);
        const qsizetype len = (c >= 0x81 && c <= 0xFE && cut + 1 < v.size()) ? 2 : 1;
        if (cut + len > IniFile::MaxValueBytes)
            break;
        cut += len;
    }
    return IniFile::FromAnsi(v.left(cut));
}

// The text to store so that a read gives back exactly value: a value that the
// read rules would change (blanks at an end, or enclosed in quotes) is put
// inside one more pair of double quotes, which the read removes again.
QString Protected(const QString& value) {
    if (value.isEmpty())
        return value;
    const QChar first = value.front(), last = value.back();
    const auto blank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    const bool quoted = value.size() >= 2 && first == last &&
                        (first == QLatin1Char('"') || first == QLatin1Char('\''));
    if (blank(first) || blank(last) || quoted)
        return QLatin1Char('"') + value + QLatin1Char('"');
    return value;
}

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

bool ReadAll(int fd, QByteArray& out) {
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n == 0)
            return true;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        out.append(buf, n);
    }
}

// Reads the whole file; a missing file is empty. False on any other error.
bool ReadFile(const QByteArray& path, QByteArray& out, bool* exists = nullptr) {
    out.clear();
    Fd fd(::open(path.constData(), O_RDONLY | O_CLOEXEC));
    if (exists)
        *exists = fd.valid();
    if (!fd.valid())
        return errno == ENOENT;
    return ReadAll(fd.get(), out);
}

// Changes or adds key=value in the lines of the file.
void SetValue(std::vector<Line>& lines, const QString& group, const QByteArray& groupBytes,
              const QString& key, const QByteArray& keyBytes, const QByteArray& value) {
    const QByteArray eol = LineEnding(lines);
    std::optional<size_t> header, lastKey;
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto g = GroupOf(lines[i].text);
        if (g) {
            if (header)
                break; // end of the matching group
            if (SameName(*g, group))
                header = i;
            continue;
        }
        if (!header)
            continue;
        const qsizetype eq = KeyMatch(lines[i].text, key);
        if (eq >= 0) {
            // Keep the key's spelling and the blanks around '=' as they were.
            QByteArray& t = lines[i].text;
            qsizetype from = eq + 1;
            while (from < t.size() && IsBlank(t[from]))
                ++from;
            t = t.left(from) + value;
            return;
        }
        const QByteArray trimmed = TrimBlanks(lines[i].text);
        if (!trimmed.isEmpty() && trimmed[0] != ';' && trimmed[0] != '#')
            lastKey = i;
    }
    const Line newKey{keyBytes + '=' + value, eol};
    if (header) {
        const size_t after = lastKey ? *lastKey : *header;
        if (lines[after].eol.isEmpty())
            lines[after].eol = eol;
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(after + 1), newKey);
        return;
    }
    if (!lines.empty()) {
        if (lines.back().eol.isEmpty())
            lines.back().eol = eol;
        if (!TrimBlanks(lines.back().text).isEmpty())
            lines.push_back({QByteArray(), eol});
    }
    lines.push_back({'[' + groupBytes + ']', eol});
    lines.push_back(newKey);
}

} // namespace

QByteArray IniFile::ToAnsi(const QString& text, bool* ok) {
    QStringEncoder enc(kCodec);
    if (!enc.isValid()) {
        if (ok)
            *ok = false;
        return QByteArray();
    }
    QByteArray out = enc.encode(text);
    if (ok)
        *ok = !enc.hasError();
    return out;
}

QString IniFile::FromAnsi(const QByteArray& bytes) {
    QStringDecoder dec(kCodec);
    if (!dec.isValid())
        return QString::fromLatin1(bytes);
    return dec.decode(bytes);
}

QString IniFile::Read(const QString& group, const QString& key) const {
    const QString g = group.trimmed(), k = key.trimmed();
    if (m_fileName.isEmpty() || k.isEmpty())
        return QString();
    QByteArray bytes;
    if (!ReadFile(QFile::encodeName(m_fileName), bytes))
        return QString();
    bool inGroup = false;
    for (const Line& l : SplitLines(bytes)) {
        if (const auto name = GroupOf(l.text)) {
            if (inGroup)
                return QString(); // the first matching group is the one used
            inGroup = SameName(*name, g);
            continue;
        }
        if (!inGroup)
            continue;
        const qsizetype eq = KeyMatch(l.text, k);
        if (eq >= 0)
            return ValueOf(l.text.mid(eq + 1));
    }
    return QString();
}

bool IniFile::Write(const QString& group, const QString& key, const QString& value) {
    return Write({{group, key, value}});
}

bool IniFile::Write(const QList<Entry>& entries) {
    struct Encoded {
        QString group, key;
        QByteArray groupBytes, keyBytes, valueBytes;
    };
    std::vector<Encoded> encoded;
    for (const Entry& e : entries) {
        const QString g = e.group.trimmed(), k = e.key.trimmed();
        if (m_fileName.isEmpty() || g.isEmpty() || k.isEmpty() || HasLineBreak(e.group) ||
            HasLineBreak(e.key) || HasLineBreak(e.value) || g.contains(QLatin1Char(']')) ||
            k.contains(QLatin1Char('=')) || k.startsWith(QLatin1Char('[')) ||
            k.startsWith(QLatin1Char(';')) || k.startsWith(QLatin1Char('#')))
            return false;
        bool okGroup = false, okKey = false, okValue = false;
        encoded.push_back(
            {g, k, ToAnsi(g, &okGroup), ToAnsi(k, &okKey), ToAnsi(Protected(e.value), &okValue)});
        if (!okGroup || !okKey || !okValue)
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
    if (!ReadFile(path, before, &exists))
        return false;
    struct stat st {};
    if (exists) {
        // A read-only file stays untouched, even though its directory would
        // let it be replaced.
        if (::stat(path.constData(), &st) != 0 || !S_ISREG(st.st_mode) ||
            ::access(path.constData(), W_OK) != 0)
            return false;
    }
    std::vector<Line> lines = SplitLines(before);
    for (const Encoded& e : encoded)
        SetValue(lines, e.group, e.groupBytes, e.key, e.keyBytes, e.valueBytes);
    const QByteArray after = JoinLines(lines);
    if (exists && after == before)
        return true;
    AtomicFile file(target);
    // A new file is for the owner and the group alone, like the database: it
    // holds what the password is derived from.
    if (exists)
        file.keepAttributesOf(st);
    else
        file.setMode(0660);
    return file.write(after, AtomicFile::Existing::Replace);
}
