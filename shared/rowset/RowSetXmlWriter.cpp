#include "shared/rowset/RowSetXmlWriter.h"

#include <QLocale>
#include <QSet>

#include <cmath>
#include <limits>

namespace {

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

} // namespace

QByteArray RowSetXmlWriter::Serialize(const RowSet& rs, Error* firstProblem) {
    Problems problems;
    QByteArray bytes = serialize(rs, problems);
    if (firstProblem)
        *firstProblem = Error(problems.first);
    return bytes;
}
