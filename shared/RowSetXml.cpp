#include "RowSetXml.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QRandomGenerator>
#include <QSet>
#include <QXmlStreamReader>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace RowSetXml {
namespace {

const QLatin1String kNsSchema("uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882");
const QLatin1String kNsRowset("urn:schemas-microsoft-com:rowset");
const QLatin1String kNsDatatype("uuid:C2F41010-65B3-11d1-A29F-00AA00C14882");

// ---------------------------------------------------------------------------
// Writer

// Remembers the first value that cannot be written faithfully. Serialize
// writes a well-formed stand-in and ignores it; Save refuses the row set.
struct Problems {
    QString first;
    void add(const QString& message) {
        if (first.isEmpty())
            first = message;
    }
};

bool isXmlChar(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// Appends `text` as the content of a single-quoted attribute. The specials and
// TAB/CR/LF become character references (raw whitespace would be normalised
// to spaces by any reader); characters XML cannot carry at all become U+FFFD
// and are reported.
void appendAttributeText(QByteArray& out, const QString& text, Problems& problems,
                         const QString& where) {
    QString escaped;
    escaped.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        const char32_t code = ch.unicode();
        if (ch.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            escaped.append(ch);
            escaped.append(text.at(++i));
            continue;
        }
        switch (code) {
        case '\'':
            escaped.append(QLatin1String("&#x27;"));
            break;
        case '&':
            escaped.append(QLatin1String("&#x26;"));
            break;
        case '<':
            escaped.append(QLatin1String("&#x3c;"));
            break;
        case '>':
            escaped.append(QLatin1String("&#x3e;"));
            break;
        case '"':
            escaped.append(QLatin1String("&#x22;"));
            break;
        case '\t':
            escaped.append(QLatin1String("&#x9;"));
            break;
        case '\r':
            escaped.append(QLatin1String("&#xD;"));
            break;
        case '\n':
            escaped.append(QLatin1String("&#xA;"));
            break;
        default:
            if (isXmlChar(code)) {
                escaped.append(ch);
            } else {
                escaped.append(QChar(0xFFFD));
                problems.add(QStringLiteral("%1 holds the character U+%2, which an XML file "
                                            "cannot carry")
                                 .arg(where)
                                 .arg(QString::number(uint(code), 16)
                                          .toUpper()
                                          .rightJustified(4, QLatin1Char('0'))));
            }
        }
    }
    out.append(escaped.toUtf8());
}

void appendAttribute(QByteArray& out, const char* name, const QString& value, Problems& problems,
                     const QString& where) {
    out.append(' ').append(name).append("='");
    appendAttributeText(out, value, problems, where);
    out.append('\'');
}

// A name that may stand as an attribute name as it is. Anything else is
// written under an alias; names starting with "xml" are reserved by XML, and
// "xmlns" would even declare a namespace.
bool isPlainName(const QString& name) {
    if (name.isEmpty() || name.startsWith(QLatin1String("xml"), Qt::CaseInsensitive))
        return false;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name.at(i).unicode();
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
        const bool digit = c >= '0' && c <= '9';
        if (!letter && !(digit && i > 0))
            return false;
    }
    return true;
}

// The attribute names the rows use: the column's own name where possible,
// otherwise "c<zero-based ordinal>". Duplicates (field names compare without
// case) and plain names that would collide with an alias are aliased too.
QStringList attributeNames(const QVector<RowSetColumn>& columns) {
    const int n = int(columns.size());
    QVector<bool> aliased(n, false);
    QSet<QString> taken;
    for (int i = 0; i < n; ++i) {
        const QString real = columns[i].realName();
        const QString key = real.toLower();
        if (isPlainName(real) && !taken.contains(key))
            taken.insert(key);
        else
            aliased[i] = true;
    }
    for (bool changed = true; changed;) {
        changed = false;
        QSet<QString> aliases;
        for (int i = 0; i < n; ++i) {
            if (aliased[i])
                aliases.insert(QStringLiteral("c%1").arg(i));
        }
        for (int i = 0; i < n; ++i) {
            if (!aliased[i] && aliases.contains(columns[i].realName().toLower())) {
                aliased[i] = true;
                changed = true;
            }
        }
    }
    QStringList names;
    for (int i = 0; i < n; ++i)
        names.append(aliased[i] ? QStringLiteral("c%1").arg(i) : columns[i].realName());
    return names;
}

