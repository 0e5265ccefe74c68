#include "shared/config/IniDocument.h"

#include "shared/config/IniFile.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace {

constexpr QByteArrayView kUtf8Mark("\xEF\xBB\xBF");

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// The characters QString::trimmed removes, among the ASCII ones.
bool IsAsciiSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool IsAscii(QByteArrayView b) {
    return std::all_of(b.begin(), b.end(), [](char c) { return static_cast<uchar>(c) < 0x80; });
}

QByteArrayView TrimBlanks(QByteArrayView b) {
    qsizetype from = 0, to = b.size();
    while (from < to && IsBlank(b[from]))
        ++from;
    while (to > from && IsBlank(b[to - 1]))
        --to;
    return b.sliced(from, to - from);
}

bool SameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Decodes the names of one file: ASCII directly (it is the same in both
// encodings), anything else with one converter reset for each piece, so
// every piece decodes as it would alone.
class NameDecoder {
public:
    explicit NameDecoder(IniDocument::Encoding encoding) : m_encoding(encoding) {}
    QString operator()(QByteArrayView bytes) {
        if (IsAscii(bytes))
            return QString::fromLatin1(bytes);
        if (m_encoding == IniDocument::Encoding::Utf8)
            return QString::fromUtf8(bytes);
        if (!m_gbk)
            m_gbk.emplace("GBK");
        if (!m_gbk->isValid())
            return QString::fromLatin1(bytes);
        m_gbk->resetState();
        return m_gbk->decode(bytes);
    }

private:
    IniDocument::Encoding m_encoding;
    std::optional<QStringDecoder> m_gbk;
};

// Value as the private-profile rules read it: blanks and one pair of
// enclosing quotes removed, then cut to MaxValueBytes on a character boundary.
QString ValueOf(QByteArrayView raw, IniDocument::Encoding encoding) {
    QByteArrayView v = TrimBlanks(raw);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.sliced(1, v.size() - 2);
    qsizetype cut = 0;
    if (encoding == IniDocument::Encoding::Utf8) {
        cut = std::min<qsizetype>(v.size(), IniFile::MaxValueBytes);
        while (cut > 0 && cut < v.size() && (static_cast<uchar>(v[cut]) & 0xC0) == 0x80)
            --cut;
    } else {
        while (cut < v.size()) {
            const auto c = static_cast<uchar>(v[cut]);
            const qsizetype len = (c >= 0x81 && c <= 0xFE && cut + 1 < v.size()) ? 2 : 1;
            if (cut + len > IniFile::MaxValueBytes)
                break;
            cut += len;
        }
    }
    return IniDocument::Decode(encoding, v.first(cut).toByteArray());
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

} // namespace

IniDocument::IniDocument(const QByteArray& bytes) : m_bytes(bytes) {
    parse();
}

QByteArray IniDocument::Encode(Encoding encoding, const QString& text, bool* ok) {
    QStringEncoder enc =
        encoding == Encoding::Utf8 ? QStringEncoder(QStringConverter::Utf8) : QStringEncoder("GBK");
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

QString IniDocument::Decode(Encoding encoding, const QByteArray& bytes) {
    return NameDecoder(encoding)(bytes);
}

void IniDocument::parse() {
    m_lines.clear();
    m_groups.clear();
    qsizetype pos = 0;
    m_encoding = m_bytes.startsWith(kUtf8Mark) ? Encoding::Utf8 : Encoding::Gbk;
    if (m_encoding == Encoding::Utf8)
        pos = kUtf8Mark.size();
    NameDecoder decode(m_encoding);
    const qsizetype size = m_bytes.size();
    while (pos < size) {
        Line l;
        l.start = pos;
        const qsizetype nl = m_bytes.indexOf('\n', pos);
        // A line ends at '\n' or "\r\n"; the file's last line also at a lone
        // '\r', so that completing its line ending leaves its text as it was.
        l.next = nl < 0 ? size : nl + 1;
        const qsizetype cut = nl < 0 ? size : nl;
        l.end = cut > pos && m_bytes[cut - 1] == '\r' ? cut - 1 : cut;
        pos = l.next;
        const QByteArrayView t(m_bytes.constData() + l.start, l.end - l.start);
        // A group line is one whose text, trimmed, starts with '['. Leading
        // ASCII decides alone; a non-ASCII character may be a blank.
        qsizetype i = 0;
        while (i < t.size() && IsAsciiSpace(t[i]))
            ++i;
        if (i < t.size() && (t[i] == '[' || static_cast<uchar>(t[i]) >= 0x80)) {
            const QString s = decode(t).trimmed();
            if (s.startsWith(QLatin1Char('['))) {
                qsizetype close = s.indexOf(QLatin1Char(']'), 1);
                if (close < 0)
                    close = s.size();
                l.kind = Kind::Group;
                l.name = s.mid(1, close - 1).trimmed();
                m_groups.push_back(m_lines.size());
                m_lines.push_back(std::move(l));
                continue;
            }
        }
        const QByteArrayView trimmed = TrimBlanks(t);
        if (trimmed.isEmpty() || trimmed[0] == ';' || trimmed[0] == '#') {
            m_lines.push_back(std::move(l));
            continue;
        }
        l.kind = Kind::Text;
        // '=' never occurs inside a GBK or UTF-8 multi-byte character.
        l.eq = t.indexOf('=');
        if (l.eq >= 0) {
            l.kind = Kind::Key;
            l.name = decode(t.first(l.eq)).trimmed();
        }
        m_lines.push_back(std::move(l));
    }
}

std::optional<std::pair<size_t, size_t>> IniDocument::findGroup(const QString& group) const {
    for (size_t g = 0; g < m_groups.size(); ++g)
        if (SameName(m_lines[m_groups[g]].name, group))
            return std::make_pair(m_groups[g],
                                  g + 1 < m_groups.size() ? m_groups[g + 1] : m_lines.size());
    return std::nullopt;
}

std::optional<QString> IniDocument::Value(const QString& group, const QString& key) const {
    const auto range = findGroup(group);
    if (!range)
        return std::nullopt;
    for (size_t i = range->first + 1; i < range->second; ++i) {
        const Line& l = m_lines[i];
        if (l.kind == Kind::Key && SameName(l.name, key))
            return ValueOf(
                QByteArrayView(m_bytes).sliced(l.start + l.eq + 1, l.end - l.start - l.eq - 1),
                m_encoding);
    }
    return std::nullopt;
}

QByteArray IniDocument::lineEnding() const {
    for (const Line& l : m_lines)
        if (l.next > l.end && m_bytes[l.next - 1] == '\n')
            return m_bytes.mid(l.end, l.next - l.end);
    return QByteArrayLiteral("\r\n");
}

qsizetype IniDocument::terminate(const Line& l, const QByteArray& eol) {
    if (l.next == l.end) {
        m_bytes.insert(l.end, eol);
        return l.end + eol.size();
    }
    if (m_bytes[l.next - 1] == '\r') {
        m_bytes.insert(l.next, '\n');
        return l.next + 1;
    }
    return l.next;
}

bool IniDocument::Set(const QString& group, const QString& key, const QString& value) {
    bool okGroup = false, okKey = false, okValue = false;
    const QByteArray groupBytes = Encode(m_encoding, group, &okGroup);
    const QByteArray keyBytes = Encode(m_encoding, key, &okKey);
    const QByteArray valueBytes = Encode(m_encoding, Protected(value), &okValue);
    if (!okGroup || !okKey || !okValue)
        return false;
    const QByteArray eol = lineEnding();
    const QByteArray newKey = keyBytes + '=' + valueBytes;
    if (const auto range = findGroup(group)) {
        size_t after = range->first;
        for (size_t i = range->first + 1; i < range->second; ++i) {
            const Line& l = m_lines[i];
            if (l.kind == Kind::Key && SameName(l.name, key)) {
                // Keep the key's spelling and the blanks around '=' as they were.
                qsizetype from = l.start + l.eq + 1;
                while (from < l.end && IsBlank(m_bytes[from]))
                    ++from;
                m_bytes = m_bytes.left(from) + valueBytes + m_bytes.mid(l.end);
                parse();
                return true;
            }
            if (l.kind != Kind::Other)
                after = i;
        }
        // A new key goes after the group's last key, before its comments; an
        // unterminated last line is terminated first.
        m_bytes.insert(terminate(m_lines[after], eol), newKey + eol);
    } else {
        if (!m_lines.empty()) {
            const Line& last = m_lines.back();
            const bool blank =
                TrimBlanks(QByteArrayView(m_bytes).sliced(last.start, last.end - last.start))
                    .isEmpty();
            terminate(last, eol);
            if (!blank)
                m_bytes += eol;
        }
        m_bytes += '[' + groupBytes + ']' + eol + newKey + eol;
    }
    parse();
    return true;
}
