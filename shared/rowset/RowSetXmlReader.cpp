#include "shared/rowset/RowSetXmlReader.h"

#include <QHash>
#include <QXmlStreamReader>

#include <cmath>
#include <limits>

namespace {

const QLatin1String kNsSchema("uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882");
const QLatin1String kNsRowset("urn:schemas-microsoft-com:rowset");
const QLatin1String kNsDatatype("uuid:C2F41010-65B3-11d1-A29F-00AA00C14882");

void setError(Error* error, const QString& message) {
    Error(message).Report(error);
}

struct ParsedRow {
    QVector<QVariant> values;
    QVector<bool> present; // an attribute or rs:forcenull named the column
};

class Parser {
public:
    explicit Parser(QXmlStreamReader& xml) : x_(xml) {}

    bool run(RowSet* out, Error* error) {
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
        if (!eachChild([&] {
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
                return true;
            }))
            return false;
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

    // Reads up to the end tag of the current element, calling `child` at the
    // start of each child element; false as soon as reading or `child` fails.
    template <typename Child> bool eachChild(Child child) {
        for (;;) {
            if (!next() || !strayText())
                return false;
            if (x_.isEndElement())
                return true;
            if (x_.isStartElement() && !child())
                return false;
        }
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
        if (!eachChild([&] {
                if (!haveType && is(kNsSchema, QLatin1String("ElementType"))) {
                    if (!elementType())
                        return false;
                    haveType = true;
                } else if (!skipElement()) {
                    return false;
                }
                return true;
            }))
            return false;
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
        if (!eachChild([&] {
                if (is(kNsSchema, QLatin1String("AttributeType"))) {
                    int number = 0;
                    if (!attributeType(&number))
                        return false;
                    numbers.append(number);
                } else if (!skipElement()) {
                    return false;
                }
                return true;
            }))
            return false;
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

    // A second type that differs from the first makes the column ambiguous.
    bool readDatatype(RowSetColumn& column, QString& dtType) {
        const QString type = attr(kNsDatatype, "type");
        if (!type.isEmpty() && !dtType.isEmpty() && type.compare(dtType, Qt::CaseInsensitive) != 0)
            return fail(QStringLiteral("column %1 is declared both %2 and %3")
                            .arg(column.name, dtType, type));
        if (!type.isEmpty())
            dtType = type;
        bool ok = false;
        const qlonglong length = attr(kNsDatatype, "maxLength").toLongLong(&ok);
        if (ok && length > 0)
            column.maxLength = int(qMin<qlonglong>(length, std::numeric_limits<int>::max()));
        if (flag(kNsRowset, "long"))
            column.isLong = true;
        return true;
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
        if (!readDatatype(column, dtType)) // the type may stand on the AttributeType itself
            return false;
        if (!eachChild([&] {
                if (is(kNsSchema, QLatin1String("datatype")) && !readDatatype(column, dtType))
                    return false;
                if (!skipElement())
                    return false;
                return true;
            }))
            return false;
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
        return eachChild([&] {
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
            return true;
        });
    }

    void addRow(const ParsedRow& parsed, bool pendingInsert) {
        RowSetRow row;
        row.values = parsed.values;
        row.pendingInsert = pendingInsert;
        rs_.rows.append(row);
    }

    bool rowBlock(bool visible, bool pendingInsert) {
        return eachChild([&] {
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
            return true;
        });
    }

    // <rs:update>: the original row overlaid by the changed values.
    bool update() {
        ParsedRow original;
        ParsedRow changed;
        bool haveOriginal = false;
        bool haveChanged = false;
        if (!eachChild([&] {
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
                return true;
            }))
            return false;
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
        if (!eachChild([&] {
                if (!isRow() || haveRow)
                    return fail(QStringLiteral("unexpected element <%1> in <rs:original>")
                                    .arg(x_.qualifiedName().toString()));
                if (!readRow(row))
                    return false;
                haveRow = true;
                return true;
            }))
            return false;
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
        return eachChild([&] {
            return fail(
                QStringLiteral("a row holds the element <%1>").arg(x_.qualifiedName().toString()));
        });
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

// Offset of the first byte that is not part of a valid UTF-8 sequence
// (overlong forms, surrogates and values above U+10FFFF included), else -1.
qsizetype firstBadUtf8(const QByteArray& bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int length = 0;
        unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            low = c == 0xE0 ? 0xA0 : 0x80;
            high = c == 0xED ? 0x9F : 0xBF;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            low = c == 0xF0 ? 0x90 : 0x80;
            high = c == 0xF4 ? 0x8F : 0xBF;
        } else {
            return i;
        }
        if (i + length > n)
            return i;
        if (p[i + 1] < low || p[i + 1] > high)
            return i;
        for (int k = 2; k < length; ++k)
            if (p[i + k] < 0x80 || p[i + k] > 0xBF)
                return i;
        i += length;
    }
    return -1;
}

// Whether the bytes are to be read as UTF-8: no UTF-16 or UTF-32 byte-order
// mark and no XML declaration naming another encoding.
bool isUtf8Document(const QByteArray& bytes) {
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF") ||
        bytes.startsWith(QByteArray("\0\0\xFE\xFF", 4)))
        return false;
    const QByteArray start = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3, 200) : bytes.left(200);
    if (!start.startsWith("<?xml"))
        return true;
    const QByteArray declaration = start.left(start.indexOf("?>")).toLower();
    const qsizetype at = declaration.indexOf("encoding");
    if (at < 0)
        return true;
    const QByteArray rest = declaration.mid(at);
    return rest.contains("utf-8") || rest.contains("utf8");
}

} // namespace

bool RowSetXmlReader::Parse(const QByteArray& bytes, RowSet* out, Error* error) {
    // The reader sniffs a byte-order mark (UTF-16 from a stream save) and
    // otherwise takes UTF-8, refusing incorrectly encoded bytes. The XML
    // reader decodes ahead of its position and so would place every bad byte
    // on line 1: such bytes are found here, with their true line.
    if (isUtf8Document(bytes)) {
        const qsizetype bad = firstBadUtf8(bytes);
        if (bad >= 0) {
            const qsizetype line = QByteArrayView(bytes.constData(), bad).count('\n') + 1;
            setError(error, QStringLiteral("Not a row-set file (line %1): the byte 0x%2 is not "
                                           "valid UTF-8 text")
                                .arg(line)
                                .arg(uchar(bytes[bad]), 2, 16, QLatin1Char('0')));
            return false;
        }
    }
    QXmlStreamReader xml(bytes);
    return Parser(xml).run(out, error);
}