// The s:datatype element as the Jet provider writes each column type.
QByteArray datatypeElement(const RowSetColumn& column) {
    const QByteArray length = QByteArray::number(column.maxLength > 0 ? column.maxLength : 255);
    switch (column.type) {
    case RowSetColumn::Type::Int:
        return "<s:datatype dt:type='int' dt:maxLength='4' rs:precision='10' "
               "rs:fixedlength='true'/>";
    case RowSetColumn::Type::I2:
        return "<s:datatype dt:type='i2' dt:maxLength='2' rs:precision='5' "
               "rs:fixedlength='true'/>";
    case RowSetColumn::Type::String:
        if (column.isLong)
            return "<s:datatype dt:type='string' dt:maxLength='536870910' rs:long='true'/>";
        return "<s:datatype dt:type='string' dt:maxLength='" + length + "'/>";
    case RowSetColumn::Type::DateTime:
        return "<s:datatype dt:type='dateTime' rs:dbtype='variantdate' dt:maxLength='16' "
               "rs:fixedlength='true'/>";
    case RowSetColumn::Type::Binary:
        if (column.isLong)
            return "<s:datatype dt:type='bin.hex' dt:maxLength='1073741823' rs:long='true'/>";
        return "<s:datatype dt:type='bin.hex' dt:maxLength='" + length + "'/>";
    case RowSetColumn::Type::Boolean:
        return "<s:datatype dt:type='boolean' dt:maxLength='2' rs:fixedlength='true'/>";
    case RowSetColumn::Type::Double:
        return "<s:datatype dt:type='float' dt:maxLength='8' rs:precision='15' "
               "rs:fixedlength='true'/>";
    }
    return "<s:datatype dt:type='string' dt:maxLength='" + length + "'/>";
}

void appendColumn(QByteArray& out, const RowSetColumn& column, const QString& attributeName,
                  int number, Problems& problems) {
    const QString where = QStringLiteral("the name of column %1").arg(number);
    out.append("\t\t<s:AttributeType");
    appendAttribute(out, "name", attributeName, problems, where);
    if (attributeName != column.realName())
        appendAttribute(out, "rs:name", column.realName(), problems, where);
    out.append(" rs:number='").append(QByteArray::number(number)).append('\'');
    if (column.nullable && !column.autoIncrement)
        out.append(" rs:nullable='true'");
    out.append(" rs:maydefer='true'");
    out.append(column.autoIncrement ? " rs:writeunknown='true'" : " rs:write='true'");
    if (!column.baseTable.isEmpty())
        appendAttribute(out, "rs:basetable", column.baseTable, problems, where);
    if (!column.baseColumn.isEmpty())
        appendAttribute(out, "rs:basecolumn", column.baseColumn, problems, where);
    if (column.keyColumn)
        out.append(" rs:keycolumn='true'");
    if (column.autoIncrement)
        out.append(" rs:autoincrement='true'");
    out.append(">\r\n\t\t\t")
        .append(datatypeElement(column))
        .append("\r\n\t\t</s:AttributeType>\r\n");
}

// The text of one non-null value, or a null QString when the value is written
// as an absent attribute.
QString valueText(const QVariant& value, RowSetColumn::Type type, Problems& problems,
                  const QString& where) {
    switch (type) {
    case RowSetColumn::Type::Int:
    case RowSetColumn::Type::I2: {
        bool ok = false;
        const qlonglong n = value.toLongLong(&ok);
        const bool i2 = type == RowSetColumn::Type::I2;
        const qlonglong low =
            i2 ? std::numeric_limits<qint16>::min() : std::numeric_limits<qint32>::min();
        const qlonglong high =
            i2 ? std::numeric_limits<qint16>::max() : std::numeric_limits<qint32>::max();
        if (!ok || n < low || n > high) {
            problems.add(QStringLiteral("%1 is not a %2-bit integer").arg(where).arg(i2 ? 16 : 32));
            return {};
        }
        return QString::number(n);
    }
    case RowSetColumn::Type::String: {
        // An empty text is written as '', unlike null.
        const QString text = value.toString();
        return text.isNull() ? QStringLiteral("") : text;
    }
    case RowSetColumn::Type::DateTime: {
        QDateTime t = value.toDateTime();
        if (value.metaType().id() == QMetaType::QDate)
            t = value.toDate().startOfDay();
        if (t.isValid())
            t = t.toLocalTime();
        if (!t.isValid() || t.date().year() < 1 || t.date().year() > 9999) {
            problems.add(QStringLiteral("%1 is not a date and time").arg(where));
            return {};
        }
        return t.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    }
    case RowSetColumn::Type::Binary: {
        // The format writes a zero-length binary as absent, like null.
        const QByteArray bytes = value.toByteArray();
        if (bytes.isEmpty())
            return {};
        return QString::fromLatin1(bytes.toHex());
    }
    case RowSetColumn::Type::Boolean:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case RowSetColumn::Type::Double: {
        bool ok = false;
        const double d = value.toDouble(&ok);
        if (!ok || !std::isfinite(d)) {
            problems.add(QStringLiteral("%1 is not a finite number").arg(where));
            return {};
        }
        return QString::number(d, 'g', QLocale::FloatingPointShortest);
    }
    }
    return {};
}

void appendRow(QByteArray& out, const RowSet& rs, const QStringList& names, int rowIndex,
               const char* indent, Problems& problems) {
    const RowSetRow& row = rs.rows[rowIndex];
    if (row.values.size() > rs.columns.size())
        problems.add(QStringLiteral("row %1 has %2 values for %3 columns")
                         .arg(rowIndex + 1)
                         .arg(row.values.size())
                         .arg(rs.columns.size()));
    out.append(indent).append("<z:row");
    for (int c = 0; c < rs.columns.size() && c < row.values.size(); ++c) {
        const QVariant& value = row.values[c];
        if (!value.isValid() || value.isNull())
            continue;
        const QString where =
            QStringLiteral("row %1, column %2").arg(rowIndex + 1).arg(rs.columns[c].realName());
        const QString text = valueText(value, rs.columns[c].type, problems, where);
        if (text.isNull())
            continue;
        out.append(' ').append(names[c].toUtf8()).append("='");
        appendAttributeText(out, text, problems, where);
        out.append('\'');
    }
    out.append("/>\r\n");
}

QByteArray serialize(const RowSet& rs, Problems& problems) {
    bool anyInsert = false;
    for (const RowSetRow& row : rs.rows)
        anyInsert = anyInsert || row.pendingInsert;

    QByteArray out;
    out.append("<xml xmlns:s='uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882'\r\n"
               "\txmlns:dt='uuid:C2F41010-65B3-11d1-A29F-00AA00C14882'\r\n"
               "\txmlns:rs='urn:schemas-microsoft-com:rowset'\r\n"
               "\txmlns:z='#RowsetSchema'>\r\n"
               "<s:Schema id='RowsetSchema'>\r\n"
               "\t<s:ElementType name='row' content='eltOnly'");
    // A pending insert is a change to be written back, which needs an updatable set.
    if (rs.updatable || anyInsert)
        out.append(" rs:updatable='true'");
    out.append(">\r\n");

    const QStringList names = attributeNames(rs.columns);
    for (int c = 0; c < rs.columns.size(); ++c)
        appendColumn(out, rs.columns[c], names[c], c + 1, problems);
    out.append("\t\t<s:extends type='rs:rowbase'/>\r\n"
               "\t</s:ElementType>\r\n"
               "</s:Schema>\r\n"
               "<rs:data>\r\n");

    for (int r = 0; r < rs.rows.size();) {
        if (!rs.rows[r].pendingInsert) {
            appendRow(out, rs, names, r++, "\t", problems);
            continue;
        }
        out.append("\t<rs:insert>\r\n");
        while (r < rs.rows.size() && rs.rows[r].pendingInsert)
            appendRow(out, rs, names, r++, "\t\t", problems);
        out.append("\t</rs:insert>\r\n");
    }
    out.append("</rs:data>\r\n</xml>");
    return out;
}

// ---------------------------------------------------------------------------
// Files

void setError(QString* error, const QString& message) {
    if (error)
        *error = message;
}

QString systemError(int code) {
    return QString::fromLocal8Bit(std::strerror(code));
}

// A temporary file beside the target, removed again unless it was committed.
class TempFile {
public:
    ~TempFile() {
        if (fd_ >= 0)
            ::close(fd_);
        if (!path_.isEmpty())
            ::unlink(path_.constData());
    }

    bool create(const QString& target, QString* error) {
        const QFileInfo info(target);
        const QByteArray dir = QFile::encodeName(info.absolutePath());
        for (int attempt = 0; attempt < 100; ++attempt) {
            const QByteArray path = dir + '/' + '.' + QFile::encodeName(info.fileName()) + '.' +
                                    QByteArray::number(QRandomGenerator::global()->generate(), 36) +
                                    ".tmp";
            const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd >= 0) {
                fd_ = fd;
                path_ = path;
                return true;
            }
            if (errno != EEXIST) {
                setError(error, QStringLiteral("Cannot write in the folder of %1: %2")
                                    .arg(target, systemError(errno)));
                return false;
            }
        }
        setError(error, QStringLiteral("Cannot create a temporary file beside %1").arg(target));
        return false;
    }

    // Writes everything, flushes it to the disk and closes the file.
    bool write(const QByteArray& bytes, QString* error) {
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(fd_, bytes.constData() + done, size_t(bytes.size() - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return fail(error, n < 0 ? errno : ENOSPC);
            done += n;
        }
        if (::fsync(fd_) != 0)
            return fail(error, errno);
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0)
            return fail(error, errno);
        return true;
    }

    const QByteArray& path() const { return path_; }
    // The file now lives under another name (or was linked there).
    void committed() { path_.clear(); }

private:
    bool fail(QString* error, int code) {
        setError(error, QStringLiteral("Cannot write the file: %1").arg(systemError(code)));
        return false;
    }

    int fd_ = -1;
    QByteArray path_;
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

// Gives the finished temporary file the target's name, never replacing a file
// that exists there: an atomic rename that refuses an existing target, or a
// hard link (which refuses one too) where the file system lacks that rename.
bool moveNoReplace(TempFile& temp, const QString& target, QString* error) {
    const QByteArray to = QFile::encodeName(target);
    if (::renameat2(AT_FDCWD, temp.path().constData(), AT_FDCWD, to.constData(),
                    RENAME_NOREPLACE) == 0) {
        temp.committed();
        return true;
    }
    int code = errno;
    if (code == EINVAL || code == ENOSYS || code == EOPNOTSUPP) {
        if (::link(temp.path().constData(), to.constData()) == 0)
            return true; // the temporary name is removed by TempFile
        code = errno;
    }
    if (code == EEXIST)
        setError(error, QStringLiteral("The file %1 already exists").arg(target));
    else
        setError(error, QStringLiteral("Cannot save %1: %2").arg(target, systemError(code)));
    return false;
}

bool saveFile(const RowSet& rs, const QString& path, bool replace, QString* error) {
    if (path.isEmpty()) {
        setError(error, QStringLiteral("No file name given"));
        return false;
    }
    Problems problems;
    const QByteArray bytes = serialize(rs, problems);
    if (!problems.first.isEmpty()) {
        setError(error, QStringLiteral("Cannot save %1: %2").arg(path, problems.first));
        return false;
    }
    const QByteArray target = QFile::encodeName(path);
    if (!replace && pathTaken(target)) {
        setError(error, QStringLiteral("The file %1 already exists").arg(path));
        return false;
    }
    TempFile temp;
    if (!temp.create(path, error) || !temp.write(bytes, error))
        return false;
    if (replace) {
        if (::rename(temp.path().constData(), target.constData()) != 0) {
            setError(error, QStringLiteral("Cannot save %1: %2").arg(path, systemError(errno)));
            return false;
        }
        temp.committed();
    } else if (!moveNoReplace(temp, path, error)) {
        return false;
    }
    syncFolder(path);
    return true;
}

// ---------------------------------------------------------------------------
// Reader

struct ParsedRow {
    QVector<QVariant> values;
    QVector<bool> present; // an attribute or rs:forcenull named the column
};

class Parser {
public:
    explicit Parser(QXmlStreamReader& xml) : x_(xml) {}

    bool run(RowSet* out, QString* error) {
        const bool ok = document();
        if (!ok) {
            setError(error, error_);
            return false;
        }
        *out = std::move(rs_);
        return true;
    }

private:
    bool fail(const QString& message) {
        if (error_.isEmpty())
            error_ = QStringLiteral("Not a row-set file (line %1): %2")
                         .arg(x_.lineNumber())
                         .arg(message);
        return false;
    }

    // Reads the next token; false on a malformed document or a DTD.
    bool next() {
        x_.readNext();
        if (x_.hasError())
            return fail(x_.errorString());
        if (x_.tokenType() == QXmlStreamReader::DTD)
            return fail(QStringLiteral("document type declarations are not accepted"));
        return true;
    }

    bool isText() const { return x_.tokenType() == QXmlStreamReader::Characters; }

    bool strayText() {
        if (isText() && !x_.isWhitespace())
            return fail(
                QStringLiteral("unexpected text \"%1\"").arg(x_.text().left(40).toString()));
        return true;
    }

    bool is(QLatin1String ns, QLatin1String name) const {
        return x_.namespaceUri() == ns && x_.name() == name;
    }

    // Skips the current element, still refusing malformed content inside it.
    bool skipElement() {
        for (int depth = 1; depth > 0;) {
            if (!next())
                return false;
            if (x_.isStartElement())
                ++depth;
            else if (x_.isEndElement())
                --depth;
        }
        return true;
    }

    bool document() {
        do {
            if (!next())
                return false;
            if (x_.tokenType() == QXmlStreamReader::EndDocument || x_.atEnd())
                return fail(QStringLiteral("the file holds no XML element"));
        } while (!x_.isStartElement());
        if (!x_.namespaceUri().isEmpty() || x_.name() != QLatin1String("xml"))
            return fail(QStringLiteral("the root element is <%1>, not <xml>")
                            .arg(x_.qualifiedName().toString()));
        bool haveSchema = false;
        bool haveData = false;
        for (;;) {
            if (!next() || !strayText())
                return false;
            if (x_.isEndElement())
                break;
            if (!x_.isStartElement())
                continue;
            if (is(kNsSchema, QLatin1String("Schema"))) {
                if (haveSchema)
                    return fail(QStringLiteral("a second schema"));
                if (!schema())
                    return false;
                haveSchema = true;
            } else if (is(kNsRowset, QLatin1String("data"))) {
                if (!haveSchema)
                    return fail(QStringLiteral("rows come before the schema"));
                if (haveData)
                    return fail(QStringLiteral("a second data part"));
                if (!data())
                    return false;
                haveData = true;
            } else if (!skipElement()) {
                return false;
            }
        }
        while (!x_.atEnd()) {
            if (!next())
                return false;
        }
        if (!haveSchema)
            return fail(QStringLiteral("no schema"));
        if (!haveData)
            return fail(QStringLiteral("no data part"));
        return true;
    }

    QString attr(QLatin1String ns, const char* name) const {
        return x_.attributes().value(ns, QLatin1String(name)).toString();
    }
    QString plainAttr(const char* name) const {
        return x_.attributes().value(QLatin1String(name)).toString();
    }
    bool flag(QLatin1String ns, const char* name) const {
        return x_.attributes()
                   .value(ns, QLatin1String(name))
                   .compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
    }

    bool schema() {
        schemaId_ = plainAttr("id");
        if (schemaId_.isEmpty())
            return fail(QStringLiteral("the schema has no id"));
        bool haveType = false;
        for (;;) {
            if (!next() || !strayText())
                return false;
            if (x_.isEndElement())
                break;
            if (!x_.isStartElement())
                continue;
            if (!haveType && is(kNsSchema, QLatin1String("ElementType"))) {
                if (!elementType())
                    return false;
                haveType = true;
            } else if (!skipElement()) {
                return false;
            }
        }
        if (!haveType)
            return fail(QStringLiteral("the schema describes no row"));
        return true;
    }

    bool elementType() {
        rowName_ = plainAttr("name");
        if (rowName_.isEmpty())
            return fail(QStringLiteral("the row type has no name"));
        rs_.updatable = flag(kNsRowset, "updatable");
        QVector<int> numbers;
        for (;;) {
            if (!next() || !strayText())
                return false;
            if (x_.isEndElement())
                break;
            if (!x_.isStartElement())
                continue;
            if (is(kNsSchema, QLatin1String("AttributeType"))) {
                int number = 0;
                if (!attributeType(&number))
                    return false;
                numbers.append(number);
            } else if (!skipElement()) {
                return false;
            }
        }
        return orderColumns(numbers);
    }

    // Columns come in rs:number order when every column carries a number.
    bool orderColumns(const QVector<int>& numbers) {
        const int n = int(rs_.columns.size());
        if (numbers.contains(0))
            return true; // document order
        QVector<RowSetColumn> ordered(n);
        QVector<bool> seen(n, false);
        for (int i = 0; i < n; ++i) {
            const int slot = numbers[i] - 1;
            if (slot >= n || seen[slot])
                return fail(QStringLiteral("the column numbers are not 1 to %1").arg(n));
            seen[slot] = true;
            ordered[slot] = rs_.columns[i];
        }
        rs_.columns = ordered;
        return true;
    }

    static RowSetColumn::Type typeOf(const QString& dtType) {
        const QString t = dtType.toLower();
        if (t == QLatin1String("int") || t == QLatin1String("i4") || t == QLatin1String("ui2") ||
            t == QLatin1String("ui1") || t == QLatin1String("i1"))
            return RowSetColumn::Type::Int;
        if (t == QLatin1String("i2"))
            return RowSetColumn::Type::I2;
        if (t == QLatin1String("datetime"))
            return RowSetColumn::Type::DateTime;
        if (t == QLatin1String("bin.hex"))
            return RowSetColumn::Type::Binary;
        if (t == QLatin1String("boolean"))
            return RowSetColumn::Type::Boolean;
        if (t == QLatin1String("float") || t == QLatin1String("r8") || t == QLatin1String("r4") ||
            t == QLatin1String("number") || t == QLatin1String("fixed.14.4"))
            return RowSetColumn::Type::Double;
        // Untyped columns and types without a closer match keep their text.
        return RowSetColumn::Type::String;
    }

    void readDatatype(RowSetColumn& column, QString& dtType) {
        const QString type = attr(kNsDatatype, "type");
        if (!type.isEmpty())
            dtType = type;
        bool ok = false;
        const qlonglong length = attr(kNsDatatype, "maxLength").toLongLong(&ok);
        if (ok && length > 0)
            column.maxLength = int(qMin<qlonglong>(length, std::numeric_limits<int>::max()));
        if (flag(kNsRowset, "long"))
            column.isLong = true;
    }

    bool attributeType(int* number) {
        RowSetColumn column;
        column.name = plainAttr("name");
        if (column.name.isEmpty())
            return fail(QStringLiteral("a column has no name"));
        if (columnByName_.contains(column.name))
            return fail(QStringLiteral("the column name %1 appears twice").arg(column.name));
        const QString alias = attr(kNsRowset, "name");
        if (alias != column.name)
            column.displayName = alias;
        const QString numberText = attr(kNsRowset, "number");
        *number = 0;
        if (!numberText.isEmpty()) {
            bool ok = false;
            *number = numberText.toInt(&ok);
            if (!ok || *number < 1)
                return fail(
                    QStringLiteral("column %1 has the number '%2'").arg(column.name, numberText));
        }
        column.nullable = flag(kNsRowset, "nullable");
        column.autoIncrement = flag(kNsRowset, "autoincrement");
        column.keyColumn = flag(kNsRowset, "keycolumn");
        column.baseTable = attr(kNsRowset, "basetable");
        column.baseColumn = attr(kNsRowset, "basecolumn");
        QString dtType;
        readDatatype(column, dtType); // the type may stand on the AttributeType itself
        for (;;) {
            if (!next() || !strayText())
                return false;
            if (x_.isEndElement())
                break;
            if (!x_.isStartElement())
                continue;
            if (is(kNsSchema, QLatin1String("datatype")))
                readDatatype(column, dtType);
            if (!skipElement())
                return false;
        }
        column.type = typeOf(dtType);
        columnByName_.insert(column.name, int(rs_.columns.size()));
        rs_.columns.append(column);
        return true;
    }

    bool isRow() const {
        return x_.namespaceUri() == QString(QLatin1Char('#') + schemaId_) && x_.name() == rowName_;
    }

    bool data() {
        // Column positions follow rs:number; map the row attributes to them.
        columnByName_.clear();
        for (int c = 0; c < rs_.columns.size(); ++c)
            columnByName_.insert(rs_.columns[c].name, c);
        for (;;) {
            if (!next() || !strayText())
                return false;
            if (x_.isEndElement())
                return true;
            if (!x_.isStartElement())
                continue;
            if (isRow()) {
                ParsedRow row;
                if (!readRow(&row))
                    return false;
                addRow(row, false);
            } else if (is(kNsRowset, QLatin1String("insert"))) {
                if (!rowBlock(true, true))
                    return false;
            } else if (is(kNsRowset, QLatin1String("delete"))) {
                if (!rowBlock(false, false)) // deleted rows are checked, not shown
                    return false;
            } else if (is(kNsRowset, QLatin1String("update"))) {
                if (!update())
                    return false;
            } else {
                return fail(QStringLiteral("unexpected element <%1> among the rows")
                                .arg(x_.qualifiedName().toString()));
            }
        }
    }

    void addRow(const ParsedRow& parsed, bool pendingInsert) {
        RowSetRow row;
        row.values = parsed.values;
        row.pendingInsert = pendingInsert;
        rs_.rows.append(row);
    }

    bool rowBlock(bool visible, bool pendingInsert) {
        for (;;) {
            if (!next() || !strayText())
                return false;
            if (x_.isEndElement())
                return true;
            if (!x_.isStartElement())
                continue;
            if (!isRow())
                return fail(QStringLiteral("unexpected element <%1> in <%2>")
                                .arg(x_.qualifiedName().toString(),
                                     pendingInsert ? QStringLiteral("rs:insert")
                                                   : QStringLiteral("rs:delete")));
            ParsedRow row;
            if (!readRow(&row))
                return false;
            if (visible)
                addRow(row, pendingInsert);
        }
    }

    // <rs:update>: the original row overlaid by the changed values.
    bool update() {
        ParsedRow original;
        ParsedRow changed;
        bool haveOriginal = false;
        bool haveChanged = false;
        for (;;) {
            if (!next() || !strayText())
                return false;
            if (x_.isEndElement())
                break;
            if (!x_.isStartElement())
                continue;
            if (is(kNsRowset, QLatin1String("original")) && !haveOriginal) {
                if (!originalRow(&original))
                    return false;
                haveOriginal = true;
            } else if (isRow() && !haveChanged) {
                if (!readRow(&changed))
                    return false;
                haveChanged = true;
            } else {
                return fail(QStringLiteral("unexpected element <%1> in <rs:update>")
                                .arg(x_.qualifiedName().toString()));
            }
        }
        if (!haveOriginal && !haveChanged)
            return fail(QStringLiteral("an empty <rs:update>"));
        ParsedRow merged = haveOriginal ? original : changed;
        if (haveOriginal && haveChanged) {
            for (int c = 0; c < merged.values.size(); ++c) {
                if (changed.present[c])
                    merged.values[c] = changed.values[c];
            }
        }
        addRow(merged, false);
        return true;
    }

    bool originalRow(ParsedRow* row) {
        bool haveRow = false;
        for (;;) {
            if (!next() || !strayText())
                return false;
            if (x_.isEndElement())
                break;
            if (!x_.isStartElement())
                continue;
            if (!isRow() || haveRow)
                return fail(QStringLiteral("unexpected element <%1> in <rs:original>")
                                .arg(x_.qualifiedName().toString()));
            if (!readRow(row))
                return false;
            haveRow = true;
        }
        if (!haveRow)
            return fail(QStringLiteral("an empty <rs:original>"));
        return true;
    }

    bool readRow(ParsedRow* row) {
        const int n = int(rs_.columns.size());
        row->values = QVector<QVariant>(n);
        row->present = QVector<bool>(n, false);
        QStringList forceNull;
        const QXmlStreamAttributes attributes = x_.attributes();
        for (const QXmlStreamAttribute& a : attributes) {
            if (a.namespaceUri() == kNsRowset && a.name() == QLatin1String("forcenull")) {
                forceNull =
                    a.value().toString().simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
                continue;
            }
            const int c =
                a.namespaceUri().isEmpty() ? columnByName_.value(a.name().toString(), -1) : -1;
            if (c < 0)
                return fail(QStringLiteral("a row has the attribute %1, which is no column")
                                .arg(a.qualifiedName().toString()));
            if (!convert(a.value(), rs_.columns[c], &row->values[c]))
                return false;
            row->present[c] = true;
        }
        for (const QString& name : forceNull) {
            const int c = columnByName_.value(name, -1);
            if (c < 0)
                return fail(QStringLiteral("rs:forcenull names %1, which is no column").arg(name));
            row->values[c] = QVariant();
            row->present[c] = true;
        }
        for (;;) {
            if (!next() || !strayText())
                return false;
            if (x_.isEndElement())
                return true;
            if (x_.isStartElement())
                return fail(QStringLiteral("a row holds the element <%1>")
                                .arg(x_.qualifiedName().toString()));
        }
    }

    bool badValue(const RowSetColumn& column, QStringView text, const QString& why) {
        QString shown = text.left(40).toString();
        if (text.size() > 40)
            shown += QStringLiteral("...");
        return fail(QStringLiteral("column %1 holds '%2', %3").arg(column.realName(), shown, why));
    }

    bool convert(QStringView text, const RowSetColumn& column, QVariant* value) {
        switch (column.type) {
        case RowSetColumn::Type::Int: {
            bool ok = false;
            const int n = text.toInt(&ok);
            if (!ok)
                return badValue(column, text, QStringLiteral("not a 32-bit integer"));
            *value = n;
            return true;
        }
        case RowSetColumn::Type::I2: {
            bool ok = false;
            const short n = text.toShort(&ok);
            if (!ok)
                return badValue(column, text, QStringLiteral("not a 16-bit integer"));
            *value = QVariant::fromValue<qint16>(n);
            return true;
        }
        case RowSetColumn::Type::String:
            *value = text.toString();
            return true;
        case RowSetColumn::Type::DateTime:
            return dateTime(text, column, value);
        case RowSetColumn::Type::Binary:
            return hex(text, column, value);
        case RowSetColumn::Type::Boolean:
            if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
                text == QLatin1String("1") || text == QLatin1String("-1")) {
                *value = true;
            } else if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0 ||
                       text == QLatin1String("0")) {
                *value = false;
            } else {
                return badValue(column, text, QStringLiteral("not True or False"));
            }
            return true;
        case RowSetColumn::Type::Double: {
            bool ok = false;
            const double d = text.toDouble(&ok);
            if (!ok || !std::isfinite(d))
                return badValue(column, text, QStringLiteral("not a number"));
            *value = d;
            return true;
        }
        }
        return false;
    }

    // YYYY-MM-DDTHH:MM:SS, local time, no fraction and no zone.
    bool dateTime(QStringView text, const RowSetColumn& column, QVariant* value) {
        static const char pattern[] = "dddd-dd-ddTdd:dd:dd";
        bool shape = text.size() == qsizetype(sizeof pattern - 1);
        for (qsizetype i = 0; shape && i < text.size(); ++i) {
            const char16_t c = text[i].unicode();
            shape = pattern[i] == 'd' ? (c >= '0' && c <= '9') : c == char16_t(pattern[i]);
        }
        const auto number = [&](int from, int length) { return text.mid(from, length).toInt(); };
        const QDate date = shape ? QDate(number(0, 4), number(5, 2), number(8, 2)) : QDate();
        const QTime time = shape ? QTime(number(11, 2), number(14, 2), number(17, 2)) : QTime();
        if (!date.isValid() || !time.isValid())
            return badValue(column, text, QStringLiteral("not a date and time"));
        *value = QDateTime(date, time);
        return true;
    }

    // bin.hex: two digits per byte, either case; whitespace may wrap the value.
    bool hex(QStringView text, const RowSetColumn& column, QVariant* value) {
        QByteArray bytes;
        bytes.reserve(text.size() / 2);
        int high = -1;
        for (const QChar ch : text) {
            const char16_t c = ch.unicode();
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n')
                continue;
            int digit = -1;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (c >= 'a' && c <= 'f')
                digit = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                digit = c - 'A' + 10;
            if (digit < 0)
                return badValue(column, text, QStringLiteral("not hexadecimal digits"));
            if (high < 0) {
                high = digit;
            } else {
                bytes.append(char((high << 4) | digit));
                high = -1;
            }
        }
        if (high >= 0)
            return badValue(column, text, QStringLiteral("an odd number of hexadecimal digits"));
        *value = bytes;
        return true;
    }

    QXmlStreamReader& x_;
    RowSet rs_;
    QString schemaId_;
    QString rowName_;
    QHash<QString, int> columnByName_;
    QString error_;
};

} // namespace

QByteArray Serialize(const RowSet& rs) {
    Problems ignored;
    return serialize(rs, ignored);
}

bool Save(const RowSet& rs, const QString& path, QString* error) {
    return saveFile(rs, path, false, error);
}

bool SaveReplacing(const RowSet& rs, const QString& path, QString* error) {
    return saveFile(rs, path, true, error);
}

bool Parse(const QByteArray& bytes, RowSet* out, QString* error) {
    if (bytes.size() > MaxFileSize) {
        setError(error,
                 QStringLiteral("The row-set data is larger than %1 bytes").arg(MaxFileSize));
        return false;
    }
    // The reader sniffs a byte-order mark (UTF-16 from a stream save) and
    // otherwise takes UTF-8, refusing incorrectly encoded bytes.
    QXmlStreamReader xml(bytes);
    return Parser(xml).run(out, error);
}

bool Load(const QString& path, RowSet* out, QString* error) {
    const QFileInfo info(path);
    if (!info.exists()) {
        setError(error, QStringLiteral("The file %1 does not exist").arg(path));
        return false;
    }
    if (!info.isFile()) {
        setError(error, QStringLiteral("%1 is not a file").arg(path));
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setError(error, QStringLiteral("Cannot open %1: %2").arg(path, file.errorString()));
        return false;
    }
    if (file.size() > MaxFileSize) {
        setError(error,
                 QStringLiteral("The file %1 is larger than %2 bytes").arg(path).arg(MaxFileSize));
        return false;
    }
    // Read at most one byte past the limit, in case the file grew meanwhile.
    const QByteArray bytes = file.read(MaxFileSize + 1);
    if (file.error() != QFileDevice::NoError) {
        setError(error, QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
        return false;
    }
    QString message;
    if (!Parse(bytes, out, &message)) {
        setError(error, QStringLiteral("%1: %2").arg(path, message));
        return false;
    }
    return true;
}

} // namespace RowSetXml
